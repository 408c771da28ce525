#pragma once

#include <QDialog>
#include <functional>

#include "model/component_registry.h"

namespace trivenor {

/// A modeless tool window of component buttons ("Rechnen", "Grundfunktionen", "Alle
/// Funktionen"): the kinds the registry puts on that palette, with their captions. A click only
/// arms the view for placing the button's kind; the next canvas click places it. The palette keeps
/// no state of its own. The close box destroys it; Escape, and Enter while no button has the focus,
/// only hide it, as a modeless dialog ends.
class ComponentPalette : public QDialog {
  Q_OBJECT

 public:
  using ArmPlacing = std::function<void(int kind)>;

  /// `owner` is the main window: the palette stays above it and appears at the top-left corner
  /// of its client area.
  ComponentPalette(PaletteKind kind, ArmPlacing armPlacing, QWidget& owner);

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;

 private:
  ArmPlacing armPlacing_;
};

}  // namespace trivenor
