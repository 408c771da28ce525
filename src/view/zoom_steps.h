#pragma once

namespace trivenor::zoom {

/// The zoom factors, in percent, that "Vergrößern" and "Verkleinern" step through; fitting the
/// window may choose any factor between the first and the last.
inline constexpr int kSteps[] = {50, 67, 80, 100, 125, 150, 200, 300, 400};
inline constexpr int kMinimum = 50;
inline constexpr int kMaximum = 400;
inline constexpr int kOriginal = 100;

/// `percent` brought into kMinimum..kMaximum.
int Clamped(int percent);
/// The first step above `percent`, or kMaximum.
int Larger(int percent);
/// The last step below `percent`, or kMinimum.
int Smaller(int percent);

}  // namespace trivenor::zoom
