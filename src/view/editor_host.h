#pragma once

#include "view/editor_dialogs.h"
#include "view/tick_repaint.h"

namespace trivenor {

/// What the editing state machine needs from the window around it: the parameter dialogs of the
/// placing click and repaints.
class EditorHost {
 public:
  virtual ~EditorHost() = default;

  /// The dialogs the placing click asks for its component's parameters.
  virtual EditorDialogs& dialogs() = 0;

  /// Repaint the whole client area, erasing the background.
  virtual void InvalidateAll() = 0;
  /// Repaint `rect`, given normalised in logical units; the view converts it to device units
  /// and enlarges it by 15 on every side (the rubber wire's pen and snap square).
  virtual void InvalidateRect(const CanvasRect& rect) = 0;

  /// The lock has just refused a structural edit the user tried; the window says so.
  virtual void ReportLocked() {}
};

}  // namespace trivenor
