#pragma once

#include <memory>
#include <string>
#include <utility>

#include "model/constant.h"
#include "model/port.h"
#include "model/sub_circuit.h"

namespace trivenor::examples {

/// The editor's default canvas font (10-point monospace) as the example layout assumes it:
/// about 8 units per character and a line height of 16. The editor measures the real font and
/// sizes every component again at its first paint, so these only need to look right.
inline constexpr int kLabelCharWidth = 8;
inline constexpr int kLineHeight = 16;

/// The body size the editor gives `component` at its first paint with the assumed font.
void SizeLikeEditor(Component& component);

/// Adds a terminal in `slot` to the circuit's input or output list. A circuit that becomes a
/// sub-circuit takes the roles SubCircuitInput and SubCircuitOutput instead.
Port& AddInputTerminal(SubCircuit& circuit, int slot, PortRole role = PortRole::CircuitInput);
Port& AddOutputTerminal(SubCircuit& circuit, int slot, PortRole role = PortRole::CircuitOutput);

/// A wire, as the editor draws it: the next pull copies the source even if the value is equal.
void Connect(Port& consumer, Port& source);

/// Puts a new component at the end of the circuit's list (the order a loaded file has), at
/// (x, y) on the editor's grid, sized. Port positions are not stored; the editor lays them out.
template <typename Kind, typename... Args>
Kind& Place(SubCircuit& circuit, int x, int y, Args&&... args) {
  auto component = std::make_unique<Kind>(std::forward<Args>(args)...);
  Kind& placed = *component;
  placed.x = x;
  placed.y = y;
  SizeLikeEditor(placed);
  circuit.components.push_back(std::move(component));
  return placed;
}

/// A constant that has already run once, as a circuit saved while it ran holds it: operators
/// fed by it compute with its number from the first pass after opening instead of with 0.
Constant& PlaceConstant(SubCircuit& circuit, int x, int y, std::string number);

}  // namespace trivenor::examples
