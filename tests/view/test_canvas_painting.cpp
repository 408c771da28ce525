#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/component_kind.h"
#include "model/graph_plot.h"
#include "model/operators.h"
#include "model/recording_context.h"
#include "support/circuit_building.h"
#include "view/canvas_painting.h"

namespace trivenor {
namespace {

using test_support::AddInputTerminal;
using test_support::AddJunction;
using test_support::AddOutputTerminal;
using test_support::Append;
using test_support::Connect;
using Calls = std::vector<std::string>;

/// The recording context measures 8 units per character and 16 high, without external leading:
/// a line height of 16 and a character width of 10. The canvas is 600 wide.
class CanvasPaintingTest : public ::testing::Test {
 protected:
  Calls Paint(const ClipBox& clip = {0, 0, 600, 1000}) {
    dc.Take();
    metrics = PaintCanvas(dc, document, edit, {}, clip);
    return dc.Take();
  }
  static std::ptrdiff_t IndexOf(const Calls& calls, const std::string& call) {
    const auto found = std::find(calls.begin(), calls.end(), call);
    return found == calls.end() ? -1 : found - calls.begin();
  }
  static bool Has(const Calls& calls, const std::string& call) { return IndexOf(calls, call) >= 0; }
  /// Both calls were made, `first` before `second`.
  static bool Before(const Calls& calls, const std::string& first, const std::string& second) {
    return Has(calls, first) && IndexOf(calls, first) < IndexOf(calls, second);
  }

