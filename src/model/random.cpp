#include "model/random.h"

#include <ctime>

namespace trivenor {

namespace {
std::uint32_t randomState = 1;
}

int NextRandom() {
  randomState = randomState * 214013u + 2531011u;
  return static_cast<int>((randomState >> 16) & 0x7FFFu);
}

void SetRandomState(std::uint32_t state) {
  randomState = state;
}

void RestartRandomFromClock() {
  SetRandomState(static_cast<std::uint32_t>(std::time(nullptr)));
}

}  // namespace trivenor
