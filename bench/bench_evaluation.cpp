// Evaluation throughput: a long chain of "+" components and a chain of junctions.
#include <benchmark/benchmark.h>

#include <memory>

#include "model/component_kind.h"
#include "model/operators.h"
#include "model/sub_circuit.h"

namespace trivenor {
namespace {

/// n "+" components, each adding 1 to the output of the one before.
std::unique_ptr<SubCircuit> PlusChain(int n) {
  auto circuit = std::make_unique<SubCircuit>();
  auto& input = *circuit->inputs.emplace_back(std::make_unique<Port>(PortRole::CircuitInput));
  input.value = 1.0f;
  const Port* previous = &input;
  for (int i = 0; i < n; ++i) {
    auto plus = std::make_unique<TwoInputOperator>(kind::Plus);
    plus->inputs[0]->source = const_cast<Port*>(previous);
    plus->inputs[1]->source = &input;
    previous = plus->outputs[0].get();
    circuit->components.push_back(std::move(plus));
  }
  auto& output = *circuit->outputs.emplace_back(std::make_unique<Port>(PortRole::CircuitOutput));
  output.source = const_cast<Port*>(previous);
  return circuit;
}

void BM_PlusChainPass(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  auto circuit = PlusChain(n);
  for (auto _ : state) {
    benchmark::DoNotOptimize(circuit->Evaluate());
  }
  state.SetItemsProcessed(state.iterations() * n);
  state.SetLabel("items = component evaluations");
}
BENCHMARK(BM_PlusChainPass)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

/// n junctions in one chain, listed against the flow: the last in the list is fed by the input.
/// `changing` makes the input take a new value at every pass, so the value must cross the whole
/// chain each time.
void JunctionChainPass(benchmark::State& state, bool changing) {
  const int n = static_cast<int>(state.range(0));
  SubCircuit circuit;
  auto& input = *circuit.inputs.emplace_back(std::make_unique<Port>(PortRole::CircuitInput));
  const Port* previous = &input;
  for (int i = 0; i < n; ++i) {
    auto& junction =
        circuit.junctions.emplace(circuit.junctions.begin(), std::make_unique<Junction>())
            ->get()
            ->port;
    junction.source = const_cast<Port*>(previous);
    previous = &junction;
  }
  auto& output = *circuit.outputs.emplace_back(std::make_unique<Port>(PortRole::CircuitOutput));
  output.source = const_cast<Port*>(previous);
  float value = 0.0f;
  for (auto _ : state) {
    if (changing) {
      input.value = ++value;
    }
    benchmark::DoNotOptimize(circuit.Evaluate());
  }
}

void BM_JunctionChainSteady(benchmark::State& state) {
  JunctionChainPass(state, false);
}
void BM_JunctionChainChanging(benchmark::State& state) {
  JunctionChainPass(state, true);
}
BENCHMARK(BM_JunctionChainSteady)->Arg(1000)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_JunctionChainChanging)->Arg(1000)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace trivenor
