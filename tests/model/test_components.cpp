#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "model/component_kind.h"
#include "model/constant.h"
#include "model/delay_line.h"
#include "model/graph_plot.h"
#include "model/hazard_filter.h"
#include "model/operators.h"
#include "model/output_display.h"
#include "model/port_numbering.h"
#include "model/sub_circuit.h"
#include "support/circuit_building.h"

namespace trivenor {
namespace {

using test_support::AddInputTerminal;
using test_support::AddJunction;
using test_support::AddOutputTerminal;
using test_support::Append;
using test_support::Connect;

// A port exactly as a constructor must leave it: valid 0, fresh, unwired, default pen.
void ExpectNewPort(const Port& port, PortRole role, int row) {
  EXPECT_EQ(role, port.role);
  EXPECT_EQ(row, port.row);
  EXPECT_EQ(nullptr, port.source);
  EXPECT_TRUE(port.fresh);
  EXPECT_EQ(1, port.thickness);
  EXPECT_EQ(0u, port.colour);
}

void ExpectRows(const PortList& ports, PortRole role, const std::vector<int>& rows) {
  ASSERT_EQ(rows.size(), ports.size());
  for (std::size_t i = 0; i < rows.size(); ++i) {
    SCOPED_TRACE("port " + std::to_string(i));
    ExpectNewPort(*ports[i], role, rows[i]);
  }
}

void ExpectComponentDefaults(const Component& component, int kindCode) {
  EXPECT_EQ(kindCode, component.kind);
  EXPECT_EQ(0, component.x);
  EXPECT_EQ(0, component.y);
  EXPECT_EQ(1, component.thickness);
  EXPECT_EQ(0u, component.colour);
}

struct OperatorCase {
  int code;
  const char* label;
  // The constructor evaluates once with both inputs a valid 0.
  bool outputValid;
  float outputValue;
};

TEST(OperatorConstruction, TwoInputKindsHaveTheirLabelPortsAndFirstEvaluation) {
  // clang-format off
  const OperatorCase cases[] = {
      {kind::Plus, "+", true, 0}, {kind::Minus, "-", true, 0}, {kind::Times, "*", true, 0},
      {kind::Divide, "/", false, 0}, {kind::Power, "h", true, 1}, {kind::And, "U", true, 0},
      {kind::Or, "O", true, 0}, {kind::Equal, "=", true, 1}, {kind::Less, "<", true, 0},
      {kind::Greater, ">", true, 0}, {kind::IntegerDivide, "div", false, 0},
      {kind::Modulo, "mod", false, 0}, {kind::RandomInteger, "zuf", true, 0},
      // Codes of the range that no table names.
      {0, "", true, 0}, {14, "", true, 0}, {99, "", true, 0},
  };
  // clang-format on
  for (const OperatorCase& c : cases) {
    SCOPED_TRACE("kind " + std::to_string(c.code));
    const TwoInputOperator op(c.code);
    ExpectComponentDefaults(op, c.code);
    EXPECT_EQ(c.label, op.label);
    EXPECT_EQ(1, op.lastRow);
    ExpectRows(op.inputs, PortRole::ComponentInput, {0, 1});
    ExpectRows(op.outputs, PortRole::ComponentOutput, {0});
    EXPECT_TRUE(op.inputs[0]->valid);
    EXPECT_EQ(0.0f, op.inputs[0]->value);
    EXPECT_EQ(c.outputValid, op.outputs[0]->valid);
    EXPECT_EQ(c.outputValue, op.outputs[0]->value);
  }
}

TEST(OperatorConstruction, UnaryKindsHaveTheirLabelPortsAndFirstEvaluation) {
  // clang-format off
  const OperatorCase cases[] = {
      {kind::Not, "not", true, 1}, {kind::Floor, "flr", true, 0}, {kind::Ceiling, "cei", true, 0},
      {kind::Log, "log", false, 0}, {kind::SquareRoot, "sqr", true, 0},
      {kind::Sine, "sin", true, 0}, {kind::Cosine, "cos", true, 1},
      {kind::Absolute, "abs", true, 0}, {kind::Tangent, "tan", true, 0},
      {kind::Truncate, "int", true, 0}, {kind::Sign, "sgn", true, 0},
      {kind::RandomFraction, "rnd", true, 0}, {kind::Exp, "exp", true, 1},
      {kind::ArcTangent, "Atan", true, 0}, {kind::Log10, "lg10", false, 0},
      // Codes of the range that no table names.
      {100, "", true, 0}, {116, "", true, 0}, {199, "", true, 0},
  };
  // clang-format on
  for (const OperatorCase& c : cases) {
    SCOPED_TRACE("kind " + std::to_string(c.code));
    const UnaryFunction function(c.code);
    ExpectComponentDefaults(function, c.code);
    EXPECT_EQ(c.label, function.label);
    EXPECT_EQ(1, function.lastRow);
    ExpectRows(function.inputs, PortRole::ComponentInput, {0});
    ExpectRows(function.outputs, PortRole::ComponentOutput, {0});
    EXPECT_EQ(c.outputValid, function.outputs[0]->valid);
    EXPECT_EQ(c.outputValue, function.outputs[0]->value);
  }
}

TEST(KindConstruction, EveryKindHasItsLabelAndPorts) {
  const struct {
    std::unique_ptr<Component> component;
    int kind;
    const char* label;
    std::vector<int> inputRows, outputRows;
  } cases[] = {
      {std::make_unique<DelayLine>(5), kind::DelayLine, "Del 5", {0}, {0}},
      {std::make_unique<DelayLine>(-3), kind::DelayLine, "Del 1", {0}, {0}},
      {std::make_unique<HazardFilter>(0), kind::HazardFilter, "Haz 0", {0}, {0}},
      {std::make_unique<HazardFilter>(-2), kind::HazardFilter, "Haz -2", {0}, {0}},
      {std::make_unique<Constant>("2.5"), kind::Constant, "2.5", {}, {0}},
      {std::make_unique<OutputDisplay>(), kind::OutputDisplay, "", {0}, {}},
      {std::make_unique<SubCircuit>(), kind::SubCircuit, "", {}, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.label);
    ExpectComponentDefaults(*c.component, c.kind);
    EXPECT_EQ(c.label, c.component->label);
    EXPECT_EQ(1, c.component->lastRow);
    ExpectRows(c.component->inputs, PortRole::ComponentInput, c.inputRows);
    ExpectRows(c.component->outputs, PortRole::ComponentOutput, c.outputRows);
  }
}

TEST(KindConstruction, KindsStartWithTheirDefaults) {
  for (const int requested : {-3, 0, 1}) {
    const DelayLine delay(requested);
    EXPECT_EQ(1, delay.length) << requested;
    EXPECT_TRUE(delay.buffer.empty());
  }
  const DelayLine delay(5);
  EXPECT_EQ(5, delay.length);
  EXPECT_EQ(std::vector<float>(4, 0.0f), delay.buffer);
  EXPECT_EQ(0, delay.position);

  const HazardFilter filter(-2);
  EXPECT_EQ(-2, filter.holdTicks) << "not clamped";
  EXPECT_EQ(0, filter.count);
  EXPECT_EQ(0.0f, filter.lastValue);

  const Constant constant("2.5");
  EXPECT_EQ(0.0f, constant.outputs[0]->value) << "a constant is not evaluated yet";
  EXPECT_TRUE(constant.outputs[0]->valid);

  EXPECT_TRUE(OutputDisplay().texts.empty());
}

TEST(KindConstruction, GraphPlotTakesTheManualRangesOnlyWhereTheyApply) {
  const struct {
    bool continuous, autoX, autoY;
    float xMin, xMax, yMin, yMax;
  } cases[] = {
      // Over time the x range is never used, whatever autoX says.
      {true, false, false, 0, 0, -1, 1},   {true, true, true, 0, 0, 0, 0},
      {false, false, false, -2, 2, -1, 1}, {false, false, true, -2, 2, 0, 0},
      {false, true, false, 0, 0, -1, 1},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message()
                 << "continuous " << c.continuous << " autoX " << c.autoX << " autoY " << c.autoY);
    GraphSettings settings;
    settings.continuous = c.continuous;
    settings.autoX = c.autoX;
    settings.autoY = c.autoY;
    settings.points = 7;
    settings.period = 3;
    settings.xMin = -2;
    settings.xMax = 2;
    settings.yMin = -1;
    settings.yMax = 1;
    const GraphPlot graph(settings);
    ExpectComponentDefaults(graph, kind::GraphPlot);
    const std::vector<float> ranges{c.xMin, c.xMax, c.yMin, c.yMax};
    EXPECT_EQ(ranges, (std::vector<float>{graph.xMin, graph.xMax, graph.yMin, graph.yMax}));
    EXPECT_EQ(ranges, (std::vector<float>{graph.xMin0, graph.xMax0, graph.yMin0, graph.yMax0}));
    EXPECT_EQ(0, graph.position);
    EXPECT_EQ(0, graph.tick);
    EXPECT_EQ(3, graph.period);
    EXPECT_EQ(std::vector<float>(7, 0.0f), graph.ySamples);
    EXPECT_EQ(c.continuous ? std::vector<float>{} : std::vector<float>(7, 0.0f), graph.xSamples);
    ExpectRows(graph.inputs, PortRole::ComponentInput, {0, 1, 3});
    EXPECT_TRUE(graph.outputs.empty());
  }
}

TEST(KindConstruction, SubCircuitStartsEmptyAndEvaluated) {
  const SubCircuit circuit;
  EXPECT_TRUE(circuit.components.empty());
  EXPECT_TRUE(circuit.junctions.empty());
  EXPECT_EQ("", circuit.owner);
  EXPECT_EQ("", circuit.path);
  EXPECT_EQ("", circuit.password);
  EXPECT_FALSE(circuit.dynamic);
}

TEST(ComponentGeometry, ContainsIsInclusiveAtTopLeftAndExclusiveAtBottomRight) {
  TwoInputOperator op(kind::Plus);
  op.x = 10;
  op.y = 20;
  op.width = 30;
  op.height = 40;
  const struct {
    int px, py;
    bool inside;
  } cases[] = {
      {10, 20, true},  {39, 59, true},  {25, 40, true},  {9, 20, false},  {10, 19, false},
      {40, 20, false}, {10, 60, false}, {39, 60, false}, {40, 59, false},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.inside, op.Contains(c.px, c.py)) << c.px << ", " << c.py;
  }
  op.width = 0;
  EXPECT_FALSE(op.Contains(10, 20)) << "an unsized body contains nothing";
}

