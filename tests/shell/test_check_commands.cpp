#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QtTest>

#include "cli/sample_circuits.h"
#include "document/circuit_info.h"
#include "isolated_settings.h"
#include "shell/check_commands.h"
#include "shell/check_table_dialog.h"
#include "shell/check_window.h"
#include "shell/main_frame.h"

namespace trivenor {

namespace {

void SaveAdder(const QString& path) {
  test_support::SaveAdder(path.toStdString());
}

void WriteFile(const QString& path, const QByteArray& bytes) {
  QFile file(path);
  QVERIFY(file.open(QIODevice::WriteOnly));
  file.write(bytes);
}

QString Cell(const QTableWidget& table, int row, int column) {
  const QTableWidgetItem* item = table.item(row, column);
  return item ? item->text() : QString();
}

}  // namespace

/// "Aufgabe prüfen" and "Prüftabelle erstellen..." on the real main window.
class CheckCommandsTest : public QObject {
  Q_OBJECT

  IsolatedSettings settings_;

 private slots:
  // A child's locked circuit, running with typed inputs, is checked with F9: the window shows
  // the task, a tick and a cross and "1 von 2 richtig", and the circuit on the canvas is just as
  // it was. The lock shows in the title and in the status bar when a click tries an edit.
  void checkingALockedCircuitShowsTicksAndCrossesAndLeavesItAlone() {
    QTemporaryDir files;
    const QString circuitPath = files.filePath(QStringLiteral("kind1.trv"));
    SaveAdder(circuitPath);
    WriteFile(files.filePath(QStringLiteral("kind1.csv")),
              "# Addiere zwei Zahlen.\nE1;E2;A1\n1;2;3\n2;2;5\n");
    CTrivenorDoc document;
    CMainFrame frame(document);
    frame.view().SetFirstTickDelay(600000);
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    QCOMPARE(frame.documentCommands().OpenFile(circuitPath), DocumentCommands::OpenResult::Opened);
    CircuitInfo info = ReadCircuitInfo(document);
    info.editable = false;
    QVERIFY(ApplyCircuitInfo(document, info));
    document.SetModifiedFlag(false);
    QCOMPARE(frame.windowTitle(), QStringLiteral("kind1.trv [gesperrt] - Trivenor"));

    SubCircuit& circuit = document.circuit();
    circuit.inputs[0]->value = 40.0f;
    circuit.inputs[1]->value = 2.0f;
    frame.view().EvaluateAndRepaint();
    QTest::keyClick(&frame, Qt::Key_F9);
    auto* window = frame.findChild<CheckWindow*>();
    QVERIFY(window != nullptr);
    QVERIFY(window->isVisible());
    QCOMPARE(window->findChild<QLabel*>(QStringLiteral("task"))->text(),
             QStringLiteral("Addiere zwei Zahlen."));
    QCOMPARE(window->summary().text(), QStringLiteral("1 von 2 richtig"));
    const QTableWidget& checks = window->checks();
    QCOMPARE(checks.rowCount(), 2);
    QCOMPARE(checks.columnCount(), 5);  // E1, E2, A1 expected, A1 obtained, the mark
    QCOMPARE(Cell(checks, 1, 0) + Cell(checks, 1, 1) + Cell(checks, 1, 2) + Cell(checks, 1, 3),
             QStringLiteral("2254"));
    QCOMPARE(Cell(checks, 0, 4), QString::fromUtf8(CheckWindow::kTick));
    QCOMPARE(Cell(checks, 1, 4), QString::fromUtf8(CheckWindow::kCross));
    QCOMPARE(circuit.inputs[0]->value, 40.0f);
    QCOMPARE(circuit.outputs[0]->value, 42.0f);
    QVERIFY(!document.IsModified());
    window->close();

    // A click in the input column where no input is yet would add one.
    QTest::mouseClick(frame.view().viewport(), Qt::LeftButton, {}, {40, 200});
    QCOMPARE(frame.statusBar()->currentMessage(), QStringLiteral("Der Schaltkreis ist gesperrt."));
    QCOMPARE(circuit.inputs.size(), std::size_t{2});

    // Without a table beside the file the "Öffnen" dialog asks for one, in the file's folder.
    QFile::remove(files.filePath(QStringLiteral("kind1.csv")));
    QString askedFolder;
    frame.findChild<CheckCommands*>()->askOpenPath = [&](QWidget*, const QString& folder,
                                                         const QString&) {
      askedFolder = folder;
      return QString();
    };
    frame.action(kCheckTask).trigger();
    QCOMPARE(askedFolder, files.path());
    QVERIFY(frame.findChild<CheckWindow*>() == nullptr ||
            !frame.findChild<CheckWindow*>()->isVisible());
  }

  // The teacher types inputs, "Ausrechnen" fills the outputs from the circuit, "Speichern"
  // writes the table beside the circuit, where "Aufgabe prüfen" finds it.
  void theTeachersGridComputesAndSavesATable() {
    QTemporaryDir files;
    const QString circuitPath = files.filePath(QStringLiteral("aufgabe.trv"));
    SaveAdder(circuitPath);
    CTrivenorDoc document;
    QCOMPARE(document.OpenDocument(circuitPath.toStdString()), DocumentError::None);
    CheckTableDialog dialog(document, nullptr);
    QTableWidget& grid = dialog.grid();
    QCOMPARE(grid.columnCount(), 3);
    dialog.task().setText(QStringLiteral("Addiere."));
    const QList<QStringList> typed = {{"1", "2"}, {"0,5", "0.25"}};
    for (int row = 0; row < typed.size(); ++row) {
      for (int column = 0; column < 2; ++column) {
        grid.setItem(row, column, new QTableWidgetItem(typed[row][column]));
      }
    }
    grid.setItem(0, 2, new QTableWidgetItem(QStringLiteral("stale")));
    dialog.findChild<QPushButton*>(QStringLiteral("compute"))->click();
    QCOMPARE(Cell(grid, 0, 2), QStringLiteral("3"));
    QCOMPARE(Cell(grid, 1, 2), QStringLiteral("0.75"));
    dialog.findChild<QPushButton*>(QStringLiteral("save"))->click();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QFile table(CheckTablePathFor(circuitPath));
    QVERIFY(table.open(QIODevice::ReadOnly));
    QCOMPARE(table.readAll(), QByteArray("# Addiere.\nE1;E2;A1\n1;2;3\n0,5;0.25;0.75\n"));
  }
};

}  // namespace trivenor

QTEST_MAIN(trivenor::CheckCommandsTest)
#include "test_check_commands.moc"
