#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFile>
#include <QFontDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "dialog_answering.h"
#include "document/circuit_info.h"
#include "isolated_settings.h"
#include "model/component_kind.h"
#include "model/operators.h"
#include "shell/main_frame.h"
#include "shell/sub_circuit_commands.h"

namespace trivenor {

using test_support::AnswerNextDialog;

/// Undo and redo on the real main window, every kind of change made as a user makes it.
class UndoTest : public QObject {
  Q_OBJECT

  IsolatedSettings settings_;

 private slots:
  // One step of each kind, each named in the menu, undone back to the file opened and redone,
  // with a palette and the sub-circuit dialog open throughout; the circuit saves byte for byte
  // as that file and as the edited circuit. Then the lock greys both commands.
  void undoingEveryStepGivesTheOpenedFileBackAndRedoingTheEditedOne() {
    QTemporaryDir files;
    const auto path = [&files](const char* name) { return files.filePath(name); };
    CTrivenorDoc document;
    CMainFrame frame(document);
    frame_ = &frame;
    frame.view().SetFirstTickDelay(600000);  // no passes but those of opening and restoring
    frame.show();
    QVERIFY(QTest::qWaitForWindowExposed(&frame));
    WriteSettledCircuit(path("original"));
    QFile::copy(path("original"), path("placed"));
    QFile::copy(path("original"), path("other"));
    frame.documentCommands().OpenFile(path("original"));
    SaveAs(path("original"));  // laid out by this editor's paint
    frame.action(kPaletteArithmetic).trigger();
    frame.action(kSubCircuits).trigger();
    CTrivenorView& view = frame.view();
    SubCircuit& top = document.circuit();
    Component& function = *top.components[0];

    QTest::keyClick(&view, Qt::Key_Minus);
    Click({200, 300});
    Step("Bauteil einfügen");
    Component& minus = *top.components[0];
    Drag(Centre(minus), Centre(minus) + QPoint(60, 40));
    Step("Verschieben");
    Drag({90, 20}, PointOf(*minus.inputs[0]));
    Step("Verbinden");
    Click(PointOf(*minus.inputs[0]));
    QTest::keyClick(&view, Qt::Key_Delete);
    Step("Verbindung löschen");
    Click(Centre(minus));
    QTest::keyClick(&view, Qt::Key_Delete);
    Step("Bauteil löschen");
    QTest::mouseClick(view.viewport(), Qt::RightButton, {}, {400, 400});
    Step("Knoten einfügen");
    QTest::mousePress(view.viewport(), Qt::RightButton, {}, {400, 400});
    QTest::mouseMove(view.viewport(), {415, 385});
    QTest::mouseMove(view.viewport(), {430, 370});
    QTest::mouseRelease(view.viewport(), Qt::RightButton, {}, {430, 370});
    Step("Verschieben");
    QTest::keyClick(&view, Qt::Key_Delete);
    Step("Knoten löschen");
    Click({40, 80});
    Step("Eingang einfügen");
    Click({40, 80});
    QTest::keyClicks(&view, "7");
    QTest::keyClick(&view, Qt::Key_Return);
    Step("Eingabewert");
    Click({515, 80});
    Step("Ausgang einfügen");
    Click({525, 80});
    Step("Ausgang löschen");
    Click(Centre(function));
    Trigger(kColourRed, "Farbe");
    Trigger(kThickness4, "Liniendicke");
    Place(kind::DelayLine, {120, 380}, "4");
    Place(kind::OutputDisplay, {300, 420});
    Place(kind::GraphPlot, {420, 250});
    AnswerNextDialog([](QDialog& dialog) {
      static_cast<QFontDialog&>(dialog).setCurrentFont(
          QFont(QStringLiteral("Liberation Mono"), 12));
      dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    Trigger(kCanvasFont, "Schrift");
    AnswerWith("field", "500");
    Trigger(kCanvasWidth, "Fensterbreite");
    AnswerWith("title", "Geändert");
    Trigger(kCircuitInfo, "Schaltkreisinformationen");
    SubCircuitCommands& subCircuits = *frame.findChild<SubCircuitCommands*>();
    subCircuits.askPath = [&path](QWidget*) { return path("placed"); };
    SubCircuitDialog& dialog = *subCircuits.dialog();
    dialog.findChild<QPushButton*>(QStringLiteral("load"))->click();
    dialog.findChild<QListWidget*>()->setCurrentRow(0);
    dialog.findChild<QCheckBox*>(QStringLiteral("dynamic"))->setChecked(true);
    dialog.findChild<QPushButton*>(QStringLiteral("insert"))->click();
    Click({120, 200});
    Step("Subschaltkreis einfügen");
    Click(Centre(*top.components[0]));
    subCircuits.askPath = [&path](QWidget*) { return path("other"); };
    Trigger(kDynamicPath, "Pfad festlegen");
    SaveAs(path("edited"));

    QStringList undone;
    while (frame.action(kEditUndo).isEnabled()) {
      frame.action(kEditUndo).trigger();
      undone.prepend(frame.action(kEditRedo).text().remove(QStringLiteral("&Wiederherstellen: ")));
    }
    QCOMPARE(undone, steps_);
    QVERIFY(frame.palettes().palette(PaletteKind::Arithmetic)->isVisible());
    QVERIFY(subCircuits.dialog()->isVisible());
    QVERIFY(view.IsSimulationTimerActive());
    QVERIFY(document.IsModified());  // the file holds the edited circuit
    const QByteArray original = Bytes(path("original"));
    SaveAs(path("undone"));
    QCOMPARE(Bytes(path("undone")), original);
    // Away from the state just saved and back: the modified flag follows.
    frame.action(kEditRedo).trigger();
    QVERIFY(document.IsModified());
    frame.action(kEditUndo).trigger();
    QVERIFY(!document.IsModified());

    while (frame.action(kEditRedo).isEnabled()) {
      frame.action(kEditRedo).trigger();
    }
    QVERIFY(static_cast<const SubCircuit&>(*top.components[0]).dynamic);
    SaveAs(path("redone"));
    QCOMPARE(Bytes(path("redone")), Bytes(path("edited")));

    QVERIFY(ApplyCircuitInfo(document, {{}, {}, "geheim", false}));
    QVERIFY(!frame.action(kEditUndo).isEnabled() && !frame.action(kEditRedo).isEnabled());
    QTest::keyClick(&view, Qt::Key_Z, Qt::ControlModifier);
    QVERIFY(!document.settings.editable);
    QVERIFY(ApplyCircuitInfo(document, {{}, {}, "geheim", true}));
    frame.action(kEditUndo).trigger();  // back to the lock, which greys both again
    QVERIFY(!document.settings.editable);
    QVERIFY(!frame.action(kEditUndo).isEnabled() && !frame.action(kEditRedo).isEnabled());

    document.SetModifiedFlag(false);  // no save question
    frame.documentCommands().OpenFile(path("original"));
    QVERIFY(!frame.action(kEditUndo).isEnabled() && !frame.action(kEditRedo).isEnabled());
  }

 private:
  static QByteArray Bytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
  }

  /// 2 into an absolute value into the output: settled, so a pass changes nothing.
  static void WriteSettledCircuit(const QString& path) {
    CTrivenorDoc source;
    CircuitEdit& edit = source.edit();
    Port& in = edit.AddTerminal(PortRole::CircuitInput, 0, 90, 20);
    in.value = 2.0f;
    Port& out = edit.AddTerminal(PortRole::CircuitOutput, 0, 510, 20);
    Component& function = edit.Place(std::make_unique<UnaryFunction>(kind::Absolute), 200, 95);
    edit.Connect(in, *function.inputs[0]);
    edit.Connect(*function.outputs[0], out);
    source.circuit().Evaluate();
    QCOMPARE(source.SaveDocument(path.toStdString()), DocumentError::None);
  }

  /// "Speichern unter", after a paint has laid the circuit out.
  void SaveAs(const QString& path) {
    frame_->view().viewport()->grab();
    frame_->documentCommands().fileDialogs.askSavePath = [path](QWidget*, const QString&) {
      return path;
    };
    frame_->action(kFileSaveAs).trigger();
    QVERIFY(!frame_->view().document().IsModified());
  }

  /// The last change was exactly one step more, and the menu names it.
  void Step(const QString& name) {
    steps_.append(name);
    QCOMPARE(frame_->action(kEditUndo).text(), "&Rückgängig: " + name);
    QVERIFY(!frame_->action(kEditRedo).isEnabled());
    frame_->view().viewport()->grab();  // lays out what is new, for the next click
  }

  void Trigger(CommandId command, const QString& step) {
    frame_->action(command).trigger();
    Step(step);
  }

  /// Places `kind` at `at`, answering its dialog (with `field` where it has one).
  void Place(int kind, QPoint at, const char* field = nullptr) {
    AnswerWith("field", field);
    frame_->view().ArmPlacing(kind);
    Click(at);
    Step("Bauteil einfügen");
  }

  /// Answers the next dialog with `text` in its field `name` (none: as it is) and "OK".
  static void AnswerWith(const char* name, const char* text) {
    AnswerNextDialog([name, text](QDialog& dialog) {
      if (text != nullptr) {
        dialog.findChild<QLineEdit*>(QString::fromLatin1(name))->setText(QString::fromUtf8(text));
      }
      dialog.findChild<QPushButton*>(QStringLiteral("ok"))->click();
    });
  }

  static QPoint PointOf(const Port& port) { return {port.x, port.y}; }
  /// A point of the body out of reach of its ports.
  static QPoint Centre(const Component& component) {
    return {component.x + component.width / 2, component.y + 1};
  }

  void Click(QPoint at) const {
    QTest::mouseClick(frame_->view().viewport(), Qt::LeftButton, {}, at);
  }
  void Drag(QPoint from, QPoint to) const {
    QWidget* canvas = frame_->view().viewport();
    QTest::mousePress(canvas, Qt::LeftButton, {}, from);
    QTest::mouseMove(canvas, (from + to) / 2);
    QTest::mouseMove(canvas, to);
    QTest::mouseRelease(canvas, Qt::LeftButton, {}, to);
  }

  CMainFrame* frame_ = nullptr;
  QStringList steps_;
};

}  // namespace trivenor

QTEST_MAIN(trivenor::UndoTest)
#include "test_undo.moc"
