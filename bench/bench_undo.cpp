// Undo on a circuit of 2000 components: taking one step (what every drag, wire and typed value
// costs at its end, so it must stay well below a frame), and going back or forth one step.
#include <benchmark/benchmark.h>

#include <memory>

#include "document/trivenor_doc.h"
#include "mixed_component.h"

namespace trivenor {
namespace {

constexpr int kComponents = 2000;

/// A mix of kinds in a chain, each fed by the one before, with a junction every tenth, a title
/// and terminals, placed through the edit API as the editor places them.
void FillCircuit(CTrivenorDoc& document) {
  CircuitEdit& edit = document.edit();
  document.circuit().label = "Großer Schaltkreis";
  Port* previous = &edit.AddTerminal(PortRole::CircuitInput, 0, 90, 20);
  for (int i = 0; i < kComponents; ++i) {
    Component& placed = edit.Place(MixedComponent(i), 100 + (i % 40) * 10, 5 + (i / 40) * 20);
    if (!placed.inputs.empty()) {
      edit.Connect(*previous, *placed.inputs[0]);
    }
    if (!placed.outputs.empty()) {
      previous = placed.outputs[0].get();
    }
    if (i % 10 == 0) {
      Junction& junction = edit.AddJunction(300, 10 * (i / 10));
      edit.Connect(*previous, junction.port);
      previous = &junction.port;
    }
  }
  edit.Connect(*previous, edit.AddTerminal(PortRole::CircuitOutput, 0, 510, 20));
}

void BM_RecordStep(benchmark::State& state) {
  CTrivenorDoc document;
  FillCircuit(document);
  for (auto _ : state) {
    document.RecordStep("Verschieben");
  }
  state.counters["state_kB"] = static_cast<double>(document.history().Footprint()) /
                               static_cast<double>(document.history().StepCount() + 1) / 1e3;
  state.counters["steps_kept"] = static_cast<double>(document.history().StepCount());
}
BENCHMARK(BM_RecordStep)->Unit(benchmark::kMillisecond);

/// Every iteration restores one state: back and forth over one step.
void BM_UndoOrRedo(benchmark::State& state) {
  CTrivenorDoc document;
  FillCircuit(document);
  document.RecordStep("Verschieben");
  bool back = true;
  for (auto _ : state) {
    if (back) {
      document.Undo();
    } else {
      document.Redo();
    }
    back = !back;
  }
  benchmark::DoNotOptimize(document.circuit().components.size());
}
BENCHMARK(BM_UndoOrRedo)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace trivenor