using Tip = std::pair<int, int>;
Tip TipOf(const Port& port) {
  return {port.x, port.y};
}

TEST(ComponentGeometry, LayoutPortsPutsInputsLeftAndOutputsRightByRow) {
  TwoInputOperator op(kind::Minus);
  op.x = 100;
  op.y = 55;
  op.width = 40;
  op.LayoutPorts();
  EXPECT_EQ(Tip(100, 60), TipOf(*op.inputs[0]));
  EXPECT_EQ(Tip(100, 70), TipOf(*op.inputs[1]));
  EXPECT_EQ(Tip(140, 60), TipOf(*op.outputs[0]));

  GraphPlot graph(GraphSettings{});
  graph.x = 10;
  graph.y = 5;
  graph.width = 80;
  graph.LayoutPorts();
  EXPECT_EQ(Tip(10, 40), TipOf(*graph.inputs[2])) << "the reset input sits on row 3";
}

TEST(ComponentGeometry, NumberOutputsCountsOnFromTheFirstNumber) {
  SubCircuit circuit;
  AddOutputTerminal(circuit, 0, PortRole::SubCircuitOutput);
  AddOutputTerminal(circuit, 2, PortRole::SubCircuitOutput);
  PortNumbering numbering;
  EXPECT_EQ(7, circuit.NumberOutputs(5, numbering));
  numbering.Seal();
  EXPECT_EQ(5, numbering.Find(circuit.outputs[0].get()));
  EXPECT_EQ(6, numbering.Find(circuit.outputs[1].get()));

  OutputDisplay display;
  EXPECT_EQ(5, display.NumberOutputs(5, numbering));
}

