// The compiled plan against the objects' own pass, which stays the reference: random circuits of
// every kind, with feedback, junction chains and sub-circuits three deep, run side by side while
// edits, typed values and Resets come in between; after every pass every state must be the same
// to the bit.

#include <gtest/gtest.h>

#include <cstdint>
#include <iterator>
#include <limits>
#include <memory>
#include <random>
#include <tuple>
#include <vector>

#include "model/circuit_edit.h"
#include "model/circuit_passes.h"
#include "model/component_kind.h"
#include "model/constant.h"
#include "model/delay_line.h"
#include "model/evaluation_plan.h"
#include "model/graph_plot.h"
#include "model/hazard_filter.h"
#include "model/operators.h"
#include "model/output_display.h"
#include "model/random.h"
#include "model/sub_circuit.h"
#include "support/circuit_building.h"
#include "support/circuit_comparison.h"

namespace trivenor {
namespace {

using test_support::Connect;

/// The ports of a circuit that feed wires (`feeding`) or take one, in a fixed order, so that a
/// choice made on one circuit names the same port in its twin.
std::vector<Port*> Ports(SubCircuit& circuit, bool feeding) {
  std::vector<Port*> ports;
  for (auto& port : feeding ? circuit.inputs : circuit.outputs) {
    ports.push_back(port.get());
  }
  for (auto& component : circuit.components) {
    for (auto& port : feeding ? component->outputs : component->inputs) {
      ports.push_back(port.get());
    }
  }
  for (auto& junction : circuit.junctions) {
    ports.push_back(&junction->port);
  }
  return ports;
}

class RandomCircuits {
 public:
  explicit RandomCircuits(std::uint32_t startValue) : random_(startValue) {}

  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }
  template <class List>
  auto& Any(List& list) {
    return list[static_cast<std::size_t>(Pick(0, static_cast<int>(std::size(list)) - 1))];
  }

  /// Values that take every branch of the rules: 0, -0, halves, whole numbers, huge, NaN, ∞.
  float Value() {
    static constexpr float kValues[] = {0.0f,
                                        -0.0f,
                                        0.5f,
                                        1.0f,
                                        2.0f,
                                        -7.0f,
                                        6.25f,
                                        1e10f,
                                        -3e9f,
                                        0.1f,
                                        1e-30f,
                                        std::numeric_limits<float>::quiet_NaN(),
                                        std::numeric_limits<float>::infinity()};
    return Chance(0.2) ? static_cast<float>(Pick(-20, 20)) : Any(kValues);
  }

  /// Any kind; 42 and 150 name no operation. Sub-circuits go three levels deep.
  std::unique_ptr<Component> Part(int depth) {
    static constexpr int kOperators[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 42};
    static constexpr const char* kLabels[] = {"3", " -2.5e1x", "abc", "1e40", "nan"};
    switch (Pick(0, depth < 3 ? 8 : 7)) {
      case 0:
      case 1:
        return std::make_unique<TwoInputOperator>(Any(kOperators));
      case 2:
        return std::make_unique<UnaryFunction>(Chance(0.1) ? 150 : Pick(kind::Not, kind::Log10));
      case 3:
        return std::make_unique<DelayLine>(Pick(1, 4));
      case 4:
        return std::make_unique<Constant>(Any(kLabels));
      case 5:
        return std::make_unique<HazardFilter>(Pick(-1, 2));
      case 6: {
        auto display = std::make_unique<OutputDisplay>();
        display->texts = {{1.0f, "eins"}, {Value(), "zufall"}};
        return display;
      }
      case 7:
        return std::make_unique<GraphPlot>(
            GraphSettings{Chance(0.5), Chance(0.5), Chance(0.5), 4, 4, Pick(1, 5), Pick(0, 3)});
      default: {
        auto circuit = std::make_unique<SubCircuit>();
        circuit->dynamic = Chance(0.3);
        Fill(*circuit, depth + 1, Pick(0, 5), PortRole::SubCircuitInput,
             PortRole::SubCircuitOutput);
        return circuit;
      }
    }
  }

