#pragma once

#include "view/editing/edit_context.h"

namespace trivenor {

/// Moving a component with the left button: a press on its body (away from its ports) grabs
/// it, moving drags it along the grid between the terminal columns, the release drops it.
class ComponentMoving {
 public:
  explicit ComponentMoving(EditContext& context) : context_(context) {}

  void Grab(Component& component, int x, int y);
  void Drag(int x, int y);
  void Release();

 private:
  EditContext& context_;
};

}  // namespace trivenor
