#pragma once

#include <cstdint>

namespace trivenor {

/// Cuts the fraction off (toward zero) through a 64-bit integer and keeps its low 32 bits, so
/// large values wrap. NaN, infinities and values outside the 64-bit range give what the x86
/// conversion gives, 0x8000000000000000, whose low 32 bits are 0.
inline std::int32_t TruncateValue(double value) {
  constexpr double kTwoTo63 = 9223372036854775808.0;
  if (!(value >= -kTwoTo63 && value < kTwoTo63)) {
    return 0;
  }
  const auto wide = static_cast<std::int64_t>(value);
  return static_cast<std::int32_t>(static_cast<std::uint32_t>(static_cast<std::uint64_t>(wide)));
}

}  // namespace trivenor
