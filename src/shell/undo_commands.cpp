#include "shell/undo_commands.h"

#include <QPointer>
#include <string>
#include <utility>

namespace trivenor {

namespace {

void Show(QAction& action, const QString& text, bool enabled, const std::string& step) {
  action.setEnabled(enabled);
  action.setText(
      enabled && !step.empty() ? text + QStringLiteral(": ") + QString::fromStdString(step) : text);
}

}  // namespace

UndoCommands::UndoCommands(CTrivenorDoc& document, CTrivenorView& view,
                           const CommandActions& actions, QObject& owner)
    : QObject(&owner),
      document_(document),
      undo_(actions[kEditUndo]),
      redo_(actions[kEditRedo]),
      undoText_(undo_.text()),
      redoText_(redo_.text()) {
  connect(&undo_, &QAction::triggered, &view, &CTrivenorView::OnEditUndo);
  connect(&redo_, &QAction::triggered, &view, &CTrivenorView::OnEditRedo);
  UpdateActions();
}

void UndoCommands::UpdateActions() {
  const UndoHistory& history = document_.history();
  Show(undo_, undoText_, document_.CanUndo(), history.UndoName());
  Show(redo_, redoText_, document_.CanRedo(), history.RedoName());
}

void ConnectUndoCommands(CTrivenorDoc& document, CTrivenorView& view, const CommandActions& actions,
                         QObject& window) {
  // Guarded: the document may outlive the window.
  QPointer<UndoCommands> commands = new UndoCommands(document, view, actions, window);
  document.historyChanged = [commands, tellOthers = std::move(document.historyChanged)] {
    if (tellOthers) {
      tellOthers();
    }
    if (commands) {
      commands->UpdateActions();
    }
  };
}

}  // namespace trivenor
