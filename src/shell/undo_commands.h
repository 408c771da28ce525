#pragma once

#include <QAction>
#include <QObject>
#include <QString>

#include "document/trivenor_doc.h"
#include "shell/command_actions.h"
#include "view/trivenor_view.h"

namespace trivenor {

/// "Rückgängig" and "Wiederherstellen": run on the view, and keep their menu items and toolbar
/// buttons saying what they would take back or make again ("Rückgängig: Verschieben"), greyed
/// when there is nothing to undo or redo or the circuit is locked.
class UndoCommands : public QObject {
  Q_OBJECT

 public:
  /// A child of `owner` (the main window, which owns the actions as well).
  UndoCommands(CTrivenorDoc& document, CTrivenorView& view, const CommandActions& actions,
               QObject& owner);

  /// Brings the two actions up to date with the document's history and lock.
  void UpdateActions();

 private:
  CTrivenorDoc& document_;
  QAction& undo_;
  QAction& redo_;
  QString undoText_;  ///< the texts of the command table, without a step
  QString redoText_;
};

/// Creates the commands' object as a child of `window` and has the document tell it whenever
/// its history changes, after whoever else it tells.
void ConnectUndoCommands(CTrivenorDoc& document, CTrivenorView& view, const CommandActions& actions,
                         QObject& window);

}  // namespace trivenor
