#pragma once

#include "view/editing/edit_context.h"

namespace trivenor {

/// Moving a component with the left button: a press on its body (away from its ports) grabs
/// it, moving drags it along the grid between the terminal columns, the release drops it. One
/// drag is one undo step, however many moves it took.
class ComponentMoving {
 public:
  explicit ComponentMoving(EditContext& context) : context_(context) {}

  void Grab(Component& component, int x, int y);
  void Drag(int x, int y);
  void Release();
  /// Makes the way the component has come since the grab (or since the last call) one undo
  /// step; nothing when it is back where it was.
  void RecordMove();
  /// Forgets the way come so far: the circuit it was made in has been replaced.
  void Forget() { from_ = to_; }

 private:
  EditContext& context_;
  CanvasPoint from_;  ///< where the dragged component was at the grab or the last step
  CanvasPoint to_;    ///< where it is now
};

}  // namespace trivenor
