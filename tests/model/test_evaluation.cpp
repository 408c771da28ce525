#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "model/component_kind.h"
#include "model/constant.h"
#include "model/delay_line.h"
#include "model/operators.h"
#include "model/sub_circuit.h"
#include "support/circuit_building.h"

namespace trivenor {
namespace {

using test_support::AddInputTerminal;
using test_support::AddJunction;
using test_support::AddOutputTerminal;
using test_support::Append;
using test_support::Connect;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();

struct PortState {
  float value;
  bool valid, fresh, unchanged;
};

enum class Source { None, Valid, Invalid };

TEST(PullFromSource, FollowsTheFourCasesInOrder) {
  const struct {
    const char* what;
    PortRole role;
    Source source;
    float sourceValue;
    PortState before, after;
  } cases[] = {
      // clang-format off
      {"a circuit input keeps its typed value, even with a source",
       PortRole::CircuitInput, Source::Valid, 9, {7, false, true, true}, {7, true, true, false}},
      {"an open input reads 0 and reports the first pull",
       PortRole::ComponentInput, Source::None, 0, {5, false, true, true}, {0, true, false, false}},
      {"an open input reports later pulls as unchanged",
       PortRole::ComponentInput, Source::None, 0, {0, true, false, false}, {0, true, false, true}},
      {"an equal value only sets unchanged",
       PortRole::ComponentInput, Source::Valid, 3, {3, true, false, false}, {3, true, false, true}},
      {"a fresh port copies an equal value",
       PortRole::JunctionPoint, Source::Valid, 3, {3, true, true, true}, {3, true, false, false}},
      {"an invalid port copies an equal value",
       PortRole::CircuitOutput, Source::Valid, 3, {3, false, false, true}, {3, true, false, false}},
      {"a new value is copied",
       PortRole::SubCircuitInput, Source::Valid, 4, {3, true, false, true},
       {4, true, false, false}},
      {"a NaN never equals itself, so it is copied",
       PortRole::ComponentInput, Source::Valid, kNaN, {kNaN, true, false, true},
       {kNaN, true, false, false}},
      {"0 equals -0, so the port keeps +0",
       PortRole::ComponentInput, Source::Valid, -0.0f, {0, true, false, false},
       {0, true, false, true}},
      {"an invalid source keeps the last good value",
       PortRole::ComponentInput, Source::Invalid, 9, {3, true, true, false},
       {3, false, true, true}},
      // clang-format on
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    Port source(PortRole::ComponentOutput);
    source.value = c.sourceValue;
    source.valid = c.source == Source::Valid;
    Port port(c.role);
    port.source = c.source == Source::None ? nullptr : &source;
    port.value = c.before.value;
    port.valid = c.before.valid;
    port.fresh = c.before.fresh;
    port.unchanged = c.before.unchanged;
    PullFromSource(port);
    if (std::isnan(c.after.value)) {
      EXPECT_TRUE(std::isnan(port.value));
    } else {
      EXPECT_EQ(std::bit_cast<std::uint32_t>(c.after.value),
                std::bit_cast<std::uint32_t>(port.value));
    }
    EXPECT_EQ(c.after.valid, port.valid);
    EXPECT_EQ(c.after.fresh, port.fresh);
    EXPECT_EQ(c.after.unchanged, port.unchanged);
  }
}

// Two "+" in a chain, A -> B, A fed with 1 and 2 (from circuit inputs or from constants), B's
// second input open. Returns the outputs of A and B after each of three passes.
std::vector<std::pair<float, float>> RunChain(bool fromConstants, bool reversedList) {
  SubCircuit circuit;
  auto& a = Append<TwoInputOperator>(circuit, kind::Plus);
  auto& b = Append<TwoInputOperator>(circuit, kind::Plus);
  Connect(*b.inputs[0], *a.outputs[0]);
  if (fromConstants) {
    Connect(*a.inputs[0], *Append<Constant>(circuit, "1").outputs[0]);
    Connect(*a.inputs[1], *Append<Constant>(circuit, "2").outputs[0]);
  } else {
    Port& one = AddInputTerminal(circuit, 0);
    Port& two = AddInputTerminal(circuit, 1);
    one.value = 1;
    two.value = 2;
    Connect(*a.inputs[0], one);
    Connect(*a.inputs[1], two);
  }
  if (reversedList) {
    std::reverse(circuit.components.begin(), circuit.components.end());
  }
  std::vector<std::pair<float, float>> outputs;
  for (int pass = 0; pass < 3; ++pass) {
    circuit.Evaluate();
    outputs.emplace_back(a.outputs[0]->value, b.outputs[0]->value);
  }
  return outputs;
}

TEST(Latency, EachComponentAddsOnePassWhateverTheListOrder) {
  using Outputs = std::vector<std::pair<float, float>>;
  for (const bool reversed : {false, true}) {
    SCOPED_TRACE(reversed ? "reversed list" : "list in data order");
    EXPECT_EQ((Outputs{{3, 0}, {3, 3}, {3, 3}}), RunChain(false, reversed));
    // A constant sets its output only when it is evaluated: one pass more.
    EXPECT_EQ((Outputs{{0, 0}, {3, 0}, {3, 3}}), RunChain(true, reversed));
  }
}

TEST(Latency, AComponentWiredToItselfCountsOnePerPass) {
  SubCircuit circuit;
  Port& one = AddInputTerminal(circuit, 0);
  one.value = 1;
  auto& counter = Append<TwoInputOperator>(circuit, kind::Plus);
  Connect(*counter.inputs[0], *counter.outputs[0]);
  Connect(*counter.inputs[1], one);
  for (int pass = 1; pass <= 5; ++pass) {
    circuit.Evaluate();
    EXPECT_EQ(static_cast<float>(pass), counter.outputs[0]->value);
  }
}

TEST(CircuitPass, ReportsAChangeExactlyWhenThereAreOutputTerminals) {
  SubCircuit circuit;
  auto& counter = Append<TwoInputOperator>(circuit, kind::Plus);
  Connect(*counter.inputs[0], *counter.outputs[0]);
  Connect(*counter.inputs[1], *Append<Constant>(circuit, "1").outputs[0]);
  for (int pass = 0; pass < 3; ++pass) {
    EXPECT_FALSE(circuit.Evaluate()) << "inner values change, but nobody shows them";
  }
  AddOutputTerminal(circuit, 0);
  for (int pass = 0; pass < 3; ++pass) {
    EXPECT_TRUE(circuit.Evaluate()) << "also in a pass where the open terminal stays 0";
  }
}

TEST(CircuitPass, LastRowIsTheHighestTerminalRowOfThisPass) {
  SubCircuit circuit;
  AddInputTerminal(circuit, 0);
  Port& highInput = AddInputTerminal(circuit, 4);
  Port& output = AddOutputTerminal(circuit, 2);
  circuit.Evaluate();
  EXPECT_EQ(4, circuit.lastRow);
  output.row = 6;
  circuit.Evaluate();
  EXPECT_EQ(6, circuit.lastRow);
  output.row = 0;
  highInput.row = 3;
  circuit.Evaluate();
  EXPECT_EQ(3, circuit.lastRow) << "recomputed, not only grown";
  highInput.row = 0;
  circuit.Evaluate();
  EXPECT_EQ(1, circuit.lastRow) << "at least 1";
}

// A "+" standing before or after a sub-circuit in its parent's list feeds the sub-circuit,
// whose output terminal reads its input terminal directly. Returns the sub-circuit's output
// after each of two passes.
std::vector<float> RunFeedIntoSubCircuit(bool feederFirst) {
  SubCircuit parent;
  Port& five = AddInputTerminal(parent, 0);
  five.value = 5;
  auto feeder = std::make_unique<TwoInputOperator>(kind::Plus);
  Connect(*feeder->inputs[0], five);
  auto inner = std::make_unique<SubCircuit>();
  Port& innerIn = AddInputTerminal(*inner, 0, PortRole::SubCircuitInput);
  Connect(innerIn, *feeder->outputs[0]);
  Connect(AddOutputTerminal(*inner, 0, PortRole::SubCircuitOutput), innerIn);
  const Port& innerOut = *inner->outputs[0];
  if (feederFirst) {
    parent.components.push_back(std::move(feeder));
    parent.components.push_back(std::move(inner));
  } else {
    parent.components.push_back(std::move(inner));
    parent.components.push_back(std::move(feeder));
  }
  std::vector<float> outputs;
  for (int pass = 0; pass < 2; ++pass) {
    parent.Evaluate();
    outputs.push_back(innerOut.value);
  }
  return outputs;
}

TEST(SubCircuitComponent, PullsItsInputsAgainWhenItIsEvaluated) {
  EXPECT_EQ((std::vector<float>{5, 5}), RunFeedIntoSubCircuit(true))
      << "the second pull sees the feeder's output of this pass";
  EXPECT_EQ((std::vector<float>{0, 5}), RunFeedIntoSubCircuit(false));
}

TEST(SubCircuitComponent, UpdateInputsReachesEveryNestedInput) {
  Port source(PortRole::ComponentOutput);
  source.value = 5;
  SubCircuit outer;
  Port& outerIn = AddInputTerminal(outer, 0, PortRole::SubCircuitInput);
  Connect(outerIn, source);
  auto& sum = Append<TwoInputOperator>(outer, kind::Plus);
  Connect(*sum.inputs[1], outerIn);
  auto& inner = Append<SubCircuit>(outer);
  Port& innerIn = AddInputTerminal(inner, 0, PortRole::SubCircuitInput);
  Connect(innerIn, outerIn);
  auto& innerSum = Append<TwoInputOperator>(inner, kind::Plus);
  Connect(*innerSum.inputs[0], innerIn);
  outer.UpdateInputs();
  EXPECT_EQ(5.0f, outerIn.value);
  EXPECT_EQ(5.0f, sum.inputs[1]->value);
  EXPECT_EQ(5.0f, innerIn.value);
  EXPECT_EQ(5.0f, innerSum.inputs[0]->value);
  EXPECT_EQ(0.0f, innerSum.outputs[0]->value) << "pulling evaluates nothing";
}

TEST(SubCircuitComponent, ValuesCrossThreeNestedLevelsInAndOut) {
  SubCircuit top;
  Port& topIn = AddInputTerminal(top, 0);
  topIn.value = 7;
  auto& outer = Append<SubCircuit>(top);
  Port& outerIn = AddInputTerminal(outer, 0, PortRole::SubCircuitInput);
  Connect(outerIn, topIn);
  auto& relay = Append<TwoInputOperator>(outer, kind::Plus);
  Connect(*relay.inputs[0], outerIn);
  auto& middle = Append<SubCircuit>(outer);
  Port& middleIn = AddInputTerminal(middle, 0, PortRole::SubCircuitInput);
  Connect(middleIn, *relay.outputs[0]);
  Junction& bend = AddJunction(middle);
  Connect(bend.port, middleIn);
  auto& inner = Append<SubCircuit>(middle);
  Port& innerIn = AddInputTerminal(inner, 2, PortRole::SubCircuitInput);
  Connect(innerIn, bend.port);
  auto& direct = Append<DelayLine>(inner, 1);
  Connect(*direct.inputs[0], innerIn);
  Connect(AddOutputTerminal(inner, 0, PortRole::SubCircuitOutput), *direct.outputs[0]);
  Connect(AddOutputTerminal(middle, 0, PortRole::SubCircuitOutput), *inner.outputs[0]);
  Connect(AddOutputTerminal(outer, 0, PortRole::SubCircuitOutput), *middle.outputs[0]);
  Port& topOut = AddOutputTerminal(top, 0);
  Connect(topOut, *outer.outputs[0]);

  // Every level pulls its inputs again in its own pass, after the components before it ran.
  EXPECT_TRUE(top.Evaluate());
  EXPECT_EQ(7.0f, topOut.value);
  EXPECT_EQ(2, inner.lastRow);
  topIn.value = 3;
  top.Evaluate();
  EXPECT_EQ(3.0f, topOut.value);

  // With the relay after the middle circuit, the middle circuit reads it a pass late.
  std::swap(outer.components.front(), outer.components.back());
  topIn.value = 11;
  top.Evaluate();
  EXPECT_EQ(3.0f, topOut.value);
  top.Evaluate();
  EXPECT_EQ(11.0f, topOut.value);
}

TEST(Reset, ZeroesPortsButLeavesValidityAlone) {
  TwoInputOperator divide(kind::Divide);
  divide.inputs[0]->value = 4;
  divide.inputs[0]->fresh = false;
  divide.outputs[0]->value = 2;
  divide.outputs[0]->fresh = false;
  divide.Reset();
  for (const Port* port : {divide.inputs[0].get(), divide.outputs[0].get()}) {
    EXPECT_EQ(0.0f, port->value);
    EXPECT_TRUE(port->fresh);
  }
  EXPECT_FALSE(divide.outputs[0]->valid);
}

TEST(Reset, ClearsTheWholeCircuitExceptJunctions) {
  SubCircuit top;
  Port& in = AddInputTerminal(top, 0);
  in.value = 5;
  auto& delay = Append<DelayLine>(top, 3);
  Connect(*delay.inputs[0], in);
  auto& nested = Append<SubCircuit>(top);
  Port& nestedIn = AddInputTerminal(nested, 0, PortRole::SubCircuitInput);
  Connect(nestedIn, in);
  auto& nestedDelay = Append<DelayLine>(nested, 2);
  Connect(*nestedDelay.inputs[0], nestedIn);
  auto& constant = Append<Constant>(top, "7");
  Junction& junction = AddJunction(top);
  Connect(junction.port, *constant.outputs[0]);
  Port& out = AddOutputTerminal(top, 0);
  Connect(out, junction.port);
  for (int pass = 0; pass < 4; ++pass) {
    top.Evaluate();
  }
  ASSERT_EQ(7.0f, out.value);
  ASSERT_EQ(5.0f, delay.outputs[0]->value);

  top.Reset();
  EXPECT_EQ(0.0f, in.value) << "the reset reaches the values the user typed";
  EXPECT_TRUE(in.fresh);
  EXPECT_EQ(0.0f, out.value);
  EXPECT_EQ(std::vector<float>(2, 0.0f), delay.buffer);
  EXPECT_EQ(0.0f, delay.outputs[0]->value);
  EXPECT_EQ(std::vector<float>(1, 0.0f), nestedDelay.buffer);
  EXPECT_EQ(0.0f, nestedIn.value);
  EXPECT_EQ(0.0f, constant.outputs[0]->value);
  EXPECT_EQ(7.0f, junction.port.value) << "junctions are left alone";

  top.Evaluate();
  EXPECT_EQ(7.0f, constant.outputs[0]->value) << "a constant reads its label again";
  EXPECT_EQ(0.0f, in.value);
  for (int pass = 0; pass < 3; ++pass) {
    top.Evaluate();
    EXPECT_EQ(0.0f, delay.outputs[0]->value) << "the ring held nothing from before";
  }
}

}  // namespace
}  // namespace trivenor
