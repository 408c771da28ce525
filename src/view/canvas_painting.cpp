#include "view/canvas_painting.h"

#include <string>

#include "model/component_drawing.h"
#include "model/component_kind.h"
#include "model/graph_plot.h"
#include "model/number_text.h"
#include "model/port_drawing.h"
#include "view/canvas_geometry.h"
#include "view/worksheet_values.h"

namespace trivenor {
namespace {

CanvasMetrics Measure(DrawingContext& dc) {
  const TextMetrics metrics = dc.Metrics();
  return {metrics.averageCharWidth + 2, metrics.height + metrics.externalLeading};
}

void DrawBorderLines(DrawingContext& dc, int canvasWidth) {
  for (const int x : {canvas::kTerminalColumn, canvas::RightBorder(canvasWidth)}) {
    dc.MoveTo(x, 0);
    dc.LineTo(x, canvas::kHeight - 1);
  }
}

void DrawCircuitInputs(DrawingContext& dc, CTrivenorDoc& document, const EditState& edit) {
  const bool typing = edit.mode == EditMode::EditingInputValue;
  for (const auto& port : document.circuit().inputs) {
    port->x = canvas::kTerminalColumn;
    port->y = canvas::TerminalY(port->row);
    if (typing && port.get() == document.editedInput) {
      continue;  // the box with the typed text stands in its place
    }
    DrawAsInput(*port, dc, nullptr, false);
    const std::string text = FormatValue(port->value);
    const TextSize size = dc.MeasureText(text);
    dc.Text(canvas::kTerminalColumn - canvas::kValueGap - size.width, port->y - size.height / 2,
            text);
  }
}

void DrawTypedValue(DrawingContext& dc, const CTrivenorDoc& document, const EditState& edit,
                    int lineHeight) {
  if (edit.mode != EditMode::EditingInputValue || document.editedInput == nullptr) {
    return;
  }
  const Port& port = *document.editedInput;
  DrawAsInput(port, dc, nullptr, false);
  const int halfLine = lineHeight / 2;
  dc.Rectangle(2, port.y - halfLine - 2, canvas::kTerminalColumn - 1, port.y + halfLine + 2);
  dc.Text(2, port.y - halfLine, edit.valueText);
}

// A graph gets the size its drawing gives it here already: a repaint that does not reach the
// components must not leave it at the size of its (empty) label for the hit tests.
void LayOutComponents(DrawingContext& dc, SubCircuit& circuit, const CanvasMetrics& metrics) {
  for (const auto& component : circuit.components) {
    if (component->kind == kind::GraphPlot) {
      static_cast<GraphPlot&>(*component).SizeOnScreen(metrics.charWidth, metrics.lineHeight);
    } else {
      SizeBody(*component, dc.MeasureText(ShownLabel(*component)).width, metrics.lineHeight);
    }
    component->LayoutPorts();
  }
}

void DrawCircuitOutputs(DrawingContext& dc, CTrivenorDoc& document, int canvasWidth,
                        bool worksheet) {
  const int border = canvas::RightBorder(canvasWidth);
  for (const auto& port : document.circuit().outputs) {
    port->x = border;
    port->y = canvas::TerminalY(port->row);
    DrawAsOutput(*port, dc, document.selectedPort);
    const std::string text = worksheet     ? kHiddenValue
                             : port->valid ? FormatValue(port->value)
                                           : "xxx";
    dc.Text(border + canvas::kValueGap, port->y - dc.MeasureText(text).height / 2, text);
  }
}

// The wires into the outputs cross the whole canvas, so they are drawn whatever part of it is
// repainted: a display box repainted at a tick would otherwise erase the piece of a wire that
// runs through it. Dynamic lines never lighten them.
void DrawOutputWires(DrawingContext& dc, CTrivenorDoc& document) {
  for (const auto& port : document.circuit().outputs) {
    if (port->source != nullptr) {
      dc.SelectPen(PenStyle::Solid, port->thickness, port->colour);
      dc.MoveTo(port->x, port->y);
      dc.LineTo(port->source->x, port->source->y);
      dc.SelectBlackPen();
    }
  }
}

void DrawRubberWire(DrawingContext& dc, const CTrivenorDoc& document, const EditState& edit) {
  if (edit.mode != EditMode::DrawingWire || document.selectedPort == nullptr) {
    return;
  }
  const CanvasPoint end = edit.wireEnd;
  dc.SelectBlackPen();
  dc.MoveTo(document.selectedPort->x, document.selectedPort->y);
  dc.LineTo(end.x, end.y);
  if (edit.wireSnapped) {
    dc.MoveTo(end.x - 9, end.y - 9);
    dc.LineTo(end.x - 9, end.y + 9);
    dc.LineTo(end.x + 9, end.y + 9);
    dc.LineTo(end.x + 9, end.y - 9);
    dc.LineTo(end.x - 9, end.y - 9);
  }
}

}  // namespace

std::optional<CanvasMetrics> PaintCanvas(DrawingContext& dc, CTrivenorDoc& document,
                                         const EditState& edit, const CanvasLook& look,
                                         const ClipBox& clip) {
  if (clip.IsEmpty() || document.loading) {
    return std::nullopt;
  }
  const bool dynamicLines = look.dynamicLines;
  const CanvasMetrics metrics = Measure(dc);
  const int canvasWidth = document.settings.canvasWidth;
  const int border = canvas::RightBorder(canvasWidth);
  SubCircuit& circuit = document.circuit();
  const HiddenDisplayValues hidden(circuit, look.worksheet);

  DrawBorderLines(dc, canvasWidth);
  DrawCircuitInputs(dc, document, edit);
  DrawTypedValue(dc, document, edit, metrics.lineHeight);
  // Every body is sized before any is drawn: wires into a component end at ports laid out here.
  LayOutComponents(dc, circuit, metrics);
  const bool leftOfOutputs = clip.left < border;
  if (leftOfOutputs) {
    for (const auto& component : circuit.components) {
      component->Draw(dc, document.selectedComponent, document.selectedPort, metrics.charWidth,
                      metrics.lineHeight, dynamicLines);
    }
  }
  if (clip.right > border) {
    DrawCircuitOutputs(dc, document, canvasWidth, look.worksheet);
  }
  DrawOutputWires(dc, document);
  if (leftOfOutputs) {
    for (const auto& junction : circuit.junctions) {
      DrawWire(*junction, dc, document.selectedPort, dynamicLines);
    }
    for (const auto& junction : circuit.junctions) {
      DrawMark(*junction, dc, document.selectedPort);
    }
  }
  DrawRubberWire(dc, document, edit);
  return metrics;
}

}  // namespace trivenor
