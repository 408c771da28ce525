#pragma once

#include <stdexcept>
#include <string>

#include "document/document_io.h"
#include "model/component_kind.h"
#include "model/operators.h"
#include "model/sub_circuit.h"
#include "support/circuit_building.h"

namespace trivenor::test_support {

/// Input terminals in slots 0 and 2, their sum on the output terminal in slot 1. The slots
/// differ from the list positions on purpose: the runner addresses terminals by slot.
inline void BuildAdder(SubCircuit& circuit) {
  Port& a = AddInputTerminal(circuit, 0);
  Port& b = AddInputTerminal(circuit, 2);
  auto& plus = Append<TwoInputOperator>(circuit, kind::Plus);
  Connect(*plus.inputs[0], a);
  Connect(*plus.inputs[1], b);
  Connect(AddOutputTerminal(circuit, 1), *plus.outputs[0]);
}

inline void SaveCircuit(const std::string& path, SubCircuit& circuit) {
  DocumentSettings settings;
  if (SaveDocumentFile(path, circuit, settings) != DocumentError::None) {
    throw std::runtime_error("cannot save " + path);
  }
}

inline void SaveAdder(const std::string& path) {
  SubCircuit circuit;
  BuildAdder(circuit);
  SaveCircuit(path, circuit);
}

}  // namespace trivenor::test_support
