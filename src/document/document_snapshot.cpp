#include "document/document_snapshot.h"

#include "document/archive.h"
#include "document/document_io.h"
#include "model/component_kind.h"

namespace trivenor {

namespace {

/// Visits every sub-circuit below `circuit`, depth first in list order, which is the order the
/// file holds them in and a load gives them back in.
template <typename Visit>
void ForEachPlacedCircuit(SubCircuit& circuit, Visit& visit) {
  for (const auto& component : circuit.components) {
    if (component->kind == kind::SubCircuit) {
      auto& placed = static_cast<SubCircuit&>(*component);
      visit(placed);
      ForEachPlacedCircuit(placed, visit);
    }
  }
}

/// Reads the bytes as opening them would, but with no file to read a dynamic sub-circuit from,
/// so every one keeps the copy the state holds.
bool Read(const DocumentSnapshot& snapshot, SubCircuit& circuit, DocumentSettings& settings) {
  NoFileReader noFiles;
  return LoadDocumentBytes({}, snapshot.bytes, circuit, settings, noFiles) == DocumentError::None;
}

}  // namespace

DocumentSnapshot TakeSnapshot(SubCircuit& circuit, DocumentSettings& settings) {
  Archive archive;
  SerializeDocument(archive, circuit, settings);
  DocumentSnapshot snapshot{archive.TakeWritten(), {}};
  // The archive grows its buffer by doubling; a history of many states keeps only what is used.
  snapshot.bytes.shrink_to_fit();
  auto collect = [&snapshot](const SubCircuit& placed) {
    snapshot.dynamicFlags.push_back(placed.dynamic);
  };
  ForEachPlacedCircuit(circuit, collect);
  return snapshot;
}

bool RestoreSnapshot(const DocumentSnapshot& snapshot, SubCircuit& circuit,
                     DocumentSettings& settings) {
  // The reader bounds nesting and memory for untrusted files, and the editor can build a
  // circuit a little past those bounds. Trying on a scratch circuit first keeps such a state
  // from emptying the document halfway through.
  {
    SubCircuit trial;
    DocumentSettings trialSettings;
    if (!Read(snapshot, trial, trialSettings)) {
      return false;
    }
  }
  circuit.Clear();
  settings = DocumentSettings{};
  Read(snapshot, circuit, settings);
  std::size_t next = 0;
  auto restore = [&snapshot, &next](SubCircuit& placed) {
    placed.dynamic = next < snapshot.dynamicFlags.size() && snapshot.dynamicFlags[next];
    ++next;
  };
  ForEachPlacedCircuit(circuit, restore);
  return true;
}

}  // namespace trivenor
