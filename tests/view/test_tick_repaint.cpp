#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "model/component_kind.h"
#include "model/graph_plot.h"
#include "model/operators.h"
#include "model/output_display.h"
#include "support/circuit_building.h"
#include "view/tick_repaint.h"

namespace trivenor {
namespace {

using test_support::Append;
using Rects = std::vector<CanvasRect>;

// A canvas 600 wide seen through a window 400 wide; character width 10, line height 16.
Rects Collect(const SubCircuit& circuit, bool hasOutputs, int clientRight = 400) {
  Rects rects;
  CollectTickRepaints(circuit, hasOutputs, {600, clientRight, 10, 16}, rects);
  return rects;
}

TEST(TickRepaint, ValueRowsOfChangedOutputsOnly) {
  SubCircuit circuit;
  test_support::AddOutputTerminal(circuit, 0).unchanged = true;
  Port& changed = test_support::AddOutputTerminal(circuit, 1);
  changed.y = 50;
  changed.unchanged = false;

  // Right of the border to the canvas edge, or to a window's edge beyond it; h = 8, 4 more.
  EXPECT_EQ(Collect(circuit, true), (Rects{{511, 38, 599, 62}}));
  EXPECT_EQ(Collect(circuit, true, 750), (Rects{{511, 38, 750, 62}}));
  EXPECT_TRUE(Collect(circuit, false).empty());  // the pass reported no output terminals
}

TEST(TickRepaint, DisplayBoxesAndGraphInteriorsAtEveryTick) {
  SubCircuit circuit;
  auto& display = Append<OutputDisplay>(circuit);
  display.x = 100;
  display.y = 205;
  display.width = 30;
  display.height = 50;
  display.textLength = 12;  // the longer text shown before this pass
  display.label = "äö";     // counted in characters
  auto& graph = Append<GraphPlot>(circuit, GraphSettings{});
  graph.x = 100;
  graph.y = 105;
  graph.width = 54;
  graph.height = 74;
  Append<TwoInputOperator>(circuit, kind::Plus);

  // (12 + 1) * (10 + 1) + 15 = 158 wide, one unit more above and below.
  EXPECT_EQ(Collect(circuit, false), (Rects{{100, 204, 258, 256}, {101, 106, 153, 178}}));
  display.textLength = 0;
  display.width = 500;  // a wider box keeps its width
  EXPECT_EQ(Collect(circuit, false).front(), (CanvasRect{100, 204, 600, 256}));
  display.textLength = INT_MAX;  // from a hostile file: no overflow
  EXPECT_EQ(Collect(circuit, false).front().right, INT_MAX);
}

}  // namespace
}  // namespace trivenor
