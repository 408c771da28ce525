#include "document/sub_circuit_placing.h"

#include "document/circuit_loader.h"

namespace trivenor {

std::unique_ptr<SubCircuit> LoadSubCircuitToPlace(const SubCircuitListEntry& entry, bool dynamic,
                                                  FileReader& files) {
  if (entry.filePath.empty()) {
    return nullptr;
  }
  std::unique_ptr<SubCircuit> circuit = LoadSubCircuitFile(entry.filePath, files);
  if (circuit == nullptr) {
    return nullptr;
  }
  if (dynamic) {
    circuit->path = entry.filePath;
    circuit->dynamic = true;
  }
  for (auto& port : circuit->inputs) {
    port->role = PortRole::SubCircuitInput;
    port->source = nullptr;  // the numbers stored with them refer to no circuit here
  }
  for (auto& port : circuit->outputs) {
    port->role = PortRole::SubCircuitOutput;
  }
  if (circuit->label.empty()) {
    circuit->label = entry.displayName;
  }
  return circuit;
}

}  // namespace trivenor
