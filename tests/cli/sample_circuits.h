#pragma once

#include <stdexcept>
#include <string>

#include "document/document_io.h"
#include "model/component_kind.h"
#include "model/operators.h"
#include "model/sub_circuit.h"
#include "support/circuit_building.h"

namespace trivenor::test_support {

/// Input terminals in slots 0 and 2, what `kindCode` makes of them on the output terminal in
/// slot 1. The slots differ from the list positions on purpose: the runner addresses terminals
/// by slot.
inline void BuildOperator(SubCircuit& circuit, int kindCode) {
  Port& a = AddInputTerminal(circuit, 0);
  Port& b = AddInputTerminal(circuit, 2);
  auto& op = Append<TwoInputOperator>(circuit, kindCode);
  Connect(*op.inputs[0], a);
  Connect(*op.inputs[1], b);
  Connect(AddOutputTerminal(circuit, 1), *op.outputs[0]);
}

inline void BuildAdder(SubCircuit& circuit) {
  BuildOperator(circuit, kind::Plus);
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
