#include "view/editing/shortcut_keys.h"

#include <cstdint>

#include "document/undo_step_names.h"
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
  CTrivenorDoc& document = context_.document;
  if (Port* port = document.selectedPort) {
    if (Junction* junction = FindJunction(context_.circuit(), port)) {
      edit.RemoveJunction(*junction);
      document.RecordStep(undo_step::kDeleteJunction);
      return;
    }
    // A port without wires has nothing to lose: no step.
    const std::uint64_t before = context_.circuit().structureVersion;
    edit.Disconnect(*port);
    if (context_.circuit().structureVersion != before) {
      document.RecordStep(undo_step::kDisconnect);
    }
    return;
  }
  if (Component* component = document.selectedComponent) {
    edit.Remove(*component);
    document.RecordStep(undo_step::kDeleteComponent);
  }
}

}  // namespace trivenor
