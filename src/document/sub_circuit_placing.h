#pragma once

#include <memory>

#include "document/circuit_files.h"
#include "document/trivenor_doc.h"
#include "model/sub_circuit.h"

namespace trivenor {

/// The file of `entry` read to be placed as a component: its terminals become the component's
/// ports, without the wires their stored numbers stood for; a circuit without a title is named
/// after the entry; placed `dynamic`, it keeps the path it is read again from whenever the
/// enclosing circuit is opened. Nothing comes back when the file cannot be read as a circuit
/// (see LoadSubCircuitFile), so nothing is placed and no message shown.
std::unique_ptr<SubCircuit> LoadSubCircuitToPlace(const SubCircuitListEntry& entry, bool dynamic,
                                                  FileReader& files);

}  // namespace trivenor
