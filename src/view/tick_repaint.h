#pragma once

#include <vector>

#include "model/sub_circuit.h"

namespace trivenor {

/// A rectangle of the canvas in logical units; right and bottom exclusive.
struct CanvasRect {
  int left = 0;
  int top = 0;
  int right = 0;
  int bottom = 0;

  friend bool operator==(const CanvasRect&, const CanvasRect&) = default;
};

/// What a tick needs to know of the canvas besides the circuit.
struct TickLayout {
  int canvasWidth = 0;
  /// Right edge of the window's client area in logical units (scroll position + width).
  int clientRight = 0;
  int charWidth = 0;
  int lineHeight = 0;
};

/// Appends to `rects` what one simulation step can have changed on the canvas: the value rows of
/// circuit outputs whose value changed (only when the step reported output terminals), every
/// output display's box widened for a text that grew or shrank, every graph's interior. Uses the
/// geometry of the last paint.
void CollectTickRepaints(const SubCircuit& circuit, bool hasOutputs, const TickLayout& layout,
                         std::vector<CanvasRect>& rects);

}  // namespace trivenor
