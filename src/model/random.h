#pragma once

#include <cstdint>

namespace trivenor {

/// The process-wide random generator of the random components: a 15-bit linear congruential
/// rule (state * 214013 + 2531011 modulo 2^32, result bits 16 to 30), numbers 0 to 32767.
int NextRandom();
void SetRandomState(std::uint32_t state);
/// Every new circuit restarts the generator from the time of day in whole seconds.
void RestartRandomFromClock();

}  // namespace trivenor
