#include "document/circuit_loader.h"

#include <optional>

#include "document/archive.h"
#include "document/circuit_serializer.h"

namespace trivenor {

namespace {

/// The file a load begins with is being read until the load ends: a dynamic sub-circuit inside
/// that names it cannot open it and keeps its stored copy, as with any chain leading back.
void EnterFirstFile(LoadContext& context, const std::string& path) {
  if (const std::optional<std::string> identity = context.files().Identity(path)) {
    context.EnterFile(*identity);
  }
}

}  // namespace

void ReadDocumentFile(const std::string& path, std::span<const std::uint8_t> bytes,
                      SubCircuit& circuit, DocumentSettings& settings, FileReader& files) {
  Archive archive(bytes);
  ReadDocumentFile(path, archive, circuit, settings, files);
}

void ReadDocumentFile(const std::string& path, Archive& archive, SubCircuit& circuit,
                      DocumentSettings& settings, FileReader& files) {
  LoadContext context(files, archive.Remaining());
  EnterFirstFile(context, path);
  SerializeDocument(archive, circuit, settings, &context);
}

std::unique_ptr<SubCircuit> LoadSubCircuitFile(const std::string& path, FileReader& files) {
  const auto bytes = files.ReadAll(path, kMaxDocumentBytes);
  if (!bytes || bytes->size() > kMaxDocumentBytes) {
    return nullptr;
  }
  try {
    LoadContext context(files, bytes->size());
    EnterFirstFile(context, path);
    return ReadCircuitFile(*bytes, context);
  } catch (const FormatError&) {
    return nullptr;  // a malformed file gives nothing, like one that cannot be opened
  }
}

std::unique_ptr<SubCircuit> ReadCircuitFile(std::span<const std::uint8_t> bytes,
                                            LoadContext& context) {
  Archive archive(bytes);
  std::string version;
  archive.Bytes(version);
  if (version != kCircuitVersionText) {
    return nullptr;
  }
  auto circuit = std::make_unique<SubCircuit>();
  SerializeCircuit(archive, *circuit, true, &context);
  return circuit;
}

}  // namespace trivenor