// A circuit inside a circuit inside the top circuit, with every kind that owns memory and wires
// running in both directions between levels, so that freeing in any order would touch a port
// already freed.
SubCircuit& FillNested(SubCircuit& top) {
  Port& topIn = AddInputTerminal(top, 0);
  auto& middle = Append<SubCircuit>(top);
  Port& middleIn = AddInputTerminal(middle, 0, PortRole::SubCircuitInput);
  Connect(middleIn, topIn);
  auto& inner = Append<SubCircuit>(middle);
  Port& innerIn = AddInputTerminal(inner, 1, PortRole::SubCircuitInput);
  Connect(innerIn, middleIn);
  auto& delay = Append<DelayLine>(inner, 4);
  Connect(*delay.inputs[0], innerIn);
  auto& display = Append<OutputDisplay>(inner);
  display.texts.push_back({1.0f, "eins"});
  Connect(*display.inputs[0], *delay.outputs[0]);
  Append<GraphPlot>(inner, GraphSettings{});
  Junction& junction = AddJunction(inner);
  Connect(junction.port, *delay.outputs[0]);
  Connect(AddOutputTerminal(inner, 0, PortRole::SubCircuitOutput), junction.port);
  Connect(AddOutputTerminal(middle, 0, PortRole::SubCircuitOutput), *inner.outputs[0]);
  // A component before the nested circuit in the list reads from it.
  auto& sum = Append<TwoInputOperator>(middle, kind::Plus);
  Connect(*sum.inputs[0], *inner.outputs[0]);
  std::swap(middle.components.front(), middle.components.back());
  Connect(AddOutputTerminal(top, 0), *middle.outputs[0]);
  AddJunction(top);
  Append<HazardFilter>(top, 2);
  top.owner = "Anna";
  top.path = "/tmp/teil";
  top.password = "geheim";
  top.label = "Titel";
  return middle;
}

