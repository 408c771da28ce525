#include "tools/example_building.h"

namespace trivenor::examples {

Port& AddInputTerminal(SubCircuit& circuit, int slot, PortRole role) {
  return *circuit.inputs.emplace_back(std::make_unique<Port>(role, slot));
}

Port& AddOutputTerminal(SubCircuit& circuit, int slot, PortRole role) {
  return *circuit.outputs.emplace_back(std::make_unique<Port>(role, slot));
}

void Connect(Port& consumer, Port& source) {
  consumer.source = &source;
  consumer.fresh = true;
}

Port& Bend(SubCircuit& circuit, Port& source, std::initializer_list<GridPoint> bends) {
  Port* previous = &source;
  for (const GridPoint bend : bends) {
    Port& junction = circuit.junctions.emplace_back(std::make_unique<Junction>())->port;
    junction.x = bend.x;
    junction.y = bend.y;
    Connect(junction, *previous);
    previous = &junction;
  }
  return *previous;
}

Constant& PlaceConstant(SubCircuit& circuit, int x, int y, std::string number) {
  Constant& constant = Place<Constant>(circuit, x, y, std::move(number));
  constant.Evaluate();
  return constant;
}

}  // namespace trivenor::examples
