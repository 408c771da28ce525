#include "model/component_drawing.h"

#include "model/component_kind.h"
#include "model/drawing_context.h"
#include "model/port_drawing.h"
#include "model/sub_circuit.h"

namespace trivenor {

std::string ShownLabel(const Component& component) {
  if (component.kind == kind::SubCircuit && static_cast<const SubCircuit&>(component).dynamic) {
    return component.label.str() + "(d)";
  }
  return component.label;
}

void SizeBody(Component& component, int textWidth, int lineHeight) {
  component.width = textWidth / 10 * 10 + 20;
  component.height = component.lastRow * 10 + 10;
  if (component.height < 2 * lineHeight + 10) {
    component.height = 2 * lineHeight / 10 * 10 + 20;
  }
}

bool Component::Draw(DrawingContext& dc, const Component* selectedComponent,
                     const Port* selectedPort, int /*charWidth*/, int lineHeight,
                     bool dynamicLines) {
  dc.SelectPen(PenStyle::Solid, thickness, colour);
  const std::string text = ShownLabel(*this);
  const TextSize textSize = dc.MeasureText(text);
  SizeBody(*this, textSize.width, lineHeight);
  dc.Rectangle(x, y, x + width, y + height);
  if (this == selectedComponent) {
    dc.FrameRectangle(x + 3, y + 3, x + width - 3, y + height - 3, kSelectionBlue);
  }
  dc.Text(x + (width - textSize.width) / 2, y + (height - textSize.height) / 2, text);
  dc.SelectBlackPen();
  for (const auto& port : inputs) {
    DrawAsInput(*port, dc, selectedPort, dynamicLines);
  }
  for (const auto& port : outputs) {
    DrawAsOutput(*port, dc, selectedPort);
  }
  return true;
}

// Paper keeps the size of the last screen drawing, so the printed layout matches the canvas
// whatever the printer font measures; the selection is not printed.
bool Component::DrawPrinted(DrawingContext& dc, const Component* /*selectedComponent*/,
                            const Port* /*selectedPort*/, int /*charWidth*/, int /*lineHeight*/) {
  // Inside-frame, so a thick outline does not make the body grow on paper.
  dc.SelectPen(PenStyle::InsideFrame, thickness, colour);
  dc.Rectangle(2 * x, -2 * y, 2 * (x + width), -2 * (y + height));
  const TextSize textSize = dc.MeasureText(label);
  // The printer measures in tenths of a millimetre, half a canvas unit on paper: a quarter of
  // the measured size is half the text's size in canvas units.
  dc.Text(2 * (x + width / 2 - textSize.width / 4), -2 * (y + height / 2 - textSize.height / 4),
          label);
  dc.MoveTo(2 * x, -2 * y);
  dc.LineTo(2 * (x + width), -2 * y);
  dc.SelectBlackPen();
  for (const auto& port : inputs) {
    PrintAsInput(*port, dc);
  }
  for (const auto& port : outputs) {
    PrintAsOutput(*port, dc);
  }
  return true;
}

}  // namespace trivenor
