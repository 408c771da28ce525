#pragma once

#include <QAction>
#include <QKeyEvent>
#include <QObject>
#include <QWidget>
#include <map>

#include "shell/command_actions.h"

namespace trivenor {

/// The main window's accelerator table at work: the commands' shortcuts and the keys without a
/// command (KeysWithoutCommand). Qt fires an action's shortcut only while its window is the
/// active one, and without a window manager the main window stays inactive once a dialog or a
/// palette has had the keyboard, while keys still reach it under the pointer: they went to the
/// canvas, which read Ctrl+O as "O". So these keys are taken here, before any widget of the main
/// window sees them, wherever the keyboard focus is in it: a command's key runs the command (when
/// it is enabled), any other key of the table does nothing. Other windows, the dialogs with their
/// text fields and the palettes, keep all their keys.
class MainWindowKeys : public QObject {
 public:
  /// A child of `window`; it watches the keys of the whole application from now on.
  MainWindowKeys(QWidget& window, const CommandActions& actions);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  /// Where the table holds one of the keys the layout offers for `event`: its command's action,
  /// nullptr for a key without one. end() when the key is not in the table.
  std::map<int, QAction*>::const_iterator Find(QKeyEvent& event) const;

  QWidget& window_;
  std::map<int, QAction*> table_;  ///< by QKeyCombination::toCombined()
};

}  // namespace trivenor
