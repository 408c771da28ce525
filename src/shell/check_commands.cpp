#include "shell/check_commands.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>

#include "checks/check_run.h"
#include "document/file_access.h"
#include "shell/check_table_dialog.h"
#include "shell/check_window.h"

namespace trivenor {

namespace {

constexpr char kTableFilter[] = "Prüftabellen (*.csv);;Alle Dateien (*)";
constexpr char kCircuitFilter[] = "Aufgaben (*.trv);;Alle Dateien (*)";

QString AskWithQtDialog(QWidget* parent, const QString& folder, const QString& filter) {
  QFileDialog dialog(parent, QStringLiteral("Öffnen"), folder, filter);
  dialog.setAcceptMode(QFileDialog::AcceptOpen);
  dialog.setFileMode(QFileDialog::ExistingFile);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return QString();
  }
  return dialog.selectedFiles().front();
}

}  // namespace

QString ExercisesFolder() {
  const QString installed = QDir(QCoreApplication::applicationDirPath())
                                .filePath(QStringLiteral(TRIVENOR_EXERCISES_INSTALLED));
  if (QFileInfo(installed).isDir()) {
    return QDir::cleanPath(installed);
  }
  return QStringLiteral(TRIVENOR_EXERCISES_SOURCE);
}

QString CheckTablePathFor(const QString& circuitPath) {
  const QFileInfo circuit(circuitPath);
  return circuit.dir().filePath(circuit.completeBaseName() + QStringLiteral(".csv"));
}

CheckCommands::CheckCommands(CTrivenorDoc& document, DocumentCommands& files, QWidget& window)
    : QObject(&window),
      askOpenPath(AskWithQtDialog),
      document_(document),
      files_(files),
      window_(window) {}

void ShowCheckWarning(QWidget& parent, const QString& text) {
  QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(), text,
                  QMessageBox::Ok, &parent);
  box.exec();
}

std::optional<CheckTable> CheckCommands::ReadTable(const QString& path) {
  const FileContents contents = ReadWholeFile(path.toStdString(), kMaxCheckTableBytes);
  const QString name = QFileInfo(path).fileName();
  if (contents.failure != ReadFailure::None) {
    ShowCheckWarning(window_,
                     QStringLiteral("Die Prüftabelle „%1“ kann nicht gelesen werden.").arg(name));
    return std::nullopt;
  }
  CheckTableReading reading = ReadCheckTable(contents.bytes);
  if (reading.error) {
    ShowCheckWarning(window_, QStringLiteral("Prüftabelle „%1“:\n%2")
                                  .arg(name, QString::fromStdString(reading.error->Text())));
    return std::nullopt;
  }
  return std::move(reading.table);
}

void CheckCommands::CheckTask() {
  const QString circuitPath = QString::fromStdString(document_.PathName());
  QString tablePath = circuitPath.isEmpty() ? QString() : CheckTablePathFor(circuitPath);
  if (tablePath.isEmpty() || !QFileInfo(tablePath).isFile()) {
    const QString folder = circuitPath.isEmpty() ? QString() : QFileInfo(circuitPath).path();
    tablePath = askOpenPath(&window_, folder, QString::fromUtf8(kTableFilter));
    if (tablePath.isEmpty()) {
      return;
    }
  }
  const std::optional<CheckTable> table = ReadTable(tablePath);
  if (!table) {
    return;
  }
  if (const auto misfit = CheckTableFits(*table, document_.circuit())) {
    ShowCheckWarning(window_, QString::fromStdString(misfit->Text()));
    return;
  }
  const std::unique_ptr<SubCircuit> copy = CopyForChecks(document_.circuit(), document_.settings);
  if (!copy) {
    ShowCheckWarning(window_, QString::fromUtf8(kCircuitTooLargeToCheck));
    return;
  }
  auto* window = new CheckWindow(*table, RunCheckTable(*table, *copy), &window_);
  window->setAttribute(Qt::WA_DeleteOnClose);
  window->show();
}

void CheckCommands::MakeCheckTable() {
  if (document_.circuit().outputs.empty()) {
    ShowCheckWarning(
        window_,
        QStringLiteral("Der Schaltkreis hat keinen Ausgang, den eine Prüftabelle prüfen könnte."));
    return;
  }
  CheckTableDialog dialog(document_, &window_);
  dialog.exec();
}

void CheckCommands::OpenExercises() {
  const QString path = askOpenPath(&window_, ExercisesFolder(), QString::fromUtf8(kCircuitFilter));
  if (!path.isEmpty()) {
    files_.OpenFile(path);
  }
}

CheckCommands& ConnectCheckCommands(CTrivenorDoc& document, DocumentCommands& files,
                                    const CommandActions& actions, QWidget& window) {
  auto* commands = new CheckCommands(document, files, window);
  QObject::connect(&actions[kCheckTask], &QAction::triggered, commands, &CheckCommands::CheckTask);
  QObject::connect(&actions[kMakeCheckTable], &QAction::triggered, commands,
                   &CheckCommands::MakeCheckTable);
  QObject::connect(&actions[kOpenExercises], &QAction::triggered, commands,
                   &CheckCommands::OpenExercises);
  return *commands;
}

}  // namespace trivenor
