#pragma once

#include <optional>

#include "document/trivenor_doc.h"
#include "model/drawing_context.h"
#include "view/edit_state.h"

namespace trivenor {

/// The part of the canvas a paint has to cover, in logical units; right and bottom exclusive.
struct ClipBox {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  bool IsEmpty() const { return left >= right || top >= bottom; }
};

/// How the circuit is shown besides its own state.
struct CanvasLook {
  bool dynamicLines = false;  ///< "Dynamische Linien"
  /// A worksheet: outputs and output displays show "?" where their values would stand.
  bool worksheet = false;
};

/// What the paint measured in the canvas font; component drawing and the clock size by these.
struct CanvasMetrics {
  int charWidth = 0;   ///< average character width + 2
  int lineHeight = 0;  ///< character height + external leading
};

/// Paints the document's top circuit with the font already selected into `dc`, and lays it out
/// while doing so: terminal positions, body sizes and component port positions are written into
/// the model, and every hit test of the editing works on what the last paint left there.
/// Components and junctions are skipped when `clip` lies entirely in the right terminal column,
/// the circuit outputs when it lies entirely left of it, so a repaint of output values stays
/// cheap. Draws nothing, and returns nothing, while the document is loading or `clip` is empty.
std::optional<CanvasMetrics> PaintCanvas(DrawingContext& dc, CTrivenorDoc& document,
                                         const EditState& edit, const CanvasLook& look,
                                         const ClipBox& clip);

}  // namespace trivenor
