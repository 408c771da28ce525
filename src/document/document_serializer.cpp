#include "document/document_serializer.h"

#include <string>

#include "document/circuit_serializer.h"
#include "document/file_limits.h"

namespace trivenor {

void SerializeDocument(Archive& archive, SubCircuit& circuit, DocumentSettings& settings,
                       LoadContext* context) {
  const bool loading = !archive.IsStoring();
  std::string version = kCircuitVersionText;
  archive.Bytes(version);
  if (loading && version != kCircuitVersionText) {
    return;
  }
  SerializeCircuit(archive, circuit, false, context);
  if (loading) {
    // Their stored numbers refer to no enclosing circuit.
    for (auto& port : circuit.inputs) {
      port->source = nullptr;
    }
    circuit.Evaluate();
  }

  std::int32_t spare = settings.spareFlag ? 1 : 0;
  std::int32_t editable = settings.editable ? 1 : 0;
  std::int32_t fontPresent = settings.canvasFont ? 1 : 0;
  archive.Int32(settings.canvasWidth);
  archive.Int32(spare);
  archive.Int32(editable);
  archive.Int32(fontPresent);
  if (loading) {
    if (settings.canvasWidth < 0 || settings.canvasWidth > file_limits::kMaxCoordinate) {
      throw FormatError();
    }
    settings.spareFlag = spare != 0;
    settings.editable = editable != 0;
    if (fontPresent == 1) {
      settings.canvasFont.emplace();
    } else {
      settings.canvasFont.reset();
    }
  }
  if (settings.canvasFont) {
    archive.Raw(settings.canvasFont->data(), settings.canvasFont->size());
  }
}

}  // namespace trivenor
