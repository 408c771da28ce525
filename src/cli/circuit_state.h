#pragma once

#include <cstdint>
#include <ostream>

#include "model/sub_circuit.h"

namespace trivenor {

/// Writes the state block of the runner:
///   pass K            passes run since loading (the pass made while loading is 0)
///   in ROW TEXT       per input terminal in list order: its slot and value, so that a reader
///                     sees which slots `--set` can fill
///   out ROW TEXT      per output terminal in list order: its slot, the value or "xxx"
///   display I TEXT    per output display of `circuit` itself in list order, counted from 0
/// Values are written with "." whatever the process locale.
void WriteCircuitState(std::ostream& out, const SubCircuit& circuit, std::uint64_t passes);

}  // namespace trivenor
