#include "model/circuit_edit.h"

#include <algorithm>
#include <utility>

namespace trivenor {

namespace {

/// A cleared wire must show its 0 at the next pass even where the old value looked the same.
void ClearSource(Port& port) {
  port.source = nullptr;
  port.fresh = true;
}

bool Owns(const PortList& ports, const Port* port) {
  return std::any_of(ports.begin(), ports.end(),
                     [port](const auto& owned) { return owned.get() == port; });
}

template <typename List, typename Object>
void EraseOwned(List& list, const Object* object) {
  list.erase(std::remove_if(list.begin(), list.end(),
                            [object](const auto& owned) { return owned.get() == object; }),
             list.end());
}

}  // namespace

bool TakesSource(PortRole role) {
  return role == PortRole::SubCircuitInput || role == PortRole::ComponentInput ||
         role == PortRole::CircuitOutput || role == PortRole::JunctionPoint;
}

bool FeedsOthers(const Port& port) {
  return port.role == PortRole::SubCircuitOutput || port.role == PortRole::ComponentOutput ||
         port.role == PortRole::CircuitInput ||
         (port.role == PortRole::JunctionPoint && port.source != nullptr);
}

Junction* FindJunction(const SubCircuit& circuit, const Port* port) {
  const auto found = std::find_if(circuit.junctions.begin(), circuit.junctions.end(),
                                  [port](const auto& junction) { return &junction->port == port; });
  return found != circuit.junctions.end() ? found->get() : nullptr;
}

Component& CircuitEdit::Place(std::unique_ptr<Component> component, int x, int y) {
  component->x = x;
  component->y = y;
  auto& components = circuit_.components;
  Changed();
  return **components.insert(components.begin(), std::move(component));
}

void CircuitEdit::Move(Component& component, int x, int y) {
  component.x = x;
  component.y = y;
  Changed();
}

void CircuitEdit::Remove(Component& component) {
  for (const auto& input : component.inputs) {
    Disconnect(*input);
    // A sub-circuit's inputs stop at their own wire when disconnected; nothing may go on
    // pointing at a port that is about to be destroyed.
    DropWiresOutOf(*input);
  }
  for (const auto& output : component.outputs) {
    Disconnect(*output);
  }
  Forget(&component, nullptr);
  EraseOwned(circuit_.components, &component);
  Changed();
}

void CircuitEdit::Connect(Port& source, Port& sink) {
  sink.source = &source;
  sink.fresh = true;
  Changed();
}

void CircuitEdit::Disconnect(Port& port) {
  bool dropped = false;
  if (port.role == PortRole::SubCircuitInput || port.role == PortRole::CircuitOutput) {
    dropped = DropWireInto(port);
  } else {
    if (port.role == PortRole::ComponentInput) {
      dropped = DropWireInto(port);
    }
    // Not short-circuited: the wires out go whether or not there was one in.
    dropped = DropWiresOutOf(port) || dropped;
  }
  if (dropped) {
    Changed();
  }
}

Junction& CircuitEdit::AddJunction(int x, int y) {
  auto junction = std::make_unique<Junction>();
  junction->port.x = x;
  junction->port.y = y;
  auto& junctions = circuit_.junctions;
  Changed();
  return **junctions.insert(junctions.begin(), std::move(junction));
}

void CircuitEdit::MoveJunction(Junction& junction, int x, int y) {
  junction.port.x = x;
  junction.port.y = y;
  Changed();
}

void CircuitEdit::RemoveJunction(Junction& junction) {
  Disconnect(junction.port);
  Forget(nullptr, &junction.port);
  EraseOwned(circuit_.junctions, &junction);
  Changed();
}

Port& CircuitEdit::AddTerminal(PortRole role, int row, int x, int y) {
  PortList& terminals = role == PortRole::CircuitInput ? circuit_.inputs : circuit_.outputs;
  auto port = std::make_unique<Port>(role, row);
  port->x = x;
  port->y = y;
  const auto before = std::find_if(terminals.begin(), terminals.end(),
                                   [row](const auto& existing) { return existing->row >= row; });
  Changed();
  return **terminals.insert(before, std::move(port));
}

void CircuitEdit::RemoveTerminal(Port& terminal) {
  Disconnect(terminal);
  // Disconnecting an output terminal stops at its own wire; a file may still feed others from
  // it, and they must not keep pointing at it.
  DropWiresOutOf(terminal);
  Forget(nullptr, &terminal);
  PortList& terminals =
      terminal.role == PortRole::CircuitInput ? circuit_.inputs : circuit_.outputs;
  EraseOwned(terminals, &terminal);
  Changed();
}

void CircuitEdit::Restyle(Component& component, Colour colour, int thickness) {
  component.colour = colour;
  component.thickness = thickness;
  Changed();
}

void CircuitEdit::Restyle(Port& port, Colour colour, int thickness) {
  port.colour = colour;
  port.thickness = thickness;
  Changed();
}

void CircuitEdit::SetPath(SubCircuit& placed, std::string path) {
  placed.path = std::move(path);
  Changed();
}

// A port without a wire stays as it is, its fresh flag included: this is no edit, and whatever
// keeps the ports' state for the passes (the compiled plan) hears only of edits.
bool CircuitEdit::DropWireInto(Port& port) {
  if (port.source == nullptr) {
    return false;
  }
  ClearSource(port);
  return true;
}

bool CircuitEdit::DropWiresOutOf(const Port& source) {
  bool dropped = false;
  auto drop = [&source, &dropped](const PortList& ports) {
    for (const auto& port : ports) {
      if (port->source == &source) {
        ClearSource(*port);
        dropped = true;
      }
    }
  };
  for (const auto& component : circuit_.components) {
    drop(component->inputs);
    drop(component->outputs);
  }
  drop(circuit_.inputs);
  drop(circuit_.outputs);
  for (const auto& junction : circuit_.junctions) {
    if (junction->port.source == &source) {
      ClearSource(junction->port);
      dropped = true;
    }
  }
  return dropped;
}

void CircuitEdit::Forget(const Component* component, const Port* port) {
  auto doomed = [component, port](const Port* candidate) {
    return candidate != nullptr &&
           (candidate == port || (component != nullptr && (Owns(component->inputs, candidate) ||
                                                           Owns(component->outputs, candidate))));
  };
  for (Port** reference : ports_) {
    if (doomed(*reference)) {
      *reference = nullptr;
    }
  }
  for (Component** reference : components_) {
    if (component != nullptr && *reference == component) {
      *reference = nullptr;
    }
  }
}

}  // namespace trivenor
