#pragma once

#include <QObject>
#include <QPointer>
#include <QWidget>

#include "document/trivenor_doc.h"
#include "shell/command_actions.h"
#include "shell/sub_circuit_dialog.h"
#include "view/trivenor_view.h"

namespace trivenor {

/// "Subschaltkreise" and "Pfad festlegen". The window keeps at most one insertion dialog: the
/// command replaces it with a fresh one, and a new or opened document closes it.
class SubCircuitCommands : public QObject {
  Q_OBJECT

 public:
  /// `window` (the main window) owns this object and the dialog and parents the file dialogs.
  SubCircuitCommands(CTrivenorDoc& document, CTrivenorView& view, QWidget& window);

  /// "Subschaltkreise": the dialog there was goes, with whatever it had chosen; a new one shows.
  void OpenDialog();
  /// Destroys the dialog, open or hidden.
  void CloseDialog();
  /// "Pfad festlegen": asks for the file of the selected sub-circuit, which makes it dynamic
  /// from the next opening of the document on. A new path marks the document modified and is
  /// one undo step; the `dynamic` flag stays. Evaluates and repaints in every case, with or
  /// without a sub-circuit.
  void SetDynamicPath();

  /// The dialog, or null when there is none.
  SubCircuitDialog* dialog() const { return dialog_; }

  /// Both commands ask for a file through this; Qt's open dialog unless a test puts its own.
  AskCircuitPath askPath;

 private:
  /// The selected component when it is a sub-circuit, else null.
  SubCircuit* SelectedSubCircuit() const;

  CTrivenorDoc& document_;
  CTrivenorView& view_;
  QWidget& window_;
  QPointer<SubCircuitDialog> dialog_;
};

/// Creates the commands' object as a child of `window`, connects the two menu commands to it and
/// has the document close its dialog when it is emptied, after whatever else it closes.
void ConnectSubCircuitCommands(CTrivenorDoc& document, CTrivenorView& view,
                               const CommandActions& actions, QWidget& window);

}  // namespace trivenor
