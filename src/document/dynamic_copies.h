#pragma once

#include <memory>

#include "document/circuit_files.h"
#include "model/sub_circuit.h"

namespace trivenor {

/// Reads the dynamic sub-circuit `stored`, just read from its enclosing record, again from the
/// file its path names, so that changes made to that file since show. Nothing comes back when
/// the file cannot be opened (also when it is being read further up this very load), has
/// another version text, or has other terminal counts than the stored copy: the stored copy
/// stays then. A file that is malformed fails the whole load (FormatError).
///
/// The fresh circuit keeps what belongs to the enclosing circuit: the wiring of its terminals
/// and the pens of the wires into its inputs. A file met again in the same load is not read
/// again; the copy is built from its first decode.
std::unique_ptr<SubCircuit> ReadDynamicCopy(const SubCircuit& stored, LoadContext& context);

}  // namespace trivenor