  test_support::RecordingContext dc;
  CTrivenorDoc document;
  EditState edit;
  std::optional<CanvasMetrics> metrics;
};

TEST_F(CanvasPaintingTest, EmptyCircuitPaintsOnlyTheBorderLines) {
  EXPECT_EQ(Paint(), (Calls{"Move 90,0", "Line 90,999", "Move 510,0", "Line 510,999"}));
  ASSERT_TRUE(metrics);
  EXPECT_EQ(metrics->charWidth, 10);
  EXPECT_EQ(metrics->lineHeight, 16);
  // Nothing at all for an empty clip or while the document is read.
  EXPECT_TRUE(Paint({10, 10, 10, 500}).empty());
  EXPECT_FALSE(metrics);
  document.loading = true;
  EXPECT_TRUE(Paint().empty());
}

TEST_F(CanvasPaintingTest, TerminalsSitOnTheBordersWithTheirValuesBesideThem) {
  Port& first = AddInputTerminal(document.circuit(), 0);
  AddInputTerminal(document.circuit(), 3).value = 1.5f;
  Port& output = AddOutputTerminal(document.circuit(), 1);
  AddOutputTerminal(document.circuit(), 2).valid = false;
  Connect(output, first);
  output.thickness = 2;
  output.colour = 0xFF0000;
  output.value = -2.0f;

  const Calls calls = Paint();
  EXPECT_EQ(first.y, 20);
  EXPECT_EQ(output.x, 510);
  // Left values end at 85, right ones start at 515; both centred by half their height.
  EXPECT_TRUE(Has(calls, "Text 77,12 0"));
  EXPECT_TRUE(Has(calls, "Text 61,102 1.5"));
  EXPECT_TRUE(Has(calls, "Text 515,42 -2"));
  EXPECT_TRUE(Has(calls, "Text 515,72 xxx"));
  // The wire into an output in its own pen, the stock pen afterwards.
  const auto pen = IndexOf(calls, "Pen Solid 2 FF0000");
  ASSERT_GE(pen, 0);
  EXPECT_EQ(Calls(calls.begin() + pen + 1, calls.begin() + pen + 4),
            (Calls{"Move 510,50", "Line 90,20", "BlackPen"}));
}

TEST_F(CanvasPaintingTest, TypedValueBoxReplacesTheNumberOfTheEditedInput) {
  Port& edited = AddInputTerminal(document.circuit(), 2);
  edited.value = 3.0f;
  edit.mode = EditMode::EditingInputValue;
  edit.valueText = "12,";
  document.editedInput = &edited;

  Calls calls = Paint();
  EXPECT_FALSE(Has(calls, "Text 77,72 3"));
  EXPECT_TRUE(Has(calls, "Rect 2,70,89,90"));  // around y = 80 with a line height of 16
  EXPECT_TRUE(Has(calls, "Text 2,72 12,"));
  EXPECT_TRUE(Has(calls, "Move 88,75"));  // the terminal's tip stays

  edit.mode = EditMode::Idle;
  calls = Paint();
  EXPECT_TRUE(Has(calls, "Text 77,72 3"));
  EXPECT_FALSE(Has(calls, "Rect 2,70,89,90"));
}

TEST_F(CanvasPaintingTest, EveryComponentIsLaidOutBeforeAnyIsDrawn) {
  SubCircuit& circuit = document.circuit();
  auto& consumer = Append<UnaryFunction>(circuit, kind::Absolute);
  consumer.x = 300;
  auto& source = Append<TwoInputOperator>(circuit, kind::Plus);
  source.x = 100;
  source.y = 205;
  source.label = "a label of 24 characters";
  Connect(*consumer.inputs[0], *source.outputs[0]);
  auto& dynamic = Append<SubCircuit>(circuit);
  dynamic.label = "ab";
  dynamic.dynamic = true;

  const Calls calls = Paint();
  // 192 wide text: 210; with a line height of 16 even lastRow 1 is 50 high; "ab(d)" is 40 wide.
  EXPECT_EQ(source.width, 210);
  EXPECT_EQ(source.height, 50);
  EXPECT_EQ(dynamic.width, 60);
  // The first component's wire already ends where the second one's output is laid out.
  EXPECT_TRUE(Before(calls, "Line 310,210", "Rect 100,205,310,255"));
}

TEST_F(CanvasPaintingTest, ClipSkipsComponentsAndJunctionsOrOutputs) {
  auto& component = Append<TwoInputOperator>(document.circuit(), kind::Plus);
  component.x = 200;
  Port& input = AddInputTerminal(document.circuit(), 0);
  Junction& first = AddJunction(document.circuit());
  first.port.x = 300;
  Connect(first.port, input);
  Junction& second = AddJunction(document.circuit());
  second.port.x = 400;
  Connect(second.port, first.port);
  AddOutputTerminal(document.circuit(), 0).value = 4.0f;

  // A value row of the right column, as the clock repaints it: sizes still, draws no bodies.
  Calls calls = Paint({511, 0, 600, 1000});
  EXPECT_TRUE(Has(calls, "Text 515,12 4"));
  EXPECT_FALSE(Has(calls, "Rect 200,0,220,50"));
  EXPECT_FALSE(Has(calls, "Rect 298,-2,302,2"));
  EXPECT_EQ(component.height, 50);

  // Left of the right border the outputs go; all junction wires come before all marks.
  calls = Paint({0, 0, 510, 1000});
  EXPECT_TRUE(Has(calls, "Rect 200,0,220,50"));
  EXPECT_FALSE(Has(calls, "Text 515,12 4"));
  EXPECT_TRUE(Before(calls, "Line 300,0", "Rect 298,-2,302,2"));
}

// Regression: a display box repainted at a tick erased the piece of an output wire inside it.
TEST_F(CanvasPaintingTest, OutputWiresAreDrawnWhateverPartIsRepainted) {
  auto& component = Append<TwoInputOperator>(document.circuit(), kind::Plus);
  component.x = 200;
  component.y = 5;
  Port& output = AddOutputTerminal(document.circuit(), 0);
  Connect(output, *component.outputs[0]);
  Paint();
  const Calls calls = Paint({300, 0, 400, 100});
  const std::ptrdiff_t wire = IndexOf(calls, "Move 510,20");
  ASSERT_GE(wire, 0);
  EXPECT_EQ(calls[static_cast<std::size_t>(wire) + 1], "Line 220,10");
  EXPECT_FALSE(Has(calls, "Text 515,12 0"));
}

// Regression: a repaint of the right column alone left a graph at the size of its empty label.
TEST_F(CanvasPaintingTest, GraphsAreSizedByTheirSettingsEvenWhenNotDrawn) {
  GraphSettings settings;
  settings.widthChars = 20;
  settings.heightLines = 6;
  auto& graph = Append<GraphPlot>(document.circuit(), settings);
  Paint({511, 0, 600, 1000});
  EXPECT_EQ(graph.width, (10 + 1) * 20 + 10);
  EXPECT_EQ(graph.height, 6 * 16 + 10);
}

TEST_F(CanvasPaintingTest, RubberWireAndSnapSquareComeLast) {
  document.selectedPort = &AddInputTerminal(document.circuit(), 1);
  edit.mode = EditMode::DrawingWire;
  edit.wireEnd = {200, 150};
  edit.wireSnapped = true;

  const Calls calls = Paint();
  ASSERT_GE(calls.size(), 8u);
  EXPECT_EQ(Calls(calls.end() - 8, calls.end()),
            (Calls{"BlackPen", "Move 90,50", "Line 200,150", "Move 191,141", "Line 191,159",
                   "Line 209,159", "Line 209,141", "Line 191,141"}));
}

}  // namespace
}  // namespace trivenor
