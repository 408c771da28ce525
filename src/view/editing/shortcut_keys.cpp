#include "view/editing/shortcut_keys.h"

#include "model/component_registry.h"
#include "model/virtual_key_codes.h"

namespace trivenor {

void ShortcutKeys::Key(int virtualKey) {
  if (virtualKey == vk::kBackspace || virtualKey == vk::kDelete) {
    DeleteSelection();
  } else if (const ComponentKind* placed = ComponentKinds().ForKey(virtualKey)) {
    context_.state.mode = EditMode::PlacingComponent;
    context_.state.modeArg = placed->code;
  }
}

void ShortcutKeys::DeleteSelection() {
  CircuitEdit& edit = context_.edit();
  if (Port* port = context_.document.selectedPort) {
    if (Junction* junction = FindJunction(context_.circuit(), port)) {
      edit.RemoveJunction(*junction);
    } else {
      edit.Disconnect(*port);
    }
    return;
  }
  if (Component* component = context_.document.selectedComponent) {
    edit.Remove(*component);
  }
}

}  // namespace trivenor
