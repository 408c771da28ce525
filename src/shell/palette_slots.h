#pragma once

#include <QObject>
#include <QPointer>
#include <array>

#include "shell/component_palette.h"

namespace trivenor {

/// The main window's one slot per palette. Opening a palette replaces whatever is in its slot
/// with a fresh one at the default position; closing them all empties the slots, as a new or
/// opened document does.
class PaletteSlots : public QObject {
  Q_OBJECT

 public:
  /// `owner` (the main window) owns the palette windows and outlives this object.
  PaletteSlots(QWidget& owner, ComponentPalette::ArmPlacing armPlacing);

  /// Shows a new palette of `kind`; the one it replaces, open, hidden or closed, goes first.
  ComponentPalette& Open(PaletteKind kind);
  /// Destroys every palette at once.
  void CloseAll();
  /// The palette in the slot of `kind`, or null. A palette closed with its close box leaves the
  /// slot empty once the event loop has destroyed it.
  ComponentPalette* palette(PaletteKind kind) const { return slots_[static_cast<int>(kind)]; }

 private:
  QWidget& owner_;
  ComponentPalette::ArmPlacing armPlacing_;
  std::array<QPointer<ComponentPalette>, kPaletteCount> slots_;
};

}  // namespace trivenor
