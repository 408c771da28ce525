#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace trivenor {

/// How many dynamic copies of the next level each level of a fan-out set places.
inline constexpr int kFanOut = 4;

/// The files of a set that places itself over and over: level k places the file of level k + 1
/// kFanOut times as dynamic sub-circuits in a chain, and the last level, `depth`, adds 1 to its
/// input. The stored copies are mere terminals, so the files stay tiny while the circuit they
/// make grows as kFanOut to the power `depth`. `pathOf` names the file of a level; the result
/// holds the bytes of the files, level 0 first.
std::vector<std::vector<std::uint8_t>> FanOutFiles(int depth,
                                                   const std::function<std::string(int)>& pathOf);

}  // namespace trivenor