TEST(ClearAndDestruction, ClearEmptiesEveryListAndString) {
  SubCircuit top;
  FillNested(top);
  for (int pass = 0; pass < 3; ++pass) {
    top.Evaluate();
  }
  top.Clear();
  EXPECT_TRUE(top.components.empty());
  EXPECT_TRUE(top.junctions.empty());
  EXPECT_TRUE(top.inputs.empty());
  EXPECT_TRUE(top.outputs.empty());
  EXPECT_EQ("", top.owner);
  EXPECT_EQ("", top.path);
  EXPECT_EQ("", top.password);
  EXPECT_EQ("", top.label);
  EXPECT_FALSE(top.Evaluate()) << "a cleared circuit has no output terminals";

  TwoInputOperator op(kind::Plus);
  op.Clear();
  EXPECT_TRUE(op.inputs.empty());
  EXPECT_TRUE(op.outputs.empty());
}

// The sanitizer build reports any leak or use after free of these.
TEST(ClearAndDestruction, DestroyingNestedCircuitsFreesEverythingOnce) {
  {
    SubCircuit top;
    FillNested(top);
    top.Evaluate();
  }
  {
    SubCircuit top;
    SubCircuit& middle = FillNested(top);
    middle.Clear();
    // The top circuit's output terminal read from a port that Clear freed; the editor unwires
    // such ports first, and so does this test before the next pass.
    top.outputs[0]->source = nullptr;
    top.Evaluate();
    EXPECT_TRUE(middle.components.empty());
  }
}

}  // namespace
}  // namespace trivenor
