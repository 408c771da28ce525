#pragma once

#include <algorithm>
#include <bit>
#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

#include "model/port.h"

namespace trivenor {

/// The reference numbers one circuit record gives its ports while it is written, found by the
/// port's address: a wire is written as the number of the port it comes from. Open addressing
/// in one flat array, because saving a large circuit looks up two sources a part and undo saves
/// after every edit.
class PortNumbering {
 public:
  /// Room for `ports` numbers without growing on the way.
  void Reserve(std::size_t ports) {
    if (2 * ports > slots_.size()) {
      Rehash(std::bit_ceil(2 * ports));
    }
  }

  void Assign(const Port& port, std::int32_t number) {
    if (2 * (count_ + 1) > slots_.size()) {
      Rehash(std::max<std::size_t>(64, slots_.size() * 2));
    }
    Slot& slot = slots_[IndexOf(&port)];
    count_ += slot.port == nullptr ? 1 : 0;
    slot = {&port, number};
  }

  /// The number given to `port`, 0 (no source) for a port this record did not number.
  std::int32_t Find(const Port* port) const {
    if (slots_.empty() || port == nullptr) {
      return 0;
    }
    return slots_[IndexOf(port)].number;
  }

 private:
  struct Slot {
    const Port* port = nullptr;
    std::int32_t number = 0;
  };

  /// Where `port` is, or the free slot it would take.
  std::size_t IndexOf(const Port* port) const {
    // Ports are pool blocks of 32 bytes: the low bits say nothing, the product spreads the rest.
    std::uint64_t hash = (reinterpret_cast<std::uintptr_t>(port) >> 5) * 0x9E3779B97F4A7C15ull;
    hash ^= hash >> 32;
    const std::size_t mask = slots_.size() - 1;
    auto i = static_cast<std::size_t>(hash) & mask;
    while (slots_[i].port != nullptr && slots_[i].port != port) {
      i = (i + 1) & mask;
    }
    return i;
  }

  void Rehash(std::size_t size) {
    std::vector<Slot> old = std::move(slots_);
    slots_.assign(size, Slot{});
    for (const Slot& slot : old) {
      if (slot.port != nullptr) {
        slots_[IndexOf(slot.port)] = slot;
      }
    }
  }

  std::vector<Slot> slots_;
  std::size_t count_ = 0;
};

}  // namespace trivenor
