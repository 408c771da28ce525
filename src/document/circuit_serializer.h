#pragma once

#include <cstdint>
#include <vector>

#include "document/archive.h"
#include "document/circuit_files.h"
#include "model/sub_circuit.h"

namespace trivenor {

/// Writes `circuit` as one circuit record when `archive` stores, or reads a record into the
/// empty `circuit` when it loads (then `context` must be given). A record holds the strings, the
/// terminals, the components (nested circuits recursively) and the junctions; wires are stored
/// at their sinks as reference numbers, numbered afresh in every record.
///
/// `asSubCircuit` applies to reading only: a circuit file read to become a sub-circuit drops its
/// graphs and output displays. Dynamic sub-circuits inside are read again from their own files
/// where that works (see `context`).
///
/// When loading, returns the source numbers stored with the circuit's input terminals: they
/// refer to the enclosing circuit, which resolves them. Throws FormatError on malformed data.
std::vector<std::int32_t> SerializeCircuit(Archive& archive, SubCircuit& circuit, bool asSubCircuit,
                                           LoadContext* context = nullptr);

}  // namespace trivenor
