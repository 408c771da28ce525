#include "view/used_area.h"

#include <algorithm>
#include <climits>

#include "view/canvas_geometry.h"

namespace trivenor {
namespace {

// Grows a box point by point; it starts empty (left > right).
struct Extent {
  int left = INT_MAX;
  int top = INT_MAX;
  int right = INT_MIN;
  int bottom = INT_MIN;

  void Add(int x, int y) {
    left = std::min(left, x);
    top = std::min(top, y);
    right = std::max(right, x);
    bottom = std::max(bottom, y);
  }
  bool IsEmpty() const { return left > right; }
};

// A terminal's row: its value text stands half a pitch above and below the tip.
void AddTerminalRows(Extent& extent, const PortList& terminals, int left, int right) {
  for (const auto& port : terminals) {
    const int y = canvas::TerminalY(port->row);
    extent.Add(left, y - canvas::kTerminalPitch / 2);
    extent.Add(right, y + canvas::kTerminalPitch / 2);
  }
}

}  // namespace

CanvasRect UsedArea(const CTrivenorDoc& document, int margin) {
  const SubCircuit& circuit = document.circuit();
  const int canvasWidth = document.settings.canvasWidth;
  Extent extent;
  AddTerminalRows(extent, circuit.inputs, 0, canvas::kTerminalColumn);
  AddTerminalRows(extent, circuit.outputs, canvas::RightBorder(canvasWidth), canvasWidth);
  for (const auto& component : circuit.components) {
    extent.Add(component->x, component->y);
    extent.Add(component->x + component->width, component->y + component->height);
  }
  for (const auto& junction : circuit.junctions) {
    extent.Add(junction->port.x, junction->port.y);
  }
  if (extent.IsEmpty()) {
    return {0, 0, canvasWidth, canvas::kHeight};
  }
  return {extent.left - margin, extent.top - margin, extent.right + margin, extent.bottom + margin};
}

}  // namespace trivenor
