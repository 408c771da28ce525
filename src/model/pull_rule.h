#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace trivenor {

/// `valid` and not `fresh`, read as one 16-bit word: the two flags are neighbours in every
/// state, and one compare instead of two loads made the pass measurably faster.
template <class State>
inline bool ValidAndSettled(const State& port) {
  static_assert(offsetof(State, fresh) == offsetof(State, valid) + 1);
  struct Flags {
    bool valid;
    bool fresh;
  };
  constexpr auto kValidAndSettled = std::bit_cast<std::uint16_t>(Flags{true, false});
  std::uint16_t flags;
  std::memcpy(&flags, reinterpret_cast<const unsigned char*>(&port) + offsetof(State, valid),
              sizeof flags);
  return flags == kValidAndSettled;
}

/// How a port takes its value from its source, written once for every kind of state that has
/// the fields `value`, `valid`, `fresh` and `unchanged`: the ports of the object model and the
/// compiled plan's flat states. This is the case of a port with a source; PullRule below is
/// the whole rule. Invalidity travels along wires while the last good value stays in the port.
template <class State>
inline void PullThroughWire(State& port, const State& source) {
  if (source.valid) [[likely]] {
    // An equal value on a valid port that is not fresh only sets `unchanged`, and is kept as it
    // is (+0 stays +0 beside a -0); otherwise the value is copied. Branching on that test cost
    // nothing measurable even where it goes either way from port to port (the mixed benchmark)
    // and spares a port at rest every store but one.
    if (ValidAndSettled(port) && port.value == source.value) {
      port.unchanged = true;
    } else {
      port.value = source.value;
      port.valid = true;
      port.fresh = false;
      port.unchanged = false;
    }
    return;
  }
  port.valid = false;
  port.unchanged = true;
}

/// Updates one port: `typedInput` marks a circuit input, whose value is the user's; an
/// unconnected port (`source` null) reads as a valid 0.
template <class State>
inline void PullRule(State& port, const State* source, bool typedInput) {
  if (typedInput) {
    port.valid = true;
    port.unchanged = false;
  } else if (source == nullptr) {
    port.valid = true;
    port.value = 0.0f;
    if (port.fresh) {
      port.fresh = false;
      port.unchanged = false;
    } else {
      port.unchanged = true;
    }
  } else {
    PullThroughWire(port, *source);
  }
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