  /// Operators each fed by the next or the one before in the list, some closed to a ring or
  /// fed by themselves: the runs the plan fuses, among the random wires added later.
  void AddOperatorRun(SubCircuit& circuit) {
    static constexpr int kOperators[] = {1, 2, 3, 4, 5, 8, 9, 11, 12, 13, 42};
    const std::size_t first = circuit.components.size();
    const int count = Pick(2, 8);
    for (int i = 0; i < count; ++i) {
      if (Chance(0.7)) {
        circuit.components.push_back(std::make_unique<TwoInputOperator>(Any(kOperators)));
      } else {
        circuit.components.push_back(std::make_unique<UnaryFunction>(Pick(kind::Not, kind::Log10)));
      }
    }
    const bool againstTheList = Chance(0.5);
    for (int i = 1; i < count + (Chance(0.3) ? 1 : 0); ++i) {
      Component& producer = *circuit.components[first + static_cast<std::size_t>(i - 1)];
      Component& consumer = *circuit.components[first + static_cast<std::size_t>(i % count)];
      auto [from, to] =
          againstTheList ? std::tie(consumer, producer) : std::tie(producer, consumer);
      Connect(*to.inputs[0], *from.outputs[0]);
    }
    Component& last = *circuit.components.back();
    if (last.inputs.size() == 2 && Chance(0.3)) {
      Connect(*last.inputs[1], *last.outputs[0]);
    }
  }

  /// Terminals, parts, junctions (a chain of them listed against the flow), random wires with
  /// feedback and self-loops, random port states.
  void Fill(SubCircuit& circuit, int depth, int parts, PortRole inputRole, PortRole outputRole) {
    for (int i = Pick(0, 3); i > 0; --i) {
      test_support::AddInputTerminal(circuit, Pick(0, 6), inputRole);
      test_support::AddOutputTerminal(circuit, Pick(0, 6), outputRole);
    }
    for (int i = 0; i < parts; ++i) {
      circuit.components.push_back(Part(depth));
    }
    if (Chance(0.6)) {
      AddOperatorRun(circuit);
    }
    const int chain = Pick(0, 4);
    for (int i = chain + Pick(0, 2); i > 0; --i) {
      test_support::AddJunction(circuit);
    }
    for (int i = 0; i + 1 < chain; ++i) {
      Connect(circuit.junctions[i]->port, circuit.junctions[i + 1]->port);
    }
    const std::vector<Port*> feeders = Ports(circuit, true);
    for (Port* sink : Ports(circuit, false)) {
      if (!feeders.empty() && sink->source == nullptr && Chance(0.8)) {
        Connect(*sink, *Any(feeders));
      }
    }
    for (const bool feeding : {true, false}) {
      for (Port* port : Ports(circuit, feeding)) {
        port->value = Value();
        port->valid = Chance(0.8);
        port->fresh = Chance(0.3);
        port->unchanged = Chance(0.5);
      }
    }
  }

 private:
  std::mt19937 random_;
};

/// One random circuit run twice: by the objects, and through the plan.
class Twins {
 public:
  explicit Twins(RandomCircuits& random) : random_(random) {
    random_.Fill(planned_, 0, random_.Pick(0, 25), PortRole::CircuitInput, PortRole::CircuitOutput);
    reference_ = planned_.CloneCircuit();
    for (int i = random_.Pick(0, 2); i > 0; --i) {
      Edit(5);
    }
  }

  /// One pass, or several with the objects brought up to date only after the last.
  void Passes(int count, std::uint32_t randomState) {
    ProcessRandom().SetState(randomState);
    bool expected = false;
    for (int i = 0; i < count; ++i) {
      expected = reference_->Evaluate();
    }
    ProcessRandom().SetState(randomState);
    if (count == 1) {
      EXPECT_EQ(expected, passes_.RunPass());
    } else {
      passes_.RunPasses(static_cast<std::uint64_t>(count));
    }
    ASSERT_NE(nullptr, passes_.plan());
    fused_ += passes_.plan()->FusedCount();
  }

  std::size_t fused() const { return fused_; }

  void TypeValue() {
    if (!planned_.inputs.empty()) {
      const auto slot = static_cast<std::size_t>(random_.Pick(0, 99)) % planned_.inputs.size();
      planned_.inputs[slot]->value = reference_->inputs[slot]->value = random_.Value();
    }
  }

  void Reset() {
    reference_->Reset();
    passes_.Reset();
  }

