#include "document/dynamic_copies.h"

#include <string>

#include "document/circuit_loader.h"
#include "document/utf8_path.h"

namespace trivenor {

namespace {

/// The first read of `file` in this load: decodes it and lets the context keep the result for
/// later copies.
std::unique_ptr<SubCircuit> Decode(const std::string& path, int file, LoadContext& context) {
  const auto bytes = context.files().ReadAll(path, context.RemainingBytes());
  if (!bytes) {
    return nullptr;
  }
  context.ChargeBytes(file, bytes->size());
  context.BeginDecode();
  std::unique_ptr<SubCircuit> fresh = ReadCircuitFile(*bytes, context);
  if (fresh != nullptr) {
    fresh->dynamic = true;
  }
  context.EndDecode(file, fresh.get());
  return fresh;
}

/// Fits the circuit read from the file into the place of the stored copy, or gives nothing when
/// its terminals do not match the stored copy's.
std::unique_ptr<SubCircuit> TakeStoredPlace(std::unique_ptr<SubCircuit> fresh,
                                            const SubCircuit& stored) {
  if (fresh->inputs.size() != stored.inputs.size() ||
      fresh->outputs.size() != stored.outputs.size()) {
    return nullptr;
  }
  fresh->path = stored.path;
  if (fresh->label.empty()) {
    fresh->label = Utf8FromPath(PathFromUtf8(stored.path).filename());
  }
  for (std::size_t i = 0; i < fresh->inputs.size(); ++i) {
    Port& port = *fresh->inputs[i];
    port.role = PortRole::SubCircuitInput;
    // The wires into the inputs are drawn in the enclosing circuit: their colour and thickness
    // were chosen there, and are stored there with the stored copy.
    port.colour = stored.inputs[i]->colour;
    port.thickness = stored.inputs[i]->thickness;
  }
  for (std::size_t i = 0; i < fresh->outputs.size(); ++i) {
    fresh->outputs[i]->role = PortRole::SubCircuitOutput;
  }
  return fresh;
}

}  // namespace

std::unique_ptr<SubCircuit> ReadDynamicCopy(const SubCircuit& stored, LoadContext& context) {
  const std::optional<int> file = context.FileAt(stored.path);
  if (!file || !context.EnterFile(*file)) {
    return nullptr;
  }
  struct LeaveOnExit {
    LoadContext& context;
    int file;
    ~LeaveOnExit() { context.LeaveFile(file); }
  } leave{context, *file};

  std::unique_ptr<SubCircuit> fresh;
  if (const DecodedFile* decoded = context.CopySource(*file)) {
    if (decoded->circuit == nullptr) {
      return nullptr;
    }
    context.ChargeCopy(*decoded);
    fresh = decoded->circuit->CloneCircuit();
  } else {
    fresh = Decode(stored.path, *file, context);
  }
  return fresh != nullptr ? TakeStoredPlace(std::move(fresh), stored) : nullptr;
}

}  // namespace trivenor
