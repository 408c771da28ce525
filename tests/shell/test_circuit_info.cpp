#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "dialog_answering.h"
#include "document/circuit_info.h"
#include "isolated_settings.h"
#include "model/component_kind.h"
#include "shell/circuit_info_dialog.h"
#include "shell/main_frame.h"
#include "view/display_commands.h"

namespace trivenor {
namespace {

using test_support::PressOkAnsweringWarning;
using test_support::Warning;

QLineEdit& Field(QDialog& dialog, const char* name) {
  return *dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
}

QCheckBox& EditableBox(QDialog& dialog) {
  return *dialog.findChild<QCheckBox*>(QStringLiteral("editable"));
}

/// Types the three texts (the password twice where it is asked for twice), sets the check box
/// and presses "OK"; returns the warning, if any (see PressOkAnsweringWarning).
QString Confirm(QDialog& dialog, const CircuitInfo& typed) {
  Field(dialog, "title").setText(QString::fromStdString(typed.title));
  Field(dialog, "owner").setText(QString::fromStdString(typed.owner));
  Field(dialog, "password").setText(QString::fromStdString(typed.password));
  if (auto* repeated = dialog.findChild<QLineEdit*>(QStringLiteral("repeatedPassword"))) {
    repeated->setText(QString::fromStdString(typed.password));
  }
  EditableBox(dialog).setChecked(typed.editable);
  return PressOkAnsweringWarning(dialog);
}

/// Counts the paint events of a widget.
class PaintCounter : public QObject {
 public:
  explicit PaintCounter(QWidget& widget) { widget.installEventFilter(this); }
  int paints = 0;

 protected:
  bool eventFilter(QObject* /*watched*/, QEvent* event) override {
    paints += event->type() == QEvent::Paint ? 1 : 0;
    return false;
  }
};

const CircuitInfo kLocked = {
    .title = "Addierer", .owner = "Erika", .password = "Geheim", .editable = false};

}  // namespace

class CircuitInfoTest : public QObject {
  Q_OBJECT

  IsolatedSettings settings_;

 private slots:
  void init() {
    document_ = std::make_unique<CTrivenorDoc>();
    frame_ = std::make_unique<CMainFrame>(*document_);
    frame_->view().SetFirstTickDelay(60000);  // no tick unless a test runs one
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
  }
  void cleanup() {
    frame_.reset();
    document_.reset();
  }

  void dialogStartsFromTheCircuitAndCancelChangesNothing() {
    SubCircuit& circuit = document_->circuit();
    circuit.label = "Ampel";
    circuit.owner = "Max";
    circuit.password = "Geheim";
    document_->settings.editable = false;

    const bool shown = RunCircuitInfo([](CircuitInfoDialog& dialog) {
      QCOMPARE(dialog.windowTitle(), QStringLiteral("Schaltkreisinformationen"));
      QCOMPARE(Field(dialog, "title").text(), QStringLiteral("Ampel"));
      QCOMPARE(Field(dialog, "owner").text(), QStringLiteral("Max"));
      QCOMPARE(Field(dialog, "password").text(), QString());
      QCOMPARE(Field(dialog, "password").echoMode(), QLineEdit::Password);
      QCOMPARE(EditableBox(dialog).text(), QStringLiteral("Änderungen zulassen"));
      QVERIFY(!EditableBox(dialog).isChecked());
      QStringList labels;
      for (const QLabel* label : dialog.findChildren<QLabel*>()) {
        labels.append(label->text());
      }
      QCOMPARE(labels, (QStringList{"erstellt von", "Passwort:"}));
      for (const QWidget* control : dialog.findChildren<QWidget*>()) {
        QVERIFY2(dialog.rect().contains(control->geometry()), qPrintable(control->objectName()));
      }
      QCOMPARE(dialog.findChild<QPushButton*>(QStringLiteral("cancel"))->text(),
               QStringLiteral("Abbrechen"));

      Field(dialog, "title").setText(QStringLiteral("Weg"));
      Field(dialog, "password").setText(QStringLiteral("Geheim"));
      EditableBox(dialog).setChecked(true);
      dialog.findChild<QPushButton*>(QStringLiteral("cancel"))->click();
    });
    QVERIFY(shown);
    QCOMPARE(circuit.label, std::string("Ampel"));
    QVERIFY(!document_->settings.editable);
    QVERIFY(!document_->IsModified());
  }

