#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "document/document_serializer.h"
#include "model/sub_circuit.h"

namespace trivenor {

/// One state of a document, as undo keeps it: the bytes saving would write (circuit and stored
/// settings), and the one thing the circuit shows that the file does not hold, which of its
/// placed sub-circuits are dynamic. Bytes make a state cheap to take, compact to keep, and
/// restore exactly what a save would have stored.
struct DocumentSnapshot {
  std::vector<std::uint8_t> bytes;
  /// The `dynamic` flag of every sub-circuit at any depth, in the order the file holds them.
  std::vector<bool> dynamicFlags;

  /// The heap it holds.
  std::size_t Footprint() const { return bytes.capacity() + dynamicFlags.capacity() / 8; }
};

/// The state of `circuit` and `settings` now. Not const: writing numbers the ports.
DocumentSnapshot TakeSnapshot(SubCircuit& circuit, DocumentSettings& settings);

/// Replaces what `circuit` and `settings` hold with `snapshot`, read as opening its bytes would
/// (the input terminals lose their sources, one evaluation pass runs), except that dynamic
/// sub-circuits are not read again from their files: the state comes back exactly as it was.
/// False, with `circuit` and `settings` untouched, when the bytes cannot be read back (a
/// circuit built past the reader's limits). References into `circuit` are the caller's to
/// clear first.
bool RestoreSnapshot(const DocumentSnapshot& snapshot, SubCircuit& circuit,
                     DocumentSettings& settings);

}  // namespace trivenor
