// Feeds arbitrary bytes to the circuit file reader. Circuit files come from anywhere, so
// whatever the bytes, a load either succeeds or fails with FormatError; a crash, a hang, another
// exception, a sanitizer report or a leak is a finding.
//
// A document that loads is also saved, loaded again and saved again, and the two saves must be
// equal: whatever the reader accepts, the writer must write in a form that reads back to the same
// circuit. Loading evaluates the circuit once, so before each save the state that evaluation
// rewrites (port values, the texts of output displays) is cleared; what remains is fixed by the
// file alone.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "document/archive.h"
#include "document/circuit_files.h"
#include "document/circuit_loader.h"
#include "document/document_serializer.h"
#include "model/component_kind.h"
#include "model/sub_circuit.h"

namespace trivenor {
namespace {

using Bytes = std::vector<std::uint8_t>;

struct Document {
  SubCircuit circuit;
  DocumentSettings settings;
};

[[noreturn]] void Fail(const char* what) {
  std::fprintf(stderr, "fuzz_document: %s\n", what);
  std::abort();
}

/// A document load as the editor does it, with no other file reachable.
std::unique_ptr<Document> LoadDocument(std::span<const std::uint8_t> bytes) {
  auto document = std::make_unique<Document>();
  NoFileReader files;
  ReadDocumentFile("", bytes, document->circuit, document->settings, files);
  return document;
}

void ClearEvaluatedState(Component& component) {
  for (auto& port : component.inputs) {
    port->value = 0.0f;
  }
  for (auto& port : component.outputs) {
    port->value = 0.0f;
  }
  if (component.kind == kind::OutputDisplay) {
    component.label.clear();
  }
  if (component.kind != kind::SubCircuit) {
    return;
  }
  auto& circuit = static_cast<SubCircuit&>(component);
  for (auto& inner : circuit.components) {
    ClearEvaluatedState(*inner);
  }
  for (auto& junction : circuit.junctions) {
    junction->port.value = 0.0f;
  }
}

Bytes SaveDocument(Document& document) {
  ClearEvaluatedState(document.circuit);
  Archive archive;
  SerializeDocument(archive, document.circuit, document.settings);
  return archive.TakeWritten();
}

/// Serves the fuzz input under every path, so dynamic sub-circuits inside it are read again
/// from the same bytes (a chain back to a file being read stops at the second visit).
class SelfReader final : public FileReader {
 public:
  explicit SelfReader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  std::optional<std::string> Identity(const std::string&) override { return "input"; }
  std::optional<Bytes> ReadAll(const std::string&, std::size_t limit) override {
    const std::size_t size = limit < bytes_.size() ? limit + 1 : bytes_.size();
    return Bytes(bytes_.begin(), bytes_.begin() + static_cast<std::ptrdiff_t>(size));
  }

 private:
  std::span<const std::uint8_t> bytes_;
};

/// Placing a circuit file as a sub-circuit reads the same record in its other mode, and there
/// dynamic sub-circuits are read from their files.
void ReadAsPlacedSubCircuit(std::span<const std::uint8_t> bytes) {
  SelfReader files(bytes);
  LoadContext context(files, bytes.size());
  ReadCircuitFile(bytes, context);
}

}  // namespace
}  // namespace trivenor

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace trivenor;
  const std::span<const std::uint8_t> input(data, size);
  try {
    ReadAsPlacedSubCircuit(input);
  } catch (const FormatError&) {
  }

  std::unique_ptr<Document> first;
  try {
    first = LoadDocument(input);
  } catch (const FormatError&) {
    return 0;
  }
  const Bytes saved = SaveDocument(*first);
  std::unique_ptr<Document> second;
  try {
    second = LoadDocument(saved);
  } catch (const FormatError&) {
    Fail("a document that loaded was saved in a form that does not load");
  }
  if (SaveDocument(*second) != saved) {
    Fail("saving the document again after a save and a load gives other bytes");
  }
  return 0;
}
