#pragma once

#include <QAction>
#include <QKeySequence>
#include <QList>
#include <QMenu>
#include <QMenuBar>
#include <QObject>
#include <QToolBar>
#include <map>

#include "shell/commands.h"

namespace trivenor {

/// The keys of `command`, the one the menu shows first.
QList<QKeySequence> ShortcutsOf(const CommandInfo& command);

/// One QAction per command of the table, owned by `owner` (the main window, so that the
/// keyboard-only commands reach it). Menus and the toolbar share these actions: a command's
/// text, prompt and check mark live in exactly one place.
class CommandActions {
 public:
  explicit CommandActions(QWidget& owner);

  QAction& operator[](CommandId id) const;

  /// Fills `menuBar` with the menus of the table, separators included.
  void BuildMenuBar(QMenuBar& menuBar) const;
  /// Fills `toolBar` with the toolbar buttons of the table.
  void BuildToolBar(QToolBar& toolBar) const;
  /// The menu built by BuildMenuBar that holds `id`.
  QMenu& MenuOf(CommandId id) const;

 private:
  std::map<CommandId, QAction*> actions_;
};

}  // namespace trivenor
