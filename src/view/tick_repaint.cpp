#include "view/tick_repaint.h"

#include <algorithm>
#include <climits>
#include <cstdint>

#include "model/component_kind.h"
#include "model/output_display.h"
#include "model/utf8_text.h"
#include "view/canvas_geometry.h"

namespace trivenor {
namespace {

// Texts come from files and may be of any length: the widened box is computed wide and cut to
// what an int can hold.
int Clamped(std::int64_t value) {
  return static_cast<int>(std::clamp<std::int64_t>(value, INT_MIN, INT_MAX));
}

CanvasRect OutputDisplayBox(const OutputDisplay& display, int charWidth) {
  const std::int64_t characters =
      std::max<std::int64_t>(display.textLength, CharacterCount(display.label));
  const std::int64_t width =
      std::max<std::int64_t>(display.width, (characters + 1) * (charWidth + 1) + 15);
  return {display.x, display.y - 1, Clamped(display.x + width),
          Clamped(static_cast<std::int64_t>(display.y) + display.height + 1)};
}

}  // namespace

void CollectTickRepaints(const SubCircuit& circuit, bool hasOutputs, const TickLayout& layout,
                         std::vector<CanvasRect>& rects) {
  if (hasOutputs) {
    const int right = std::max(layout.canvasWidth - 1, layout.clientRight);
    const int left = canvas::RightBorder(layout.canvasWidth) + 1;
    const int halfLine = layout.lineHeight / 2;
    for (const auto& port : circuit.outputs) {
      if (!port->unchanged) {
        rects.push_back({left, port->y - halfLine - 4, right, port->y + halfLine + 4});
      }
    }
  }
  for (const auto& component : circuit.components) {
    if (const auto* display = dynamic_cast<const OutputDisplay*>(component.get())) {
      rects.push_back(OutputDisplayBox(*display, layout.charWidth));
    } else if (component->kind == kind::GraphPlot) {
      rects.push_back({component->x + 1, component->y + 1, component->x + component->width - 1,
                       component->y + component->height - 1});
    }
  }
}

}  // namespace trivenor
