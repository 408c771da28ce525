#pragma once

#include "view/editing/edit_context.h"

namespace trivenor {

/// Everything the right button does, only in an editable document: a press on a junction grabs
/// it and moving drags it along the grid; a press anywhere else between the terminal columns
/// sets a new junction there (at the head of the junction list). A new junction is one undo
/// step, and so is one drag.
class JunctionGestures {
 public:
  explicit JunctionGestures(EditContext& context) : context_(context) {}

  void Press(int x, int y);
  void Drag(int x, int y);
  void Release();
  /// Makes the way the junction has come since the grab (or since the last call) one undo step;
  /// nothing when it is back where it was.
  void RecordMove();
  /// Forgets the way come so far: the circuit it was made in has been replaced.
  void Forget() { from_ = to_; }

 private:
  EditContext& context_;
  CanvasPoint from_;  ///< where the dragged junction was at the grab or the last step
  CanvasPoint to_;    ///< where it is now
};

}  // namespace trivenor
