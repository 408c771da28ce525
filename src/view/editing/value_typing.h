#pragma once

#include "view/editing/edit_context.h"

namespace trivenor {

/// Typing a value into a circuit input: a left click into the input's row starts it, keys edit
/// the text, Enter or another click stores it (read as a number the way the runner reads
/// values), Escape drops it, Delete removes the input itself. Typing works in a locked document
/// too; only the removal needs an editable one.
class ValueTyping {
 public:
  explicit ValueTyping(EditContext& context) : context_(context) {}

  void Start(Port& input);
  void Key(int virtualKey);
  /// Stores the typed value and ends typing.
  void Commit();

 private:
  EditContext& context_;
};

}  // namespace trivenor
