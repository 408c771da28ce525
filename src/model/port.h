#pragma once

#include <cstdint>
#include <memory>

#include "model/object_pool.h"
#include "model/pull_rule.h"

namespace trivenor {

/// A colour as 0x00BBGGRR, the form circuit files store.
using Colour = std::uint32_t;

/// What a port is for. The codes are stored in circuit files; there is no code 5.
enum class PortRole : std::int8_t {
  ComponentInput = 0,
  ComponentOutput = 1,
  SubCircuitInput = 2,
  SubCircuitOutput = 3,
  CircuitInput = 4,
  JunctionPoint = 6,
  CircuitOutput = 7,
};

/// One connection point. A wire is not an object: the consuming port points at the port it
/// takes its value from. That pointer never owns, and wires may form cycles.
///
/// A large circuit holds three ports a part, so a port is kept to 32 bytes: the row and the
/// wire's thickness share a word (the reader admits no row beyond 100000 and no thickness
/// beyond 1000), and the rare number a file stores where no writer assigns one lives outside.
struct Port : PoolAllocated<Port> {
  Port() = default;
  explicit Port(PortRole portRole, int portRow = 0) : role(portRole), row(portRow) {}
  Port(const Port&) = delete;
  Port& operator=(const Port&) = delete;
  ~Port() {
    if (keepsNumber) {
      StoreKeptNumber(0);
    }
  }

  /// The reference number read at a port that the writer leaves unnumbered (a component's
  /// input, an output terminal of a document's circuit): no reader uses it, but a save writes
  /// it back, so a file comes back byte for byte. 0 where nothing was read.
  std::int32_t KeptNumber() const { return keepsNumber ? LookUpKeptNumber() : 0; }
  void SetKeptNumber(std::int32_t number) {
    if (keepsNumber || number != 0) {
      StoreKeptNumber(number);
    }
  }

  Port* source = nullptr;
  float value = 0.0f;
  PortRole role = PortRole::ComponentInput;
  bool valid = true;
  /// The next pull must copy the source value even if it looks equal: set at creation, by
  /// Reset and when a wire is connected, so a new wire always delivers.
  bool fresh = true;
  /// The last pull left the value as it was; the clock repaints only outputs where it is clear.
  bool unchanged = true;
  std::int32_t row : 20 = 0;  ///< row on the owner's edge; for terminals, the slot
  std::int32_t thickness : 11 = 1;  ///< pen width of the wire into this port
  std::uint32_t keepsNumber : 1 = 0;  ///< KeptNumber() is not 0
  int x = 0;                        ///< position of the tip, written by the layout
  int y = 0;
  Colour colour = 0;  ///< colour of the wire into this port

 private:
  std::int32_t LookUpKeptNumber() const;
  void StoreKeptNumber(std::int32_t number);
};

static_assert(sizeof(void*) != 8 || sizeof(Port) == 32, "three ports a part: keep them small");

/// Gives `copy` everything `port` holds but its wire: the source is the business of whoever
/// copies the circuit around both.
inline void CopyPortState(const Port& port, Port& copy) {
  copy.value = port.value;
  copy.role = port.role;
  copy.valid = port.valid;
  copy.fresh = port.fresh;
  copy.unchanged = port.unchanged;
  copy.row = port.row;
  copy.x = port.x;
  copy.y = port.y;
  copy.thickness = port.thickness;
  copy.SetKeptNumber(port.KeptNumber());
  copy.colour = port.colour;
}

/// Updates one port from its source (see PullRule).
inline void PullFromSource(Port& port) {
  PullRule(port, port.source, port.role == PortRole::CircuitInput);
}

/// A free wire point: bends and branches wires. Its port takes one source and feeds any number
/// of ports.
struct Junction : PoolAllocated<Junction> {
  Port port{PortRole::JunctionPoint};
};

}  // namespace trivenor
