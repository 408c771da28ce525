#pragma once

#include <QObject>
#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "checks/check_table.h"
#include "document/trivenor_doc.h"
#include "shell/command_actions.h"
#include "shell/document_commands.h"

namespace trivenor {

/// The menu "Extras": "Aufgabe prüfen" runs the table next to the circuit's file on a copy of
/// the circuit and shows the check window; "Prüftabelle erstellen..." opens the teacher's grid;
/// "Aufgaben öffnen..." offers the bundled exercises in the "Öffnen" dialog. All three work on
/// locked circuits: they change nothing in them.
class CheckCommands : public QObject {
  Q_OBJECT

 public:
  /// A child of `window`, which parents the dialogs.
  CheckCommands(CTrivenorDoc& document, DocumentCommands& files, QWidget& window);

  void CheckTask();
  void MakeCheckTable();
  void OpenExercises();

  /// Asks for a file in the "Öffnen" dialog, starting in `folder` and offering files matching
  /// `filter`; empty when cancelled. Tests put their own in place of Qt's dialog.
  std::function<QString(QWidget* parent, const QString& folder, const QString& filter)> askOpenPath;

 private:
  /// The table at `path`, or nullopt after telling the user why not.
  std::optional<CheckTable> ReadTable(const QString& path);

  CTrivenorDoc& document_;
  DocumentCommands& files_;
  QWidget& window_;
};

/// The folder of the bundled exercises: installed beside the program, or in the source tree
/// for a program run from its build folder.
QString ExercisesFolder();

/// When the copy the checks run on cannot be made.
inline constexpr char kCircuitTooLargeToCheck[] = "Der Schaltkreis ist zu groß, um ihn zu prüfen.";

/// A warning box over `parent`, as the checks report what keeps them from running.
void ShowCheckWarning(QWidget& parent, const QString& text);

/// The check table of the circuit file at `circuitPath`: same folder, same base name, ".csv".
QString CheckTablePathFor(const QString& circuitPath);

/// Creates the commands as a child of `window` and connects them to their actions.
CheckCommands& ConnectCheckCommands(CTrivenorDoc& document, DocumentCommands& files,
                                    const CommandActions& actions, QWidget& window);

}  // namespace trivenor
