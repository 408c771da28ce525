#pragma once

#include "view/editing/edit_context.h"
#include "view/editing/value_typing.h"
#include "view/editing/wire_drawing.h"

namespace trivenor {

/// A left press into a terminal column that hit no port. Left column: a row with an input starts
/// typing its value, an empty row gets a new input. Right column: an empty row gets a new
/// output; a press beyond the output's line removes it, one on it starts a wire into it.
class TerminalClicks {
 public:
  TerminalClicks(EditContext& context, ValueTyping& typing, WireDrawing& wires)
      : context_(context), typing_(typing), wires_(wires) {}

  /// False when the press started typing: the typed box is drawn by the next key, not now.
  bool Click(int x, int y);

 private:
  EditContext& context_;
  ValueTyping& typing_;
  WireDrawing& wires_;
};

}  // namespace trivenor
