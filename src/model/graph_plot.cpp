#include "model/graph_plot.h"

#include <algorithm>

#include "model/component_kind.h"

namespace trivenor {

GraphPlot::GraphPlot(const GraphSettings& settings)
    : Component(kind::GraphPlot),
      continuous(settings.continuous),
      autoX(settings.autoX),
      autoY(settings.autoY),
      heightLines(settings.heightLines),
      widthChars(settings.widthChars),
      // The ring needs at least one slot; the dialog and the file reader never ask for fewer.
      points(std::max(settings.points, 1)),
      period(settings.period) {
  if (!autoX && !continuous) {
    xMin = xMin0 = settings.xMin;
    xMax = xMax0 = settings.xMax;
  }
  if (!autoY) {
    yMin = yMin0 = settings.yMin;
    yMax = yMax0 = settings.yMax;
  }
  ySamples.assign(static_cast<std::size_t>(points), 0.0f);
  if (!continuous) {
    xSamples.assign(static_cast<std::size_t>(points), 0.0f);
  }
  inputs.reserve(3);
  AddInput(0);
  AddInput(1);
  AddInput(3);
  lastRow = 3;
}

bool GraphPlot::Evaluate() {
  const Port& y = *inputs[0];
  const Port& x = *inputs[1];
  const Port& reset = *inputs[2];
  if (reset.value > 0) {
    Reset();
  }
  if (!y.valid || !x.valid) {
    return false;
  }
  if (++tick < period) {
    return false;
  }
  tick = 0;
  if (++position >= points) {
    position = 0;
  }
  if (yMax <= yMin) {
    yMax = static_cast<float>(yMin + 0.1);
  }
  if (xMax <= xMin) {
    xMax = static_cast<float>(xMin + 0.1);
  }
  // A refused sample has still moved the position: its slot keeps what it held.
  if (y.value < yMin) {
    if (!autoY) {
      return false;
    }
    yMin = y.value;
  }
  if (y.value > yMax) {
    if (!autoY) {
      return false;
    }
    yMax = y.value;
  }
  const auto slot = static_cast<std::size_t>(position);
  if (continuous) {
    ySamples[slot] = y.value;
    return true;
  }
  if (x.value < xMin) {
    if (!autoX) {
      return false;
    }
    xMin = x.value;
  }
  if (x.value > xMax) {
    if (!autoX) {
      return false;
    }
    xMax = x.value;
  }
  ySamples[slot] = y.value;
  xSamples[slot] = x.value;
  return true;
}

void GraphPlot::Reset() {
  position = 0;
  tick = 0;
  xMin = xMin0;
  yMin = yMin0;
  xMax = xMax0;
  yMax = yMax0;
  std::fill(ySamples.begin(), ySamples.end(), 0.0f);
  std::fill(xSamples.begin(), xSamples.end(), 0.0f);
}

}  // namespace trivenor
