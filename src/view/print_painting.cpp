#include "view/print_painting.h"

#include <string>

#include "model/number_text.h"
#include "model/port_drawing.h"
#include "view/canvas_geometry.h"
#include "view/worksheet_values.h"

namespace trivenor {
namespace {

void PrintBorderLines(DrawingContext& dc) {
  for (const int x : {paper::kLeftBorder, paper::kRightBorder}) {
    dc.MoveTo(x, 0);
    dc.LineTo(x, paper::kBorderBottom);
  }
}

void PrintFooter(DrawingContext& dc, const SubCircuit& circuit) {
  if (!circuit.owner.empty()) {
    dc.Text(paper::kFooterX, paper::kFooterY, circuit.label.str() + " von " + circuit.owner);
  }
}

// The text's top lies half its (printer) height above the terminal: a quarter of the height in
// canvas units, doubled and turned upwards.
int ValueTextTop(int textHeight, int portY) {
  return 2 * (textHeight / 4 - portY);
}

void PrintCircuitInputs(DrawingContext& dc, CTrivenorDoc& document, const EditState& edit) {
  const bool typing = edit.mode == EditMode::EditingInputValue;
  for (const auto& port : document.circuit().inputs) {
    port->x = canvas::kTerminalColumn;
    port->y = canvas::TerminalY(port->row);
    if (typing && port.get() == document.editedInput) {
      continue;  // half-typed text is no value to put on paper
    }
    PrintAsInput(*port, dc);
    const std::string text = FormatValue(port->value);
    const TextSize size = dc.MeasureText(text);
    dc.Text(paper::kInputValueEnd - size.width, ValueTextTop(size.height, port->y), text);
  }
}

void PrintCircuitOutputs(DrawingContext& dc, CTrivenorDoc& document, bool worksheet) {
  for (const auto& port : document.circuit().outputs) {
    port->x = paper::kOutputColumn;
    port->y = canvas::TerminalY(port->row);
    PrintAsOutput(*port, dc);
    const std::string text = worksheet     ? kHiddenValue
                             : port->valid ? FormatValue(port->value)
                                           : "xxx";
    dc.Text(paper::kOutputValueStart, ValueTextTop(dc.MeasureText(text).height, port->y), text);
    if (port->source != nullptr) {
      dc.SelectPen(PenStyle::Solid, port->thickness, port->colour);
      dc.MoveTo(2 * port->x, -2 * port->y);
      dc.LineTo(2 * port->source->x, -2 * port->source->y);
      dc.SelectBlackPen();
    }
  }
}

}  // namespace

std::optional<CanvasMetrics> PrintCanvas(DrawingContext& dc, CTrivenorDoc& document,
                                         const EditState& edit, bool worksheet) {
  if (document.loading) {
    return std::nullopt;
  }
  const TextMetrics font = dc.Metrics();
  const CanvasMetrics metrics{font.averageCharWidth + 2, font.height + font.externalLeading};
  SubCircuit& circuit = document.circuit();
  const HiddenDisplayValues hidden(circuit, worksheet);

  PrintBorderLines(dc);
  PrintFooter(dc, circuit);
  PrintCircuitInputs(dc, document, edit);
  // Every port is laid out before any wire is drawn to it.
  for (const auto& component : circuit.components) {
    component->LayoutPorts();
  }
  for (const auto& component : circuit.components) {
    component->DrawPrinted(dc, document.selectedComponent, document.selectedPort, metrics.charWidth,
                           metrics.lineHeight);
  }
  PrintCircuitOutputs(dc, document, worksheet);
  for (const auto& junction : circuit.junctions) {
    PrintWire(*junction, dc);
  }
  for (const auto& junction : circuit.junctions) {
    PrintMark(*junction, dc);
  }
  return metrics;
}

}  // namespace trivenor
