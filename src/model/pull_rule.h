#pragma once

#include <bit>
#include <cstdint>

namespace trivenor {

/// How a port takes its value from its source, written once for every kind of state that has
/// the fields `value`, `valid`, `fresh` and `unchanged`: the ports of the object model and the
/// compiled plan's flat states. `typedInput` marks a circuit input, whose value is the user's.
/// An unconnected port (`source` null) reads as a valid 0; invalidity travels along wires while
/// the last good value stays in the port.
template <class State>
inline void PullRule(State& port, const State* source, bool typedInput) {
  if (typedInput) {
    port.valid = true;
    port.unchanged = false;
    return;
  }
  if (source == nullptr) {
    port.valid = true;
    port.value = 0.0f;
    if (port.fresh) {
      port.fresh = false;
      port.unchanged = false;
    } else {
      port.unchanged = true;
    }
    return;
  }
  if (source->valid) {
    if (port.value == source->value && port.valid && !port.fresh) {
      port.unchanged = true;
    } else {
      port.valid = true;
      port.value = source->value;
      port.fresh = false;
      port.unchanged = false;
    }
    return;
  }
  port.valid = false;
  port.unchanged = true;
}

/// PullRule, telling whether anything a later pull reads has changed. The value is compared bit
/// for bit: a NaN copied again leaves the port as it was.
template <class State>
inline bool PullRuleChanges(State& port, const State* source, bool typedInput) {
  const auto bitsBefore = std::bit_cast<std::uint32_t>(port.value);
  const bool validBefore = port.valid;
  const bool freshBefore = port.fresh;
  const bool unchangedBefore = port.unchanged;
  PullRule(port, source, typedInput);
  return std::bit_cast<std::uint32_t>(port.value) != bitsBefore || port.valid != validBefore ||
         port.fresh != freshBefore || port.unchanged != unchangedBefore;
}

}  // namespace trivenor
