#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "model/port.h"

namespace trivenor {

/// The index of each port in a list of ports, found by the port's address (the compiled plan's
/// states, the numbers a record gives its ports while it is saved): open addressing in a table of
/// indices at most two thirds full, so a lookup reads about two cache lines (a sorted list of
/// addresses took a dozen).
class PortIndex {
 public:
  explicit PortIndex(const std::vector<Port*>& ports) : ports_(ports) {
    while ((std::size_t{1} << bits_) < ports.size() + ports.size() / 2) {
      ++bits_;
    }
    slots_.assign(std::size_t{1} << bits_, -1);
    for (std::size_t index = 0; index < ports.size(); ++index) {
      std::size_t slot = Home(ports[index]);
      while (slots_[slot] >= 0) {
        slot = (slot + 1) & (slots_.size() - 1);
      }
      slots_[slot] = static_cast<std::int32_t>(index);
    }
  }

  /// The index of `port`, or -1 for a port outside the plan.
  std::int32_t Find(const Port* port) const {
    for (std::size_t slot = Home(port);; slot = (slot + 1) & (slots_.size() - 1)) {
      const std::int32_t index = slots_[slot];
      if (index < 0 || ports_[static_cast<std::size_t>(index)] == port) {
        return index;
      }
    }
  }

 private:
  std::size_t Home(const Port* port) const {
    // Fibonacci hashing: the top bits of the product mix every bit of the address.
    const auto address = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(port));
    return static_cast<std::size_t>((address * 0x9E3779B97F4A7C15u) >> (64 - bits_));
  }

  const std::vector<Port*>& ports_;
  unsigned bits_ = 4;
  std::vector<std::int32_t> slots_;
};

}  // namespace trivenor
