#include "tools/fan_out_set.h"

#include <memory>

#include "document/archive.h"
#include "document/document_serializer.h"
#include "model/component_kind.h"
#include "model/constant.h"
#include "model/operators.h"
#include "model/sub_circuit.h"

namespace trivenor {

namespace {

Port& AddTerminal(PortList& terminals, PortRole role) {
  return *terminals.emplace_back(std::make_unique<Port>(role));
}

std::unique_ptr<SubCircuit> Leaf() {
  auto circuit = std::make_unique<SubCircuit>();
  circuit->label = "Blatt";
  Port& in = AddTerminal(circuit->inputs, PortRole::CircuitInput);
  auto& one = *circuit->components.emplace_back(std::make_unique<Constant>("1"));
  auto& plus = *circuit->components.emplace_back(std::make_unique<TwoInputOperator>(kind::Plus));
  one.x = 120;
  plus.x = 200;
  plus.inputs[0]->source = &in;
  plus.inputs[1]->source = one.outputs[0].get();
  AddTerminal(circuit->outputs, PortRole::CircuitOutput).source = plus.outputs[0].get();
  return circuit;
}

std::unique_ptr<SubCircuit> Level(const std::string& nextLevelPath) {
  auto circuit = std::make_unique<SubCircuit>();
  circuit->label = "Ebene";
  Port* previous = &AddTerminal(circuit->inputs, PortRole::CircuitInput);
  for (int i = 0; i < kFanOut; ++i) {
    auto stored = std::make_unique<SubCircuit>();
    stored->path = nextLevelPath;
    stored->x = 100 + 80 * i;
    AddTerminal(stored->inputs, PortRole::SubCircuitInput).source = previous;
    previous = &AddTerminal(stored->outputs, PortRole::SubCircuitOutput);
    circuit->components.push_back(std::move(stored));
  }
  AddTerminal(circuit->outputs, PortRole::CircuitOutput).source = previous;
  return circuit;
}

}  // namespace

std::vector<std::vector<std::uint8_t>> FanOutFiles(int depth,
                                                   const std::function<std::string(int)>& pathOf) {
  std::vector<std::vector<std::uint8_t>> files;
  for (int level = 0; level <= depth; ++level) {
    auto circuit = level == depth ? Leaf() : Level(pathOf(level + 1));
    DocumentSettings settings;
    Archive archive;
    SerializeDocument(archive, *circuit, settings);
    files.push_back(archive.TakeWritten());
  }
  return files;
}

}  // namespace trivenor
