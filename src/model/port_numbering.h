#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "model/port.h"
#include "model/port_index.h"

namespace trivenor {

/// The reference numbers one circuit record gives its ports while it is written: a wire is
/// written as the number of the port it comes from, found by that port's address.
class PortNumbering {
 public:
  PortNumbering() = default;
  PortNumbering(const PortNumbering&) = delete;  // the index refers to the list
  PortNumbering& operator=(const PortNumbering&) = delete;

  /// Gives `port` the number `number` (from 1).
  void Assign(Port& port, std::int32_t number) {
    const auto at = static_cast<std::size_t>(number - 1);
    if (at >= ports_.size()) {
      ports_.resize(at + 1, nullptr);
    }
    ports_[at] = &port;
  }
  /// Makes the numbers given so far findable; after the last Assign.
  void Seal() { index_.emplace(ports_); }

  /// The number given to `port`, 0 (no source) for a port this record did not number, and for
  /// every port before Seal().
  std::int32_t Find(const Port* port) const {
    return port != nullptr && index_ ? index_->Find(port) + 1 : 0;
  }

 private:
  std::vector<Port*> ports_;
  std::optional<PortIndex> index_;
};

}  // namespace trivenor
