#pragma once

#include <cstdint>

namespace trivenor {

/// The numbers the random kinds draw: a 15-bit linear congruential rule (state * 214013 +
/// 2531011 modulo 2^32, result bits 16 to 30), numbers 0 to 32767.
class RandomGenerator {
 public:
  int Next();
  void SetState(std::uint32_t state) { state_ = state; }
  /// Restarts from the time of day in whole seconds.
  void RestartFromClock();

 private:
  std::uint32_t state_ = 1;
};

/// The process's one generator: the random kinds draw from it and every new circuit restarts it
/// from the clock. Whatever evaluates circuits draws from this one, so that all of it follows one
/// sequence; tests set its state to know that sequence.
RandomGenerator& ProcessRandom();

}  // namespace trivenor
