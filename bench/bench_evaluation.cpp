// Evaluation throughput: a long chain of "+" components and a chain of junctions, run by the
// objects' own pass and by the compiled plan, against a flat-array kernel of the same chain that
// marks what a pass could cost at best.
#include <benchmark/benchmark.h>

#include <bit>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "model/circuit_passes.h"
#include "model/component_kind.h"
#include "model/evaluation_plan.h"
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

/// The chain as plain arrays: three value slots per part (a, b, sum) and the slots its inputs
/// copy from. Visiting the parts from the last to the first, each reads its source before that
/// source has computed in this pass, which is what the objects' pass computes.
class FlatPlusChain {
 public:
  explicit FlatPlusChain(int n) : values_(3 * static_cast<std::size_t>(n) + 1, 0.0f) {
    values_[kInput] = 1.0f;
    for (int i = 0; i < n; ++i) {
      sourceA_.push_back(i == 0 ? kInput : Sum(i - 1));
      sourceB_.push_back(kInput);
    }
  }

  void Pass() {
    float* values = values_.data();
    for (auto i = static_cast<std::ptrdiff_t>(sourceA_.size()) - 1; i >= 0; --i) {
      const std::size_t part = 3 * static_cast<std::size_t>(i) + 1;
      values[part] = values[sourceA_[i]];
      values[part + 1] = values[sourceB_[i]];
      values[part + 2] = static_cast<float>(static_cast<double>(values[part]) + values[part + 1]);
    }
  }

  float SumOf(int i) const { return values_[Sum(i)]; }

 private:
  static constexpr std::size_t kInput = 0;
  static std::size_t Sum(int i) { return 3 * static_cast<std::size_t>(i) + 3; }

  std::vector<float> values_;
  std::vector<std::size_t> sourceA_;
  std::vector<std::size_t> sourceB_;
};

/// The same chain run by the compiled plan, as the runner runs many passes: the objects are
/// brought up to date after the last.
void BM_PlusChainPlan(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  auto circuit = PlusChain(n);
  auto plan = EvaluationPlan::Compile(*circuit);
  for (auto _ : state) {
    benchmark::DoNotOptimize(plan->Run());
  }
  plan->WriteBack();
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_PlusChainPlan)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

/// A pass as the editor's clock makes it: the plan's pass, then everything it changed written
/// back to the objects, which in this chain is most of its ports at every pass.
void BM_PlusChainPlanWrittenBack(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  auto circuit = PlusChain(n);
  CircuitPasses passes(*circuit);
  for (auto _ : state) {
    benchmark::DoNotOptimize(passes.RunPass());
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_PlusChainPlanWrittenBack)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

/// The limit, after checking that it computes what the plan computes over a few passes.
void BM_PlusChainLimit(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  auto circuit = PlusChain(n);
  CircuitPasses passes(*circuit);
  FlatPlusChain flat(n);
  for (int pass = 0; pass < 5; ++pass) {
    passes.RunPass();
    flat.Pass();
  }
  for (int i = 0; i < n; ++i) {
    if (std::bit_cast<std::uint32_t>(flat.SumOf(i)) !=
        std::bit_cast<std::uint32_t>(circuit->components[i]->outputs[0]->value)) {
      state.SkipWithError("the flat chain computes something else than the plan");
      return;
    }
  }
  for (auto _ : state) {
    flat.Pass();
    benchmark::ClobberMemory();
  }
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_PlusChainLimit)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

/// n "+" components side by side, each input wired at random to one of two input terminals:
/// one counts up at every pass, the other stays. Whether a pull finds a new value goes either
/// way from port to port, with no run of equal outcomes for the branches of the pull to learn,
/// as in a circuit where some parts follow a counter and others rest. Compare with the chain.
void BM_MixedPlan(benchmark::State& state) {
  const int n = static_cast<int>(state.range(0));
  SubCircuit circuit;
  for (int i = 0; i < 2; ++i) {
    circuit.inputs.emplace_back(std::make_unique<Port>(PortRole::CircuitInput))->value = 1.0f;
  }
  std::uint32_t draw = 12345;
  for (int i = 0; i < n; ++i) {
    auto plus = std::make_unique<TwoInputOperator>(kind::Plus);
    for (auto& input : plus->inputs) {
      draw = draw * 1664525u + 1013904223u;
      input->source = circuit.inputs[draw >> 31].get();
    }
    circuit.components.push_back(std::move(plus));
  }
  auto plan = EvaluationPlan::Compile(circuit);
  float counter = 0.0f;
  for (auto _ : state) {
    circuit.inputs[0]->value = ++counter;
    benchmark::DoNotOptimize(plan->Run());
  }
  plan->WriteBack();
  state.SetItemsProcessed(state.iterations() * n);
}
BENCHMARK(BM_MixedPlan)->Arg(10000)->Unit(benchmark::kMillisecond);

/// Compiling the plan, as after every edit of a circuit of that size.
void BM_PlanCompile(benchmark::State& state) {
  auto circuit = PlusChain(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    benchmark::DoNotOptimize(EvaluationPlan::Compile(*circuit));
  }
}
BENCHMARK(BM_PlanCompile)->Arg(10000)->Unit(benchmark::kMillisecond);

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
