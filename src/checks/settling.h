#pragma once

#include "model/sub_circuit.h"

namespace trivenor {

/// Runs evaluation passes until three passes in a row have changed nothing in the circuit, at
/// most kMaxCheckPasses. Watching only the outputs would stop too early: in a chain of four
/// components a new input needs four passes to reach the output, which meanwhile stays as it
/// was, so a right circuit would be judged on its old value. Every port, junction and the
/// memory of delay lines and hazard filters count, at any depth of sub-circuits. A circuit that
/// never settles (a counter, a random number) runs the whole kMaxCheckPasses.
void RunUntilSettled(SubCircuit& circuit);

}  // namespace trivenor
