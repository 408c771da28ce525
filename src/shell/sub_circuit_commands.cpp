#include "shell/sub_circuit_commands.h"

#include "document/undo_step_names.h"
#include "model/component_kind.h"
#include "shell/file_dialogs.h"

namespace trivenor {

SubCircuitCommands::SubCircuitCommands(CTrivenorDoc& document, CTrivenorView& view, QWidget& window)
    : QObject(&window),
      askPath(StandardFileDialogs(window).askOpenPath),
      document_(document),
      view_(view),
      window_(window) {}

void SubCircuitCommands::OpenDialog() {
  CloseDialog();
  view_.editState().chosenSubCircuit = nullptr;
  dialog_ = new SubCircuitDialog(
      view_, [this](QWidget* parent) { return askPath(parent); }, window_);
  dialog_->show();
}

void SubCircuitCommands::CloseDialog() {
  // Deleted now, not later: the old window must be gone before a new one appears.
  delete dialog_.data();
}

void SubCircuitCommands::SetDynamicPath() {
  if (SubCircuit* chosen = SelectedSubCircuit()) {
    view_.StopSimulationTimer();
    const QString path = askPath(&window_);
    // The file dialog runs an event loop of its own: the selection is checked again, not trusted.
    if (!path.isEmpty() && SelectedSubCircuit() == chosen && chosen->path != path.toStdString()) {
      document_.edit().SetPath(*chosen, path.toStdString());
      // The path is saved with the circuit: closing must not lose it without asking, and undo
      // takes it back like any other change.
      document_.SetModifiedFlag();
      document_.RecordStep(undo_step::kDynamicPath);
    }
    view_.StartSimulationTimer(document_.tickPeriod);
  }
  view_.EvaluateAndRepaint();
}

SubCircuit* SubCircuitCommands::SelectedSubCircuit() const {
  Component* selected = document_.selectedComponent;
  return selected != nullptr && selected->kind == kind::SubCircuit
             ? static_cast<SubCircuit*>(selected)
             : nullptr;
}

void ConnectSubCircuitCommands(CTrivenorDoc& document, CTrivenorView& view,
                               const CommandActions& actions, QWidget& window) {
  auto* commands = new SubCircuitCommands(document, view, window);
  QObject::connect(&actions[kSubCircuits], &QAction::triggered, commands,
                   &SubCircuitCommands::OpenDialog);
  QObject::connect(&actions[kDynamicPath], &QAction::triggered, commands,
                   &SubCircuitCommands::SetDynamicPath);

  // Guarded: the document may outlive the window.
  QPointer<SubCircuitCommands> guarded = commands;
  document.closeModelessDialogs = [guarded,
                                   closeOthers = std::move(document.closeModelessDialogs)] {
    if (closeOthers) {
      closeOthers();
    }
    if (guarded) {
      guarded->CloseDialog();
    }
  };
}

}  // namespace trivenor
