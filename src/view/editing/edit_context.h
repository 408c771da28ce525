#pragma once

#include "document/trivenor_doc.h"
#include "view/canvas_geometry.h"
#include "view/edit_state.h"
#include "view/editor_host.h"

namespace trivenor {

/// What every gesture works on: the document with its circuit and selection, the view's editing
/// state, and the window around it for dialogs and repaints.
struct EditContext {
  CTrivenorDoc& document;
  EditState& state;
  EditorHost& host;

  SubCircuit& circuit() { return document.circuit(); }
  CircuitEdit& edit() { return document.edit(); }
  /// Structure may change only while the document allows it; typing values always may.
  bool Editable() const { return document.settings.editable; }
  /// x of the right border line, where the output terminals sit.
  int RightBorder() const { return canvas::RightBorder(document.settings.canvasWidth); }
};

/// Canvas y below which nothing is moved: the lowest grid line a component or junction may take.
inline constexpr int kLowestY = 990;

inline int Clamp(int value, int low, int high) {
  if (value < low) {
    return low;
  }
  return value > high ? high : value;
}

}  // namespace trivenor
