#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <string>
#include <utility>
#include <vector>

#include "model/component_drawing.h"
#include "model/component_kind.h"
#include "model/constant.h"
#include "model/graph_plot.h"
#include "model/operators.h"
#include "model/port_drawing.h"
#include "model/sub_circuit.h"
#include "recording_context.h"
#include "support/circuit_building.h"

namespace trivenor {
namespace {

using Calls = std::vector<std::string>;
using test_support::RecordingContext;

constexpr int kLineHeight = 16;

/// The editor's order: a first paint sizes the body, the ports are laid out, and the next paint
/// is the one recorded.
Calls DrawLaidOut(Component& component, RecordingContext& dc,
                  const Component* selectedComponent = nullptr, const Port* selectedPort = nullptr,
                  bool dynamicLines = false, int lineHeight = kLineHeight) {
  component.Draw(dc, nullptr, nullptr, dc.charWidth + 2, lineHeight, false);
  component.LayoutPorts();
  dc.Take();
  EXPECT_TRUE(component.Draw(dc, selectedComponent, selectedPort, dc.charWidth + 2, lineHeight,
                             dynamicLines));
  return dc.Take();
}

int CountStartingWith(const Calls& calls, const std::string& prefix) {
  return static_cast<int>(std::count_if(calls.begin(), calls.end(), [&](const std::string& call) {
    return call.rfind(prefix, 0) == 0;
  }));
}

/// Up to `count` calls from `from` on; shorter when the recording is, so a wrong length fails
/// the comparison instead of reading past the end.
Calls Slice(const Calls& calls, std::size_t from, std::size_t count) {
  from = std::min(from, calls.size());
  count = std::min(count, calls.size() - from);
  return Calls(calls.begin() + static_cast<std::ptrdiff_t>(from),
               calls.begin() + static_cast<std::ptrdiff_t>(from + count));
}

TEST(ComponentDrawing, BodyTextAndPortsInOrder) {
  TwoInputOperator plus(kind::Plus);
  plus.x = 100;
  plus.y = 45;
  RecordingContext dc;
  // Inputs a and b 5 and 15 below the top, chevrons opening away from the body.
  EXPECT_EQ((Calls{"Pen Solid 1 000000", "Rect 100,45,120,95", "Text 106,62 +", "BlackPen",
                   "Move 98,45", "Line 100,50", "Line 98,55", "Move 98,55", "Line 100,60",
                   "Line 98,65", "Move 122,45", "Line 120,50", "Line 122,55"}),
            DrawLaidOut(plus, dc));
}

TEST(ComponentDrawing, BodySizeFollowsTextWidthAndLineHeight) {
  struct Case {
    const char* label;
    int charWidth;
    int lastRow;
    int lineHeight;
    int width;
    int height;
  };
  const Case cases[] = {
      {"", 8, 1, kLineHeight, 20, 50},   // empty label; two text lines beat lastRow 1
      {"abcde", 7, 1, 5, 50, 20},        // 35 units of text; a low font keeps 20
      {"abc", 3, 1, 5, 20, 20},          // 9 units: 11 units of margin
      {"abcde", 2, 1, 5, 30, 20},        // 10 units: 20 units of margin
      {"x", 8, 3, 15, 20, 40},           // 40 is not below 2 * 15 + 10
      {"x", 8, 3, kLineHeight, 20, 50},  // 40 is below 42
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.label + std::string(" line height ") + std::to_string(c.lineHeight));
    Constant constant(c.label);
    constant.lastRow = c.lastRow;
    RecordingContext dc;
    dc.charWidth = c.charWidth;
    DrawLaidOut(constant, dc, nullptr, nullptr, false, c.lineHeight);
    EXPECT_EQ(c.width, constant.width);
    EXPECT_EQ(c.height, constant.height);
  }
}

TEST(ComponentDrawing, TextCentringCutsHalvesTowardZero) {
  Constant constant("abc");  // 9 wide in a 20-wide body: 11 / 2 = 5
  constant.x = 10;
  constant.y = 5;
  RecordingContext dc;
  dc.charWidth = 3;
  dc.textHeight = 25;  // taller than the 20-unit body: -5 / 2 = -2, not -3
  EXPECT_EQ("Text 15,3 abc", DrawLaidOut(constant, dc, nullptr, nullptr, false, 5)[2]);
}

TEST(ComponentDrawing, SelectionMarks) {
  TwoInputOperator plus(kind::Plus);
  plus.x = 100;
  plus.y = 45;
  plus.colour = 0xFF;
  plus.thickness = 2;
  RecordingContext dc;
  EXPECT_EQ((Calls{"Pen Solid 2 0000FF", "Rect 100,45,120,95", "Frame 103,48,117,92 FF0000",
                   "Text 106,62 +", "BlackPen"}),
            Slice(DrawLaidOut(plus, dc, &plus), 0, 5));
  TwoInputOperator other(kind::Minus);
  EXPECT_EQ(0, CountStartingWith(DrawLaidOut(other, dc, &plus), "Frame"));

  // A selected port's second chevron lies nearer the body: after an input's tip, before an
  // output's.
  EXPECT_EQ((Calls{"Move 98,45", "Line 100,50", "Line 98,55", "Move 97,45", "Line 99,50",
                   "Line 97,55", "Move 98,55"}),
            Slice(DrawLaidOut(plus, dc, nullptr, plus.inputs[0].get()), 4, 7));
  EXPECT_EQ((Calls{"Line 98,65", "Move 123,45", "Line 121,50", "Line 123,55", "Move 122,45"}),
            Slice(DrawLaidOut(plus, dc, nullptr, plus.outputs[0].get()), 9, 5));
}

TEST(ComponentDrawing, DynamicSubCircuitShowsItsMarkOnScreenOnly) {
  SubCircuit inner;
  inner.label = "Sub";
  inner.dynamic = true;
  for (const int slot : {0, 1, 4}) {
    test_support::AddOutputTerminal(inner, slot, PortRole::SubCircuitOutput);
  }
  inner.Evaluate();
  EXPECT_EQ(4, inner.lastRow);
  EXPECT_EQ("Sub(d)", ShownLabel(inner));

  RecordingContext dc;
  const Calls calls = DrawLaidOut(inner, dc);
  EXPECT_EQ("Text 6,17 Sub(d)", calls[2]);  // 48 wide in a body of 60 by 50
  EXPECT_EQ(60, inner.width);
  EXPECT_EQ(50, inner.height);
  // Rows 2 and 3 stay empty.
  EXPECT_EQ((Calls{"Line 60,5", "Line 60,15", "Line 60,45"}),
            (Calls{calls[5], calls[8], calls[11]}));

  RecordingContext paper;
  inner.DrawPrinted(paper, nullptr, nullptr, 10, 32);
  EXPECT_EQ("Text 48,-42 Sub", paper.calls[2]);

  inner.dynamic = false;
  EXPECT_EQ("Sub", ShownLabel(inner));
}

TEST(ComponentDrawing, PrintedDoubledWithYNegatedAndWithoutSelection) {
  TwoInputOperator plus(kind::Plus);
  plus.x = 100;
  plus.y = 45;
  RecordingContext screen;
  DrawLaidOut(plus, screen);

  RecordingContext paper;
  paper.charWidth = 16;  // would make the body 30 wide if paper sized it again
  paper.textHeight = 32;
  EXPECT_TRUE(plus.DrawPrinted(paper, &plus, plus.inputs[0].get(), 18, 32));
  // The top edge is drawn once more after the text.
  EXPECT_EQ((Calls{"Pen InsideFrame 1 000000", "Rect 200,-90,240,-190", "Text 212,-124 +",
                   "Move 200,-90", "Line 240,-90", "BlackPen", "Move 196,-90", "Line 200,-100",
                   "Line 196,-110", "Move 196,-110", "Line 200,-120", "Line 196,-130",
                   "Move 244,-90", "Line 240,-100", "Line 244,-110"}),
            paper.calls);
}

TEST(WireDrawing, LighteningRaisesEveryColourPartToHalf) {
  EXPECT_EQ(0x808080u, LightenedWireColour(0));
  EXPECT_EQ(0xFF8080u, LightenedWireColour(0xFF0000));  // blue
  EXPECT_EQ(0x8080FFu, LightenedWireColour(0xFF));      // red
  EXPECT_EQ(0xFFFFFFu, LightenedWireColour(0xFFFFFF));
  EXPECT_EQ(0x808081u, LightenedWireColour(0x7F7F81));
}

TEST(WireDrawing, InputWireLightenedOnScreenOnlyWhileTheSourceIsZero) {
  Port source{PortRole::ComponentOutput};
  source.x = 40;
  source.y = 70;
  Port input{PortRole::ComponentInput};
  input.x = 100;
  input.y = 50;
  input.source = &source;
  const auto wire = [&](bool dynamicLines) {
    RecordingContext dc;
    DrawAsInput(input, dc, nullptr, dynamicLines);
    return Slice(dc.calls, 3, dc.calls.size() - 3);  // after the tip
  };
  EXPECT_EQ((Calls{"Pen Solid 1 808080", "Move 100,50", "Line 40,70", "BlackPen"}), wire(true));
  input.colour = 0xFF0000;
  input.thickness = 4;
  EXPECT_EQ((Calls{"Pen Solid 4 FF8080", "Move 97,50", "Line 40,70", "BlackPen"}), wire(true));
  EXPECT_EQ("Pen Solid 4 FF0000", wire(false)[0]);

  RecordingContext paper;
  PrintAsInput(input, paper);
  EXPECT_EQ((Calls{"Move 196,-90", "Line 200,-100", "Line 196,-110", "Pen Solid 4 FF0000",
                   "Move 197,-100", "Line 80,-140", "BlackPen"}),
            paper.calls);

  source.value = 1;
  EXPECT_EQ("Pen Solid 4 FF0000", wire(true)[0]);
  input.source = nullptr;
  EXPECT_TRUE(wire(true).empty());
}

TEST(JunctionDrawing, WireAndMarksOnScreenAndPaper) {
  Port source{PortRole::ComponentOutput};
  source.x = 40;
  source.y = 70;
  Junction junction;
  junction.port.x = 200;
  junction.port.y = 150;
  RecordingContext dc;
  DrawWire(junction, dc, nullptr, true);
  EXPECT_TRUE(dc.Take().empty()) << "no source, no wire";

  junction.port.source = &source;
  DrawWire(junction, dc, &junction.port, true);
  EXPECT_EQ((Calls{"Pen Solid 1 808080", "Move 200,150", "Line 40,70", "BlackPen"}), dc.Take());
  DrawMark(junction, dc, nullptr);
  EXPECT_EQ((Calls{"Rect 198,148,202,152"}), dc.Take());
  DrawMark(junction, dc, &junction.port);
  EXPECT_EQ((Calls{"Rect 198,148,202,152", "Rect 199,149,201,151"}), dc.Take());

  PrintWire(junction, dc);
  PrintMark(junction, dc);
  EXPECT_EQ((Calls{"Pen Solid 1 000000", "Move 400,-300", "Line 80,-140", "BlackPen",
                   "Rect 396,-296,404,-304"}),
            dc.Take());
}

GraphSettings TimeGraph(int points) {
  return {.continuous = true,
          .autoY = false,
          .heightLines = 2,
          .widthChars = 14,
          .points = points,
          .period = 1,
          .yMin = -1,
          .yMax = 1};
}

// On the screen a character width of 13 and a line height of 47 make the box 206 by 104: a time
// step of 202 / 101 = 2 units for 100 points and 50 units per unit of y from -1 to 1. Paper
// measures its font twice as fine and gets the same box, doubled.
constexpr int kScreenCharWidth = 13;
constexpr int kPaperCharWidth = 27;
constexpr int kScreenLineHeight = 47;
constexpr int kPaperLineHeight = 94;

/// Puts a graph at (200, 100) and lays out its inputs: y at 105, x at 115, reset at 135.
void Place(GraphPlot& graph) {
  graph.x = 200;
  graph.y = 100;
  graph.LayoutPorts();
}

Calls DrawGraph(GraphPlot& graph, const Component* selected = nullptr,
                int charWidth = kScreenCharWidth) {
  RecordingContext dc;
  EXPECT_TRUE(graph.Draw(dc, selected, nullptr, charWidth, kScreenLineHeight, true));
  return dc.calls;
}

Calls PrintGraph(GraphPlot& graph, int charWidth = kPaperCharWidth) {
  RecordingContext paper;
  EXPECT_TRUE(graph.DrawPrinted(paper, &graph, nullptr, charWidth, kPaperLineHeight));
  return paper.calls;
}

TEST(GraphDrawing, FullRingShowsAllButTheNewestSampleFromTheOldestOn) {
  GraphPlot graph(TimeGraph(100));
  Place(graph);
  graph.position = 30;
  graph.ySamples[31] = 0.5f;  // oldest
  graph.ySamples[29] = -1.0f;
  graph.ySamples[30] = 1.0f;  // newest, not drawn

  const Calls calls = DrawGraph(graph);
  ASSERT_EQ(3u + 2u + 99u + 9u, calls.size());
  EXPECT_EQ((Calls{"Pen Solid 1 000000", "Rect 200,100,406,204", "BlackPen", "Move 406,154",
                   "Line 200,154", "Line 202,127", "Line 204,152"}),
            Slice(calls, 0, 7));
  EXPECT_EQ((Calls{"Line 398,202", "Move 198,100"}), Slice(calls, 103, 2));

  const Calls printed = PrintGraph(graph);
  ASSERT_EQ(3u + 2u + 99u + 9u, printed.size());
  EXPECT_EQ((Calls{"Pen Solid 1 000000", "Rect 400,-200,812,-408", "BlackPen", "Move 812,-308",
                   "Line 400,-308", "Line 404,-254"}),
            Slice(printed, 0, 6));
  EXPECT_EQ((Calls{"Line 796,-404", "Move 396,-200"}), Slice(printed, 103, 2));
}

TEST(GraphDrawing, SingleSlotIsDrawnAndTheZeroLineIsNotClipped) {
  GraphPlot single(TimeGraph(1));
  Place(single);
  single.ySamples[0] = 0.5f;
  const Calls calls = DrawGraph(single);
  EXPECT_EQ((Calls{"Move 406,154", "Line 200,154", "Line 202,127", "Move 198,100"}),
            Slice(calls, 3, 4));

  GraphSettings above = TimeGraph(1);
  above.yMin = 0.5f;  // zero lies 100 units below the box
  GraphPlot high(above);
  Place(high);
  EXPECT_EQ("Move 406,304", DrawGraph(high)[3]);
}

TEST(GraphDrawing, SelectionFrameOnScreenAndInputWiresNeverLightened) {
  GraphPlot graph(TimeGraph(1));
  Place(graph);
  Port source{PortRole::ComponentOutput};
  graph.inputs[0]->source = &source;
  const Calls calls = DrawGraph(graph, &graph);
  EXPECT_EQ("Frame 203,103,403,201 FF0000", calls[2]);
  EXPECT_EQ(2, CountStartingWith(calls, "Pen Solid 1 000000"));  // the body and the wire
  EXPECT_EQ(0, CountStartingWith(calls, "Pen Solid 1 808080"));
  EXPECT_EQ(0, CountStartingWith(PrintGraph(graph), "Frame"));
}

TEST(GraphDrawing, PointsUseTheSmallerScaleOnBothAxes) {
  GraphPlot graph(
      {.continuous = false, .heightLines = 2, .widthChars = 17, .points = 3, .period = 1});
  Place(graph);
  const std::pair<float, float> samples[] = {{0.0f, 0.0f}, {5.0f, 0.5f}, {10.0f, 1.0f}};
  for (const auto& [x, y] : samples) {
    graph.inputs[0]->value = y;
    graph.inputs[1]->value = x;
    graph.Evaluate();
  }
  ASSERT_EQ(10.0f, graph.xMax);
  ASSERT_EQ(1.0f, graph.yMax);

  // 125 units for x from 0 to 10 against 100 for y from 0 to 1: 12.5 units per unit on both.
  const Calls calls = DrawGraph(graph, nullptr, 6);
  EXPECT_EQ((Calls{"Rect 200,100,329,204", "BlackPen", "Move 327,190", "Line 328,190",
                   "Move 202,202", "Line 203,202", "Move 264,196", "Line 265,196", "Move 198,100"}),
            Slice(calls, 1, 9));

  // On paper the dots sit one unit above the bottom edge instead of two.
  const Calls printed = PrintGraph(graph, 2 * 6 + 1);
  EXPECT_EQ((Calls{"Rect 400,-200,658,-408", "BlackPen", "Move 654,-382", "Line 656,-382"}),
            Slice(printed, 1, 4));
  EXPECT_EQ("Move 396,-200", printed[9]);
}

TEST(GraphDrawing, EmptyRangesPlotNothing) {
  struct Case {
    const char* name;
    bool continuous;
    bool autoX;
    bool autoY;
    bool portsOnScreen;
  };
  const Case cases[] = {
      {"time mode, automatic y before the first sample", true, true, true, true},
      {"time mode, reversed manual y range", true, true, false, true},
      {"point mode, both automatic before the first sample", false, true, true, true},
      {"point mode, automatic x, manual y", false, true, false, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    GraphSettings settings = TimeGraph(10);
    settings.continuous = c.continuous;
    settings.autoX = c.autoX;
    settings.autoY = c.autoY;
    if (c.continuous && !c.autoY) {
      std::swap(settings.yMin, settings.yMax);
    }
    GraphPlot graph(settings);
    Place(graph);
    const Calls body = {"Pen Solid 1 000000", "Rect 200,100,406,204", "BlackPen"};

    const Calls calls = DrawGraph(graph);
    if (c.portsOnScreen) {
      ASSERT_EQ(body.size() + 9, calls.size());
      EXPECT_EQ("Move 198,100", calls[3]);
    } else {
      EXPECT_EQ(body, calls);
    }
    // Paper leaves the body alone whichever range is empty.
    EXPECT_EQ(3u, PrintGraph(graph).size());
  }
}

TEST(GraphDrawing, ExtremeRangesAndNonNumbersStayWithinIntCoordinates) {
  GraphSettings wide = TimeGraph(4);
  wide.yMin = -3e38f;
  wide.yMax = 3e38f;
  GraphPlot graph(wide);
  Place(graph);
  graph.ySamples = {0.0f, std::nanf(""), std::numeric_limits<float>::infinity(),
                    -std::numeric_limits<float>::infinity()};
  EXPECT_EQ((Calls{"Line 202,202", "Line 242,-99999798", "Line 282,100000202"}),
            Slice(DrawGraph(graph), 5, 3));
  EXPECT_EQ("Line 564,-200000404", PrintGraph(graph)[7]);

  // Zero lies far outside a narrow range at 1e30.
  GraphSettings narrow = TimeGraph(4);
  narrow.yMin = 1e30f;
  narrow.yMax = std::nextafter(1e30f, 2e30f);
  GraphPlot far(narrow);
  Place(far);
  EXPECT_EQ("Move 406,100000204", DrawGraph(far)[3]);
  EXPECT_EQ("Move 812,-200000408", PrintGraph(far)[3]);

  // A NaN bound makes an empty range.
  GraphSettings points = TimeGraph(4);
  points.continuous = false;
  points.autoX = false;
  points.xMax = std::nanf("");
  GraphPlot undefinedX(points);
  Place(undefinedX);
  EXPECT_EQ(3u, DrawGraph(undefinedX).size());
}

}  // namespace
}  // namespace trivenor
