#pragma once

#include <memory>

#include "view/editing/edit_context.h"

namespace trivenor {

/// The placing click. A palette button, a shortcut key or "Einfügen" armed a kind (`modeArg`);
/// the next left press asks the kind's dialog, makes the component and puts it on the grid at
/// the head of the component list. A locked document stays armed and places nothing.
class ComponentPlacing {
 public:
  explicit ComponentPlacing(EditContext& context) : context_(context) {}

  void Click(int x, int y);

 private:
  /// The new component, or nothing when its dialog was cancelled or its file cannot serve.
  std::unique_ptr<Component> Create(int kindCode);
  std::unique_ptr<Component> LoadChosenSubCircuit();

  EditContext& context_;
};

}  // namespace trivenor