  // A wrong password used to close the dialog as if confirmed while dropping every change; it
  // is refused in the open dialog instead, so the user knows and keeps what was typed.
  void onlyTheStoredPasswordChangesTheValues() {
    QCOMPARE(frame_->windowTitle(), QStringLiteral("Unbenannt - Trivenor"));
    PaintCounter canvasPaints(*frame_->view().viewport());
    QVERIFY(RunCircuitInfo([](CircuitInfoDialog& dialog) {
      QVERIFY(EditableBox(dialog).isChecked());
      QCOMPARE(Confirm(dialog, kLocked), QString());
    }));
    QVERIFY(document_->IsModified());
    QCOMPARE(ReadCircuitInfo(*document_).owner, kLocked.owner);
    QCOMPARE(document_->circuit().password, kLocked.password);
    QVERIFY(!document_->settings.editable);
    // The title carries the lock, and nothing else has changed in it.
    QCOMPARE(frame_->windowTitle(), QStringLiteral("Unbenannt [gesperrt] - Trivenor"));
    const int paintsBefore = canvasPaints.paints;
    QTRY_VERIFY(canvasPaints.paints > paintsBefore);

    document_->SetModifiedFlag(false);
    // Only looking needs no password.
    CircuitInfo onlyLooked = kLocked;
    onlyLooked.password.clear();
    QVERIFY(RunCircuitInfo([&onlyLooked](CircuitInfoDialog& dialog) {
      QCOMPARE(Confirm(dialog, onlyLooked), QString());
    }));
    QVERIFY(!document_->IsModified());
    QCOMPARE(document_->circuit().password, kLocked.password);
    // A wrong password typed alone was meant to change something: it is refused all the same.
    onlyLooked.password = "geheim";
    QVERIFY(RunCircuitInfo([&onlyLooked](CircuitInfoDialog& dialog) {
      QCOMPARE(Confirm(dialog, onlyLooked),
               Warning(QString::fromUtf8(CircuitInfoDialog::kWrongPassword)));
      dialog.reject();
    }));

    CircuitInfo unlocked = {.title = "Neu", .owner = "Max", .password = "", .editable = true};
    QVERIFY(RunCircuitInfo([&unlocked](CircuitInfoDialog& dialog) {
      const QString refused = Warning(QString::fromUtf8(CircuitInfoDialog::kWrongPassword));
      for (const char* wrong : {"", "geheim", "Geheim "}) {
        unlocked.password = wrong;
        QCOMPARE(Confirm(dialog, unlocked), refused);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.focusWidget(), &Field(dialog, "password"));
        QCOMPARE(Field(dialog, "title").text(), QStringLiteral("Neu"));
      }
      unlocked.password = "Geheim";
      QCOMPARE(Confirm(dialog, unlocked), QString());
    }));
    QVERIFY(document_->settings.editable);
    QCOMPARE(document_->circuit().label, std::string("Neu"));
    QCOMPARE(document_->circuit().password, std::string("Geheim"));
    QVERIFY(document_->IsModified());
  }

