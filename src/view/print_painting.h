#pragma once

#include <optional>

#include "document/trivenor_doc.h"
#include "model/drawing_context.h"
#include "view/canvas_painting.h"
#include "view/edit_state.h"

namespace trivenor {

/// Where things stand on paper, in tenths of a millimetre with y upwards. A canvas point (x, y)
/// prints at (2x, -2y): one canvas unit is 0.2 mm, the canvas's 1000 units are 200 mm high.
namespace paper {
inline constexpr int kLeftBorder = 180;
inline constexpr int kRightBorder = 1820;
inline constexpr int kBorderBottom = -1998;
/// The circuit outputs stand at this canvas x on paper whatever the canvas width is, so a page
/// always has them at its right edge.
inline constexpr int kOutputColumn = 910;
/// The input values end here; the output values start at the right border plus 10.
inline constexpr int kInputValueEnd = 170;
inline constexpr int kOutputValueStart = 2 * kOutputColumn + 10;
/// The footer "<title> von <owner>".
inline constexpr int kFooterX = 100;
inline constexpr int kFooterY = -2000;
}  // namespace paper

/// Prints the document's top circuit on one page with the printer font already selected into
/// `dc`, in the order the canvas is painted: border lines, the footer (only when the circuit
/// names its owner), the inputs with their values, the components, the outputs with their values
/// and wires, the junction wires and then their marks. Like painting it writes into the model:
/// the terminals' positions (outputs at x = 910 until the next paint) and the component ports.
/// Bodies keep the size of the last screen paint, so the page shows the layout of the canvas.
/// The input being typed into is left out; no selection, rubber wire or dynamic lines are shown.
/// A worksheet shows "?" in place of the outputs' and the output displays' values.
/// Returns the metrics measured in the printer font, nothing (and draws nothing) while the
/// document is loading.
std::optional<CanvasMetrics> PrintCanvas(DrawingContext& dc, CTrivenorDoc& document,
                                         const EditState& edit, bool worksheet = false);

}  // namespace trivenor
