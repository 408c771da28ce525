#pragma once

namespace trivenor {

/// The Windows virtual-key codes the editing rules are written in, for the keys that carry no
/// character code of their own. Digits (48-57) and capital letters (65-90) are their ASCII codes.
namespace vk {
inline constexpr int kBackspace = 8;
inline constexpr int kEnter = 13;
inline constexpr int kEscape = 27;
inline constexpr int kDelete = 46;
inline constexpr int kKeypadZero = 96;
inline constexpr int kKeypadMultiply = 106;
inline constexpr int kKeypadPlus = 107;
inline constexpr int kKeypadMinus = 109;
inline constexpr int kKeypadPoint = 110;
inline constexpr int kKeypadDivide = 111;
inline constexpr int kPlus = 187;
inline constexpr int kComma = 188;
inline constexpr int kMinus = 189;
inline constexpr int kFullStop = 190;
}  // namespace vk

}  // namespace trivenor
