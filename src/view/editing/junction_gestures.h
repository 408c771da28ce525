#pragma once

#include "view/editing/edit_context.h"

namespace trivenor {

/// Everything the right button does, only in an editable document: a press on a junction grabs
/// it and moving drags it along the grid; a press anywhere else between the terminal columns
/// sets a new junction there (at the head of the junction list).
class JunctionGestures {
 public:
  explicit JunctionGestures(EditContext& context) : context_(context) {}

  void Press(int x, int y);
  void Drag(int x, int y);
  void Release();

 private:
  EditContext& context_;
};

}  // namespace trivenor
