#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QtTest>
#include <string>
#include <vector>

#include "model/output_display.h"
#include "shell/output_texts_dialog.h"

namespace trivenor {
namespace {

QLineEdit* Edit(QDialog& dialog, const char* name) {
  return dialog.findChild<QLineEdit*>(QString::fromLatin1(name));
}

QListWidget* List(QDialog& dialog) {
  return dialog.findChild<QListWidget*>(QStringLiteral("list"));
}

void Click(QDialog& dialog, const char* name) {
  dialog.findChild<QPushButton*>(QString::fromLatin1(name))->click();
}

QStringList Rows(QDialog& dialog) {
  QStringList rows;
  for (int i = 0; i < List(dialog)->count(); ++i) {
    rows << List(dialog)->item(i)->text();
  }
  return rows;
}

void AddRow(QDialog& dialog, const QString& value, const QString& text) {
  Edit(dialog, "value")->setText(value);
  Edit(dialog, "text")->setText(text);
  Click(dialog, "new");
}

// "value=text" per entry, head first.
QStringList Table(const std::vector<OutputText>& texts) {
  QStringList entries;
  for (const OutputText& entry : texts) {
    entries << QString::number(entry.value) + "=" + QString::fromStdString(entry.text);
  }
  return entries;
}

}  // namespace

class OutputTextsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void opensWithTheTableHeadFirstInPrintfForm();
  void newAppendsAsTypedAndKeepsTheFields();
  void deleteRemovesOnlyASelectedRow();
  void okStoresTheRowsReversedSplitAtTheValueLength();
  void okWithAnEmptyListEmptiesTheTable();
  void cancelLeavesTheTableAlone();
};

void OutputTextsDialogTest::opensWithTheTableHeadFirstInPrintfForm() {
  std::vector<OutputText> texts{{0.1f, "klein"}, {1e7f, ""}, {-2.5f, "a: b"}};
  OutputTextsDialog dialog(texts);
  // 0.1f widened to double is 0.100000001..., which "%g" rounds to six digits.
  QCOMPARE(Rows(dialog), QStringList({"0.1: klein", "1e+07: ", "-2.5: a: b"}));
}

void OutputTextsDialogTest::newAppendsAsTypedAndKeepsTheFields() {
  std::vector<OutputText> texts;
  OutputTextsDialog dialog(texts);
  AddRow(dialog, "1", "an");
  AddRow(dialog, " 1", "an");  // not trimmed, and the same value may come twice
  AddRow(dialog, "", "leer");
  AddRow(dialog, "abc", "");
  QCOMPARE(Rows(dialog), QStringList({"1: an", " 1: an", ": leer", "abc: "}));
  QCOMPARE(Edit(dialog, "value")->text(), QStringLiteral("abc"));
  QCOMPARE(Edit(dialog, "text")->text(), QString());
  QVERIFY(List(dialog)->selectedItems().isEmpty());
}

void OutputTextsDialogTest::deleteRemovesOnlyASelectedRow() {
  std::vector<OutputText> texts;
  OutputTextsDialog dialog(texts);
  for (const char* value : {"1", "2", "3"}) {
    AddRow(dialog, value, "x");
  }
  // A current row without a selection, as the list has after taking the focus, stays.
  List(dialog)->setCurrentRow(0, QItemSelectionModel::NoUpdate);
  Click(dialog, "delete");
  QCOMPARE(Rows(dialog).size(), 3);

  List(dialog)->setCurrentRow(1);
  Click(dialog, "delete");
  QCOMPARE(Rows(dialog), QStringList({"1: x", "3: x"}));
  QCOMPARE(Edit(dialog, "value")->text(), QStringLiteral("3"));
  // Regression: the row after the deleted one used to be selected, so a second click took it too.
  QVERIFY(List(dialog)->selectedItems().isEmpty());
  Click(dialog, "delete");
  QCOMPARE(Rows(dialog), QStringList({"1: x", "3: x"}));
}

// The last row becomes the head, so of two rows for the same value the lower one is shown.
// Values are read as atof reads them; the split is at the value's length, not at ": ".
void OutputTextsDialogTest::okStoresTheRowsReversedSplitAtTheValueLength() {
  std::vector<OutputText> texts{{7.0f, "alt"}};
  OutputTextsDialog dialog(texts);
  List(dialog)->clear();
  AddRow(dialog, "1", "A");
  AddRow(dialog, "0", "aus");
  AddRow(dialog, "1", "B");
  AddRow(dialog, "abc", "nur Buchstaben");
  AddRow(dialog, "", "ohne Wert");
  AddRow(dialog, "2: 3", "Zeit: 12:00");
  AddRow(dialog, " -1.5e1x", "");
  Click(dialog, "ok");

  QCOMPARE(Table(texts), QStringList({"-15=", "2=Zeit: 12:00", "0=ohne Wert", "0=nur Buchstaben",
                                      "1=B", "0=aus", "1=A"}));

  OutputDisplay display;
  display.texts = texts;
  display.inputs[0]->value = 1.0f;
  display.Evaluate();
  QCOMPARE(display.label, std::string("B"));
}

void OutputTextsDialogTest::okWithAnEmptyListEmptiesTheTable() {
  std::vector<OutputText> texts{{1.0f, "an"}};
  OutputTextsDialog dialog(texts);
  List(dialog)->setCurrentRow(0);
  Click(dialog, "delete");
  Click(dialog, "ok");
  QVERIFY(texts.empty());
  QCOMPARE(dialog.result(), int(QDialog::Accepted));
}

void OutputTextsDialogTest::cancelLeavesTheTableAlone() {
  std::vector<OutputText> texts;
  OutputTextsDialog dialog(texts);
  AddRow(dialog, "1", "an");
  Click(dialog, "cancel");
  QVERIFY(texts.empty());
  QCOMPARE(dialog.result(), int(QDialog::Rejected));
}

}  // namespace trivenor

QTEST_MAIN(trivenor::OutputTextsDialogTest)
#include "test_output_texts_dialog.moc"
