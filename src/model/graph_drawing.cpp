#include <algorithm>
#include <cmath>

#include "model/drawing_context.h"
#include "model/graph_plot.h"
#include "model/port_drawing.h"

namespace trivenor {

namespace {

/// Ranges and samples are arbitrary floats: a manual range of ±3e38 from a file, a NaN or an
/// infinity arriving over a wire. Offsets computed from them are clamped to this distance
/// before they are cut to int, so neither the conversion nor the coordinate sums after it
/// (doubled on paper) can overflow. Nothing this far off the body is visible anyway.
constexpr double kFarOutside = 1e8;

/// Cuts toward zero like the evaluation's truncation; NaN gives 0 as it does there.
int OffsetToInt(double offset) {
  if (std::isnan(offset)) {
    return 0;
  }
  return static_cast<int>(std::clamp(offset, -kFarOutside, kFarOutside));
}

/// Canvas points as they go to the device: unchanged on the screen, doubled with y negated on
/// paper.
class GraphCanvas {
 public:
  GraphCanvas(DrawingContext& dc, bool paper)
      : dc_(dc), factor_(paper ? 2 : 1), yFactor_(paper ? -2 : 1) {}
  void MoveTo(int x, int y) { dc_.MoveTo(factor_ * x, yFactor_ * y); }
  void LineTo(int x, int y) { dc_.LineTo(factor_ * x, yFactor_ * y); }
  void Rectangle(int left, int top, int right, int bottom) {
    dc_.Rectangle(factor_ * left, yFactor_ * top, factor_ * right, yFactor_ * bottom);
  }

 private:
  DrawingContext& dc_;
  int factor_;
  int yFactor_;
};

/// A NaN bound counts as an empty range, like a reversed one.
bool IsEmptyRange(float min, float max) {
  return !(max > min);
}

int NextSlot(int slot, int points) {
  return slot + 1 >= points ? 0 : slot + 1;
}

/// The samples over time: a zero line across the box (not clipped to it), then one line to each
/// sample from the oldest on, starting at the zero line's left end. The walk stops on reaching
/// the newest sample at `position`, so with more than one slot that one is left out.
void PlotOverTime(const GraphPlot& graph, GraphCanvas& canvas, double yScale) {
  const int bottom = graph.y + graph.height;
  const double xStep = (graph.width - 4) / (graph.points + 1.0);
  const int zeroY = bottom - OffsetToInt(-static_cast<double>(graph.yMin) * yScale);
  canvas.MoveTo(graph.x + graph.width, zeroY);
  canvas.LineTo(graph.x, zeroY);
  int slot = NextSlot(graph.position, graph.points);
  int j = 0;
  do {
    const double sample = graph.ySamples[static_cast<std::size_t>(slot)];
    canvas.LineTo(graph.x + OffsetToInt(j * xStep) + 2,
                  bottom - 2 - OffsetToInt((sample - graph.yMin) * yScale));
    slot = NextSlot(slot, graph.points);
    ++j;
  } while (slot != graph.position && j <= graph.points - 1);
}

/// One dot per slot, a line one unit long, in equal units on both axes (the smaller of the two
/// scales) so shapes keep their proportions. Slots never written show as dots at (0, 0).
void PlotPoints(const GraphPlot& graph, GraphCanvas& canvas, double yScale, int dotLift) {
  const double xScale = (graph.width - 4) / (static_cast<double>(graph.xMax) - graph.xMin);
  const double scale = std::min(xScale, yScale);
  const int bottom = graph.y + graph.height;
  for (std::size_t k = 0; k < static_cast<std::size_t>(graph.points); ++k) {
    const double sampleX = graph.xSamples[k];
    const double sampleY = graph.ySamples[k];
    const int px = graph.x + OffsetToInt((sampleX - graph.xMin) * scale) + 2;
    const int py = bottom - dotLift - OffsetToInt((sampleY - graph.yMin) * scale);
    canvas.MoveTo(px, py);
    canvas.LineTo(px + 1, py);
  }
}

/// Plots the samples of a graph with a non-empty y range. In point mode an empty x range plots
/// nothing and gives false: the graph then shows its body alone, without ports.
bool PlotSamples(const GraphPlot& graph, GraphCanvas& canvas, int dotLift) {
  const double yScale = (graph.height - 4) / (static_cast<double>(graph.yMax) - graph.yMin);
  if (graph.continuous) {
    PlotOverTime(graph, canvas, yScale);
    return true;
  }
  if (IsEmptyRange(graph.xMin, graph.xMax)) {
    return false;
  }
  PlotPoints(graph, canvas, yScale, dotLift);
  return true;
}

}  // namespace

void GraphPlot::SizeOnScreen(int charWidth, int lineHeight) {
  width = (charWidth + 1) * widthChars + 10;
  height = heightLines * lineHeight + 10;
}

bool GraphPlot::Draw(DrawingContext& dc, const Component* selectedComponent,
                     const Port* selectedPort, int charWidth, int lineHeight,
                     bool /*dynamicLines*/) {
  dc.SelectPen(PenStyle::Solid, thickness, colour);
  SizeOnScreen(charWidth, lineHeight);
  dc.Rectangle(x, y, x + width, y + height);
  if (this == selectedComponent) {
    dc.FrameRectangle(x + 3, y + 3, x + width - 3, y + height - 3, kSelectionBlue);
  }
  // The curve is black.
  dc.SelectBlackPen();
  GraphCanvas canvas(dc, false);
  if (!IsEmptyRange(yMin, yMax) && !PlotSamples(*this, canvas, 2)) {
    return true;
  }
  for (const auto& port : inputs) {
    // Graph inputs keep their own wire colour under dynamic lines.
    DrawAsInput(*port, dc, selectedPort, false);
  }
  return true;
}

bool GraphPlot::DrawPrinted(DrawingContext& dc, const Component* /*selectedComponent*/,
                            const Port* /*selectedPort*/, int charWidth, int lineHeight) {
  dc.SelectPen(PenStyle::Solid, thickness, colour);
  // The printer font is measured in tenths of a millimetre, half a canvas unit on paper.
  width = (charWidth + 1) * widthChars / 2 + 10;
  height = heightLines * lineHeight / 2 + 10;
  GraphCanvas canvas(dc, true);
  canvas.Rectangle(x, y, x + width, y + height);
  dc.SelectBlackPen();
  if (IsEmptyRange(yMin, yMax) || !PlotSamples(*this, canvas, 1)) {
    return true;
  }
  for (const auto& port : inputs) {
    PrintAsInput(*port, dc);
  }
  return true;
}

}  // namespace trivenor
