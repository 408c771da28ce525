#pragma once

#include "view/editing/edit_context.h"

namespace trivenor {

/// The keys outside typing, only in an editable document: Backspace and Delete delete the
/// selection, the keys the kind registry names arm placing their kind (as a palette button
/// does), every other key does nothing. (Every key marks the document modified; the controller
/// does that.)
class ShortcutKeys {
 public:
  explicit ShortcutKeys(EditContext& context) : context_(context) {}

  void Key(int virtualKey);

 private:
  /// The selected port loses its wires (a junction goes altogether); otherwise the selected
  /// component goes with every wire into and out of it.
  void DeleteSelection();

  EditContext& context_;
};

}  // namespace trivenor