  // Regression: a typo in the masked field became the password unseen and locked the circuit
  // for good.
  void aNewPasswordIsTakenOnlyWhenTypedTwiceAlike() {
    QVERIFY(RunCircuitInfo([](CircuitInfoDialog& dialog) {
      QLineEdit& repeated = Field(dialog, "repeatedPassword");
      QCOMPARE(repeated.echoMode(), QLineEdit::Password);
      const auto* label = dialog.findChildren<QLabel*>().last();
      QCOMPARE(label->text(), QStringLiteral("Passwort wiederholen:"));
      QVERIFY(label->geometry().right() < repeated.x());
      for (const QWidget* control : dialog.findChildren<QWidget*>()) {
        QVERIFY2(dialog.rect().contains(control->geometry()), qPrintable(control->objectName()));
      }

      Field(dialog, "title").setText(QStringLiteral("Addierer"));
      Field(dialog, "password").setText(QStringLiteral("Geheim"));
      const QString differ = Warning(QString::fromUtf8(CircuitInfoDialog::kPasswordsDiffer));
      for (const char* typo : {"Gehiem", ""}) {
        repeated.setText(QString::fromUtf8(typo));
        QCOMPARE(PressOkAnsweringWarning(dialog), differ);
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.focusWidget(), &repeated);
      }
      repeated.setText(QStringLiteral("Geheim"));
      QCOMPARE(PressOkAnsweringWarning(dialog), QString());
    }));
    QCOMPARE(document_->circuit().label, std::string("Addierer"));
    QCOMPARE(document_->circuit().password, std::string("Geheim"));

