#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QtTest>
#include <memory>

#include "dialog_answering.h"
#include "shell/parameter_dialogs.h"

namespace trivenor {
namespace {

QLineEdit* Field(QDialog& dialog) {
  return dialog.findChild<QLineEdit*>(QStringLiteral("field"));
}

QPushButton* Button(QDialog& dialog, const char* name) {
  return dialog.findChild<QPushButton*>(QString::fromLatin1(name));
}

// Types `text` and clicks "OK", answering a warning box (see PressOkAnsweringWarning).
QString PressOk(QDialog& dialog, const QString& text) {
  Field(dialog)->setText(text);
  return test_support::PressOkAnsweringWarning(dialog);
}

using test_support::Warning;

// Plain ints, the type of the data column.
constexpr int kDelay = 0, kHazard = 1, kSpeed = 2, kCanvasWidth = 3;

std::unique_ptr<WholeNumberDialog> MakeDialog(int kind) {
  switch (kind) {
    case kDelay:
      return std::make_unique<DelayDialog>();
    case kHazard:
      return std::make_unique<HazardDialog>();
    case kSpeed:
      return std::make_unique<SpeedDialog>();
    default:
      return std::make_unique<CanvasWidthDialog>();
  }
}

}  // namespace

class ParameterDialogsTest : public QObject {
  Q_OBJECT

 private slots:
  void wholeNumberFields_data();
  void wholeNumberFields();
  void refusalKeepsTheModalDialogOpenWithTheFieldFocused();
  void returnConfirmsAndEscapeCancelsTheDelayDialog();
  void valueDialogTakesEmptyTextAndStopsTypingAt40();
  void controlsLieInsideTheirDialog();
};

void ParameterDialogsTest::wholeNumberFields_data() {
  QTest::addColumn<int>("kind");
  QTest::addColumn<int>("preset");
  QTest::addColumn<QString>("typed");
  QTest::addColumn<QString>("range");  // empty: no warning
  QTest::addColumn<int>("value");

  QTest::newRow("delay confirmed at once") << kDelay << 1 << "1"
                                           << "" << 1;
  QTest::newRow("delay 0") << kDelay << 1 << "0"
                           << "" << 0;
  QTest::newRow("delay 10001") << kDelay << 1 << "10001"
                               << "0 und 10000" << 1;
  QTest::newRow("delay -1") << kDelay << 1 << "-1"
                            << "0 und 10000" << 1;
  QTest::newRow("delay 12abc") << kDelay << 1 << "12abc"
                               << "" << 12;
  QTest::newRow("hazard 0") << kHazard << 1 << "0"
                            << "1 und 10000" << 1;
  QTest::newRow("speed 4") << kSpeed << 50 << "4"
                           << "5 und 5000" << 50;
  QTest::newRow("speed 5001") << kSpeed << 50 << "5001"
                              << "5 und 5000" << 50;
  QTest::newRow("speed 5") << kSpeed << 50 << "5"
                           << "" << 5;
  QTest::newRow("speed 5000") << kSpeed << 50 << "5000"
                              << "" << 5000;
  QTest::newRow("width 399") << kCanvasWidth << 600 << "399"
                             << "400 und 1000" << 600;
  QTest::newRow("width 1001") << kCanvasWidth << 600 << "1001"
                              << "400 und 1000" << 600;
}

// The preset shows in the field; "OK" takes a number in range and refuses the rest with the
// exclamation box, keeping the dialog open and the preset value.
void ParameterDialogsTest::wholeNumberFields() {
  QFETCH(int, kind);
  QFETCH(int, preset);
  QFETCH(QString, typed);
  QFETCH(QString, range);
  QFETCH(int, value);

  const std::unique_ptr<WholeNumberDialog> dialog = MakeDialog(kind);
  dialog->SetValue(preset);
  QCOMPARE(Field(*dialog)->text(), QString::number(preset));
  dialog->show();
  const QString warning = PressOk(*dialog, typed);
  if (range.isEmpty()) {
    QCOMPARE(warning, QString());
    QVERIFY(!dialog->isVisible());
  } else {
    QCOMPARE(warning, Warning("Geben Sie eine ganze Zahl zwischen " + range + " ein."));
    QVERIFY(dialog->isVisible());
  }
  QCOMPARE(dialog->value(), value);
}

// As callers run the dialogs: exec() goes on through a refused "OK", the field has the focus
// back with its text selected, and a later valid "OK" ends it with that value.
void ParameterDialogsTest::refusalKeepsTheModalDialogOpenWithTheFieldFocused() {
  SpeedDialog dialog;
  dialog.SetValue(50);
  bool focused = false;
  QString selected;
  QTimer::singleShot(0, &dialog, [&] {
    PressOk(dialog, QStringLiteral("x"));
    focused = dialog.focusWidget() == Field(dialog);
    selected = Field(dialog)->selectedText();
    PressOk(dialog, QStringLiteral("250"));
  });
  QCOMPARE(dialog.exec(), int(QDialog::Accepted));
  QVERIFY(focused);
  QCOMPARE(selected, QStringLiteral("x"));
  QCOMPARE(dialog.value(), 250);
}

// "Delay" has no "Abbrechen" button, yet Escape cancels it; Return presses the default "OK".
void ParameterDialogsTest::returnConfirmsAndEscapeCancelsTheDelayDialog() {
  DelayDialog dialog;
  QVERIFY(Button(dialog, "cancel") == nullptr);
  dialog.SetValue(1);
  for (const auto key : {Qt::Key_Escape, Qt::Key_Return}) {
    dialog.show();
    Field(dialog)->setText(QStringLiteral("7"));
    QTest::keyClick(Field(dialog), key);
    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.value(), key == Qt::Key_Escape ? 1 : 7);
  }
}

void ParameterDialogsTest::valueDialogTakesEmptyTextAndStopsTypingAt40() {
  ValueDialog dialog;
  dialog.SetText("alt");
  dialog.show();
  QCOMPARE(PressOk(dialog, QString()), QString());
  QCOMPARE(dialog.text(), std::string());

  QTest::keyClicks(Field(dialog), QString(45, QLatin1Char('x')));
  QCOMPARE(Field(dialog)->text().size(), 40);
}

// The platform's font is not the one the layouts were made for: the prompts must still fit and
// nothing may cover the field.
void ParameterDialogsTest::controlsLieInsideTheirDialog() {
  std::vector<std::unique_ptr<QDialog>> dialogs;
  dialogs.push_back(std::make_unique<ValueDialog>());
  for (int kind : {kDelay, kHazard, kSpeed, kCanvasWidth}) {
    dialogs.push_back(MakeDialog(kind));
  }
  for (const auto& dialog : dialogs) {
    const QLineEdit* field = Field(*dialog);
    for (const QWidget* child : dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
      const QString where = dialog->windowTitle() + ": " + child->objectName();
      QVERIFY2(dialog->rect().contains(child->geometry()), qPrintable(where));
      QVERIFY2(child == field || !child->geometry().intersects(field->geometry()),
               qPrintable(where));
    }
  }
}

}  // namespace trivenor

QTEST_MAIN(trivenor::ParameterDialogsTest)
#include "test_parameter_dialogs.moc"
