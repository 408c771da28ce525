#pragma once

#include <memory>
#include <utility>

#include "model/port.h"
#include "model/sub_circuit.h"

namespace trivenor::test_support {

/// Appends a component at the end of a circuit's list, the order a loaded file has.
template <typename Kind, typename... Args>
Kind& Append(SubCircuit& circuit, Args&&... args) {
  auto component = std::make_unique<Kind>(std::forward<Args>(args)...);
  Kind& added = *component;
  circuit.components.push_back(std::move(component));
  return added;
}

inline Port& AddInputTerminal(SubCircuit& circuit, int row,
                              PortRole role = PortRole::CircuitInput) {
  return *circuit.inputs.emplace_back(std::make_unique<Port>(role, row));
}

inline Port& AddOutputTerminal(SubCircuit& circuit, int row,
                               PortRole role = PortRole::CircuitOutput) {
  return *circuit.outputs.emplace_back(std::make_unique<Port>(role, row));
}

inline Junction& AddJunction(SubCircuit& circuit, int x = 0, int y = 0) {
  Junction& junction = *circuit.junctions.emplace_back(std::make_unique<Junction>());
  junction.port.x = x;
  junction.port.y = y;
  return junction;
}

/// What the editor does when it draws a wire: the next pull copies even an equal value.
inline void Connect(Port& consumer, Port& source) {
  consumer.source = &source;
  consumer.fresh = true;
}

}  // namespace trivenor::test_support
