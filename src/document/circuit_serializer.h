#pragma once

#include <cstdint>
#include <vector>

#include "document/archive.h"
#include "document/circuit_files.h"
#include "model/sub_circuit.h"

namespace trivenor {

/// What a nested circuit record shares with the record it is placed in, in that record's
/// numbering: the sources of its input terminals, and the numbers of its output terminals,
/// which are the placed component's outputs there. Storing reads them, loading fills them.
struct SharedNumbers {
  std::vector<std::int32_t> inputSources;
  std::vector<std::int32_t> outputNumbers;
};

/// Writes `circuit` as one circuit record when `archive` stores, or reads a record into the
/// empty `circuit` when it loads (then `context` must be given). A record holds the strings, the
/// terminals, the components (nested circuits recursively) and the junctions; wires are stored
/// at their sinks as reference numbers, numbered afresh in every record.
///
/// `asSubCircuit` applies to reading only: a circuit file read to become a sub-circuit drops its
/// graphs and output displays. Dynamic sub-circuits inside are read again from their own files
/// where that works (see `context`).
///
/// `shared` is given for a record nested in another (see SharedNumbers); without it the input
/// terminals lose their stored sources when read. Throws FormatError on malformed data.
void SerializeCircuit(Archive& archive, SubCircuit& circuit, bool asSubCircuit,
                      LoadContext* context = nullptr, SharedNumbers* shared = nullptr);

}  // namespace trivenor
