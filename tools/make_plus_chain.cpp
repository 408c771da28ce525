// Writes a circuit of COUNT "+" parts in one chain, the file the loading benchmark opens:
//   make_plus_chain COUNT FILE
// Every part adds the circuit's input to the part before it; the last feeds the output.

#include <charconv>
#include <cstring>
#include <iostream>
#include <memory>
#include <string>

#include "document/document_io.h"
#include "model/component_kind.h"
#include "model/operators.h"

namespace {

using namespace trivenor;

void FillChain(SubCircuit& circuit, long count) {
  Port& input = *circuit.inputs.emplace_back(std::make_unique<Port>(PortRole::CircuitInput));
  Port* previous = &input;
  circuit.components.reserve(static_cast<std::size_t>(count));
  for (long i = 0; i < count; ++i) {
    auto part = std::make_unique<TwoInputOperator>(kind::Plus);
    part->x = 40 + static_cast<int>(i % 40) * 30;
    part->y = 10 + static_cast<int>(i / 40 % 100) * 30;
    part->inputs[0]->source = previous;
    part->inputs[1]->source = &input;
    previous = part->outputs[0].get();
    circuit.components.push_back(std::move(part));
  }
  circuit.outputs.emplace_back(std::make_unique<Port>(PortRole::CircuitOutput))->source = previous;
}

}  // namespace

int main(int argc, char** argv) {
  long count = 0;
  const char* text = argc == 3 ? argv[1] : "";
  const auto [end, error] = std::from_chars(text, text + std::strlen(text), count);
  if (argc != 3 || error != std::errc() || *end != '\0' || count < 0) {
    std::cerr << "Aufruf: make_plus_chain ANZAHL DATEI\n";
    return 1;
  }
  SubCircuit circuit;
  FillChain(circuit, count);
  DocumentSettings settings;
  if (const DocumentError failure = SaveDocumentFile(argv[2], circuit, settings);
      failure != DocumentError::None) {
    std::cerr << "make_plus_chain: " << DocumentErrorMessage(failure, argv[2]) << '\n';
    return 2;
  }
  return 0;
}