  /// The same edit on both, naming ports and parts by their place in the lists. Edit 5 is a
  /// wire from an input, which the editor never draws but a file may hold (and a copy drops).
  void Edit(int what) {
    const auto startValue = static_cast<std::uint32_t>(random_.Pick(0, 1 << 30));
    const auto first = static_cast<std::size_t>(random_.Pick(0, 999));
    const auto second = static_cast<std::size_t>(random_.Pick(0, 999));
    for (SubCircuit* circuit : {&planned_, reference_.get()}) {
      CircuitEdit edit(*circuit);
      const std::vector<Port*> feeders = Ports(*circuit, true);
      const std::vector<Port*> sinks = Ports(*circuit, false);
      auto& parts = circuit->components;
      if (what == 0 && !feeders.empty() && !sinks.empty()) {
        edit.Connect(*feeders[first % feeders.size()], *sinks[second % sinks.size()]);
      } else if (what == 1 && !sinks.empty()) {
        edit.Disconnect(*sinks[second % sinks.size()]);
      } else if (what == 2 && !parts.empty()) {
        edit.Remove(*parts[first % parts.size()]);
      } else if (what == 3) {
        edit.Place(RandomCircuits(startValue).Part(1), 0, 0);  // the same part for both
      } else if (what == 5 && !sinks.empty()) {
        edit.Connect(*sinks[first % sinks.size()], *sinks[second % sinks.size()]);
      } else if (what == 4 && !feeders.empty()) {
        edit.Connect(*feeders[first % feeders.size()], edit.AddJunction(0, 0).port);
      }
    }
  }

  std::string Difference() { return test_support::StateComparison()(*reference_, planned_); }

 private:
  RandomCircuits& random_;
  SubCircuit planned_;
  std::unique_ptr<SubCircuit> reference_;
  CircuitPasses passes_{planned_};
  std::size_t fused_ = 0;
};

TEST(EvaluationPlan, RandomCircuitsRunAsTheObjectsRunThem) {
  std::size_t fused = 0;
  for (std::uint32_t startValue = 1; startValue <= 150; ++startValue) {
    SCOPED_TRACE("startValue " + std::to_string(startValue));
    RandomCircuits random(startValue);
    Twins twins(random);
    for (int step = 0; step < 40; ++step) {
      SCOPED_TRACE("step " + std::to_string(step));
      const int what = random.Pick(0, 9);
      if (what == 0) {
        twins.Edit(random.Pick(0, 5));
      } else if (what == 1) {
        twins.TypeValue();
      } else if (what == 2) {
        twins.Reset();
      }
      twins.Passes(random.Chance(0.8) ? 1 : random.Pick(2, 4),
                   static_cast<std::uint32_t>(random.Pick(0, 1 << 30)));
      ASSERT_EQ("", twins.Difference());
    }
    fused += twins.fused();
  }
  EXPECT_LT(10000u, fused);  // counted at every pass: the runs above are fused, not left aside
}

TEST(EvaluationPlan, AChainOfOneKindIsOneStepAndAForeignWireIsLeftToTheObjects) {
  SubCircuit circuit;
  Port& input = test_support::AddInputTerminal(circuit, 0);
  const Port* previous = &input;
  for (int i = 0; i < 1000; ++i) {
    auto& plus = test_support::Append<TwoInputOperator>(circuit, kind::Plus);
    Connect(*plus.inputs[0], *const_cast<Port*>(previous));
    Connect(*plus.inputs[1], input);
    previous = plus.outputs[0].get();
  }
  // The pull of the input terminal, then every addition with its pulls, the last first.
  auto plan = EvaluationPlan::Compile(circuit);
  EXPECT_EQ(2u, plan->StepCount());
  EXPECT_EQ(1000u, plan->FusedCount());
  // A part with unconnected inputs keeps its pulls, which join the terminal's, and its
  // addition apart.
  test_support::Append<TwoInputOperator>(circuit, kind::Plus);
  plan = EvaluationPlan::Compile(circuit);
  EXPECT_EQ(1000u, plan->FusedCount());
  EXPECT_EQ(3u, plan->StepCount());

  Port outside(PortRole::ComponentOutput);
  outside.value = 5;
  Connect(*circuit.components.back()->inputs[1], outside);
  EXPECT_EQ(nullptr, EvaluationPlan::Compile(circuit));
  CircuitPasses passes(circuit);
  passes.RunPass();
  EXPECT_EQ(5.0f, circuit.components.back()->outputs[0]->value);
}

}  // namespace
}  // namespace trivenor