    // Once stored, the password only opens: there is nothing to repeat.
    QVERIFY(RunCircuitInfo([](CircuitInfoDialog& dialog) {
      QVERIFY(dialog.findChild<QLineEdit*>(QStringLiteral("repeatedPassword")) == nullptr);
      dialog.reject();
    }));
  }

  void aLockedCanvasRefusesStructuralEditsButRunsTypesAndSaves() {
    // Built while changes are allowed: input 0 -> "+" -> output 0, a free output 1.
    SubCircuit& circuit = document_->circuit();
    Click({40, 20});
    Click({515, 20});
    Click({515, 50});
    frame_->view().ArmPlacing(kind::Plus);
    Click({200, 100});
    QCOMPARE(circuit.components.size(), 1u);
    Component& plus = *circuit.components.front();
    frame_->view().viewport()->grab();  // a paint lays the ports out
    QVERIFY(plus.width >= 20);          // its middle is then clear of its ports
    Drag({90, 20}, PointOf(*plus.inputs[0]));
    Drag(PointOf(*plus.outputs[0]) - QPoint(1, 0), {510, 20});
    QCOMPARE(circuit.outputs[0]->source, plus.outputs[0].get());
    const QPoint middle(plus.x + plus.width / 2, plus.y + plus.height / 2);
    Click(middle);
    QCOMPARE(document_->selectedComponent, &plus);

    QVERIFY(RunCircuitInfo(
        [](CircuitInfoDialog& dialog) { QCOMPARE(Confirm(dialog, kLocked), QString()); }));
    QVERIFY(!document_->settings.editable);

    // What was selected before the lock cannot be deleted, but it can still be recoloured.
    QTest::keyClick(&frame_->view(), Qt::Key_Delete);
    QCOMPARE(circuit.components.size(), 1u);
    QCOMPARE(plus.inputs[0]->source, circuit.inputs[0].get());
    frame_->action(kColourRed).trigger();
    QCOMPARE(plus.colour, kRed);

    frame_->view().ArmPlacing(kind::Times);
    Click({300, 200});
    QCOMPARE(circuit.components.size(), 1u);
    QCOMPARE(frame_->view().editState().mode, EditMode::PlacingComponent);  // stays armed
    RightClick({300, 200});  // disarms, and adds no junction
    QCOMPARE(frame_->view().editState().mode, EditMode::Idle);
    QVERIFY(circuit.junctions.empty());

    const QPoint at(plus.x, plus.y);
    Drag(middle, middle + QPoint(60, 80));
    QCOMPARE(QPoint(plus.x, plus.y), at);
    Drag(PointOf(*plus.outputs[0]) - QPoint(1, 0), {510, 50});
    QCOMPARE(circuit.outputs[1]->source, nullptr);
    Click({40, 110});  // a free input row
    Click({515, 80});  // a free output row
    Click({530, 20});  // the far part of an output row would delete it
    QCOMPARE(circuit.inputs.size(), 1u);
    QCOMPARE(circuit.outputs.size(), 2u);
    QCOMPARE(circuit.outputs[0]->source, plus.outputs[0].get());

    Click({40, 20});
    QTest::keyClicks(&frame_->view(), "7");
    QTest::keyClick(&frame_->view(), Qt::Key_Return);
    QCOMPARE(circuit.inputs[0]->value, 7.0f);
    Click({40, 20});
    QTest::keyClick(&frame_->view(), Qt::Key_Delete);  // ends the typing, deletes nothing
    QCOMPARE(circuit.inputs.size(), 1u);

    for (int tick = 0; tick < 4; ++tick) {
      frame_->view().OnTimerTick();
    }
    QCOMPARE(circuit.outputs[0]->value, 7.0f);
    QCOMPARE(frame_->view().SimulationTimerInterval(), document_->tickPeriod);

    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("addierer"));
    frame_->documentCommands().fileDialogs.askSavePath = [&path](QWidget*, const QString&) {
      return path;
    };
    frame_->action(kFileSave).trigger();
    QVERIFY(!document_->IsModified());
    CTrivenorDoc reopened;
    QCOMPARE(reopened.OpenDocument(path.toStdString()), DocumentError::None);
    QVERIFY(!reopened.settings.editable);
    QCOMPARE(reopened.circuit().owner, kLocked.owner);
    QCOMPARE(reopened.circuit().components.size(), 1u);
    QCOMPARE(reopened.circuit().components.front()->colour, kRed);
  }

 private:
  /// Triggers "Info zum Schaltkreis" and runs `answer` on its dialog from inside the dialog's
  /// own event loop. False if no dialog came up.
  bool RunCircuitInfo(const std::function<void(CircuitInfoDialog&)>& answer) {
    bool shown = false;
    QTimer answerer;
    answerer.setInterval(0);
    QObject::connect(&answerer, &QTimer::timeout, [&] {
      auto* dialog = qobject_cast<CircuitInfoDialog*>(QApplication::activeModalWidget());
      if (dialog == nullptr) {
        return;
      }
      answerer.stop();  // the answer may open a warning box with an event loop of its own
      shown = true;
      answer(*dialog);
      if (dialog->isVisible()) {  // a failed check left it open
        dialog->reject();
      }
    });
    answerer.start();
    frame_->action(kCircuitInfo).trigger();
    return shown;
  }

  QWidget* Canvas() const { return frame_->view().viewport(); }
  /// Where the logical point `logical` lies in the viewport at the current scroll position.
  QPoint ToViewport(QPoint logical) const {
    const CTrivenorView& view = frame_->view();
    return logical - QPoint(view.horizontalScrollBar()->value(), view.verticalScrollBar()->value());
  }
  static QPoint PointOf(const Port& port) { return {port.x, port.y}; }

  void Click(QPoint logical) {
    QTest::mouseClick(Canvas(), Qt::LeftButton, {}, ToViewport(logical));
  }
  void RightClick(QPoint logical) {
    QTest::mouseClick(Canvas(), Qt::RightButton, {}, ToViewport(logical));
  }
  void Drag(QPoint from, QPoint to) {
    QTest::mousePress(Canvas(), Qt::LeftButton, {}, ToViewport(from));
    QTest::mouseMove(Canvas(), ToViewport((from + to) / 2));
    QTest::mouseMove(Canvas(), ToViewport(to));
    QTest::mouseRelease(Canvas(), Qt::LeftButton, {}, ToViewport(to));
  }

  std::unique_ptr<CTrivenorDoc> document_;
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace trivenor

QTEST_MAIN(trivenor::CircuitInfoTest)
#include "test_circuit_info.moc"
