#pragma once

#include <initializer_list>
#include <memory>
#include <string>
#include <utility>

#include "model/constant.h"
#include "model/port.h"
#include "model/sub_circuit.h"

namespace trivenor::examples {

/// Adds a terminal in `slot` to the circuit's input or output list. A circuit that becomes a
/// sub-circuit takes the roles SubCircuitInput and SubCircuitOutput instead.
Port& AddInputTerminal(SubCircuit& circuit, int slot, PortRole role = PortRole::CircuitInput);
Port& AddOutputTerminal(SubCircuit& circuit, int slot, PortRole role = PortRole::CircuitOutput);

/// A wire, as the editor draws it: the next pull copies the source even if the value is equal.
void Connect(Port& consumer, Port& source);

/// A point of the grid junctions snap to: both coordinates multiples of 10.
struct GridPoint {
  int x;
  int y;
};

/// Wires are straight, so a wire that has to go round a body bends at junctions: one at each
/// of `bends`, the first fed by `source`, each of the others by the one before. Returns the
/// last junction's port, for the consumer to be connected to; further wires may branch off it.
/// Junctions take their values at the start of a pass, before any component computes: a
/// component reads through them what it would read directly, but a circuit output would show
/// its value a pass late, so outputs are wired straight to their source.
Port& Bend(SubCircuit& circuit, Port& source, std::initializer_list<GridPoint> bends);

/// Puts a new component at the end of the circuit's list (the order a loaded file has), at
/// (x, y) on the grid the editor places at: x a multiple of 10, y one of the form 10 k + 5.
/// Sizes and port positions come later, from the layout (tools/example_layout.h).
template <typename Kind, typename... Args>
Kind& Place(SubCircuit& circuit, int x, int y, Args&&... args) {
  auto component = std::make_unique<Kind>(std::forward<Args>(args)...);
  Kind& placed = *component;
  placed.x = x;
  placed.y = y;
  circuit.components.push_back(std::move(component));
  return placed;
}

/// A constant that has already run once, as a circuit saved while it ran holds it: operators
/// fed by it compute with its number from the first pass after opening instead of with 0.
Constant& PlaceConstant(SubCircuit& circuit, int x, int y, std::string number);

}  // namespace trivenor::examples
