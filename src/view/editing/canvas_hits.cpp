#include "view/editing/canvas_hits.h"

#include <cstdlib>

namespace trivenor {

namespace {

bool HitsPort(const Port& port, int x, int y) {
  return std::abs(x - port.x) < 10 && std::abs(y - port.y) < 5;
}

bool HitsJunction(const Port& port, int x, int y) {
  return std::abs(x - port.x) < 5 && std::abs(y - port.y) < 5;
}

}  // namespace

std::optional<PartHit> FindPartAt(SubCircuit& circuit, int x, int y,
                                  const std::function<bool(const PartHit&)>& accept) {
  auto offer = [&](PartKind kind, Port* port, Component* component) -> std::optional<PartHit> {
    const PartHit hit{kind, port, component};
    return accept(hit) ? std::optional<PartHit>(hit) : std::nullopt;
  };
  auto offerPorts = [&](const PortList& ports, PartKind kind,
                        Component* component) -> std::optional<PartHit> {
    for (const auto& port : ports) {
      if (HitsPort(*port, x, y)) {
        if (auto hit = offer(kind, port.get(), component)) {
          return hit;
        }
      }
    }
    return std::nullopt;
  };

  for (const auto& component : circuit.components) {
    if (!component->Contains(x, y)) {
      continue;
    }
    Component* owner = component.get();
    if (auto hit = offerPorts(component->inputs, PartKind::ComponentInput, owner)) {
      return hit;
    }
    if (auto hit = offerPorts(component->outputs, PartKind::ComponentOutput, owner)) {
      return hit;
    }
    if (auto hit = offer(PartKind::ComponentBody, nullptr, owner)) {
      return hit;
    }
  }
  for (const auto& junction : circuit.junctions) {
    if (HitsJunction(junction->port, x, y)) {
      if (auto hit = offer(PartKind::Junction, &junction->port, nullptr)) {
        return hit;
      }
    }
  }
  if (auto hit = offerPorts(circuit.inputs, PartKind::InputTerminal, nullptr)) {
    return hit;
  }
  return offerPorts(circuit.outputs, PartKind::OutputTerminal, nullptr);
}

}  // namespace trivenor
