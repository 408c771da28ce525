#include "model/random.h"

#include <ctime>

namespace trivenor {

int RandomGenerator::Next() {
  state_ = state_ * 214013u + 2531011u;
  return static_cast<int>((state_ >> 16) & 0x7FFFu);
}

void RandomGenerator::RestartFromClock() {
  SetState(static_cast<std::uint32_t>(std::time(nullptr)));
}

RandomGenerator& ProcessRandom() {
  static RandomGenerator generator;
  return generator;
}

}  // namespace trivenor
