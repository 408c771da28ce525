#include "shell/palette_slots.h"

namespace trivenor {

PaletteSlots::PaletteSlots(QWidget& owner, ComponentPalette::ArmPlacing armPlacing)
    : QObject(&owner), owner_(owner), armPlacing_(std::move(armPlacing)) {}

ComponentPalette& PaletteSlots::Open(PaletteKind kind) {
  QPointer<ComponentPalette>& slot = slots_[static_cast<int>(kind)];
  // Deleted now, not later: the old window must be gone before the new one appears.
  delete slot.data();
  slot = new ComponentPalette(kind, armPlacing_, owner_);
  slot->show();
  return *slot;
}

void PaletteSlots::CloseAll() {
  for (QPointer<ComponentPalette>& slot : slots_) {
    delete slot.data();
  }
}

}  // namespace trivenor
