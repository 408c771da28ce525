#pragma once

namespace trivenor {

/// Kind codes: the palettes choose by them, the editor constructs by them and circuit files
/// store them. Codes up to 99 are two-input operators and 100 to 199 one-input functions, also
/// for codes missing from the lists below; from 200 on only the named codes exist. What each
/// kind is, is registered in "model/component_registry.h".
namespace kind {
inline constexpr int Plus = 1;
inline constexpr int Minus = 2;
inline constexpr int Times = 3;
inline constexpr int Divide = 4;
inline constexpr int Power = 5;
inline constexpr int And = 6;
inline constexpr int Or = 7;
inline constexpr int Equal = 8;
inline constexpr int Less = 9;
inline constexpr int Greater = 10;
inline constexpr int IntegerDivide = 11;
inline constexpr int Modulo = 12;
inline constexpr int RandomInteger = 13;

inline constexpr int Not = 101;
inline constexpr int Floor = 102;
inline constexpr int Ceiling = 103;
inline constexpr int Log = 104;
inline constexpr int SquareRoot = 105;
inline constexpr int Sine = 106;
inline constexpr int Cosine = 107;
inline constexpr int Absolute = 108;
inline constexpr int Tangent = 109;
inline constexpr int Truncate = 110;
inline constexpr int Sign = 111;
inline constexpr int RandomFraction = 112;
inline constexpr int Exp = 113;
inline constexpr int ArcTangent = 114;
inline constexpr int Log10 = 115;

inline constexpr int DelayLine = 201;
inline constexpr int Constant = 202;
inline constexpr int OutputDisplay = 206;
inline constexpr int HazardFilter = 208;
inline constexpr int GraphPlot = 209;
inline constexpr int SubCircuit = 300;
}  // namespace kind

}  // namespace trivenor
