#include <QApplication>
#include <QGroupBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <QtTest>
#include <utility>

#include "dialog_answering.h"
#include "model/graph_plot.h"
#include "shell/graph_settings_dialog.h"

namespace trivenor {
namespace {

QLineEdit* Field(QDialog& dialog, const QString& name) {
  return dialog.findChild<QLineEdit*>(name);
}

QRadioButton* Radio(QDialog& dialog, const char* name) {
  return dialog.findChild<QRadioButton*>(QString::fromLatin1(name));
}

QString PressOk(QDialog& dialog) {
  return test_support::PressOkAnsweringWarning(dialog);
}

using test_support::Warning;

const QString kNotANumber = QStringLiteral("Geben Sie eine ganze Zahl ein.");
const QString kNotACount = QStringLiteral("Geben Sie eine ganze Zahl zwischen 1 und 10000 ein.");

}  // namespace

class GraphSettingsDialogTest : public QObject {
  Q_OBJECT

 private slots:
  void startsWithNoChoiceAndZeros();
  void confirmingThePresetsGivesASmallContinuousGraph();
  void refusedFields_data();
  void refusedFields();
  void refusalsFollowTheReadingOrder();
  void manualXRangeCountsOnlyForAbbildung_data();
  void manualXRangeCountsOnlyForAbbildung();
  void controlsLieInsideTheDialogWithoutOverlapping();
};

void GraphSettingsDialogTest::startsWithNoChoiceAndZeros() {
  GraphSettingsDialog dialog;
  for (const char* radio :
       {"plotMode0", "plotMode1", "xScaleMode0", "xScaleMode1", "yScaleMode0", "yScaleMode1"}) {
    QVERIFY2(!Radio(dialog, radio)->isChecked(), radio);
  }
  QCOMPARE(Field(dialog, "pointCount")->text(), QStringLiteral("0"));

  // Presetting and then taking a choice away again shows no choice either.
  dialog.SetValues(GraphPlacingPresets());
  QVERIFY(Radio(dialog, "plotMode0")->isChecked());
  dialog.SetValues(GraphDialogValues{});
  QVERIFY(!Radio(dialog, "plotMode0")->isChecked());
}

void GraphSettingsDialogTest::confirmingThePresetsGivesASmallContinuousGraph() {
  GraphSettingsDialog dialog;
  dialog.SetValues(GraphPlacingPresets());
  QCOMPARE(Field(dialog, "xMin")->text(), QStringLiteral("-1"));
  dialog.show();
  QCOMPARE(PressOk(dialog), QString());
  QCOMPARE(dialog.result(), int(QDialog::Accepted));

  const GraphPlot graph(ToGraphSettings(dialog.values()));
  QVERIFY(graph.continuous && graph.autoX && graph.autoY);
  QCOMPARE(graph.heightLines, 4);
  QCOMPARE(graph.widthChars, 4);
  QCOMPARE(graph.points, 100);
  QCOMPARE(graph.period, 20);
  QCOMPARE(graph.xMax - graph.xMin, 0.0f);
  QCOMPARE(graph.yMax - graph.yMin, 0.0f);
}

void GraphSettingsDialogTest::refusedFields_data() {
  QTest::addColumn<QStringList>("typed");  // "field=text" pairs
  QTest::addColumn<QString>("focused");
  QTest::addColumn<QString>("message");

  QTest::newRow("points 0") << QStringList{"pointCount=0"} << "pointCount" << kNotACount;
  QTest::newRow("points 10001") << QStringList{"pointCount=10001"} << "pointCount" << kNotACount;
  QTest::newRow("empty period") << QStringList{"recordPeriod="} << "recordPeriod" << kNotANumber;
  QTest::newRow("letters first") << QStringList{"yMin=a1"} << "yMin" << kNotANumber;
  // Every field is read, even one the automatic scaling ignores.
  QTest::newRow("empty X max while automatic") << QStringList{"xMax="} << "xMax" << kNotANumber;
  // A range check runs as soon as its field is read, before the next field is read.
  QTest::newRow("height before period")
      << QStringList{"recordPeriod=", "heightLines=10001"} << "heightLines" << kNotACount;
}

// The first refused field shows its message and gets the focus; the dialog stays open with what
// was typed, and nothing is taken over.
void GraphSettingsDialogTest::refusedFields() {
  QFETCH(QStringList, typed);
  QFETCH(QString, focused);
  QFETCH(QString, message);

  GraphSettingsDialog dialog;
  dialog.SetValues(GraphPlacingPresets());
  dialog.show();
  Radio(dialog, "plotMode1")->click();
  for (const QString& pair : typed) {
    Field(dialog, pair.section('=', 0, 0))->setText(pair.section('=', 1));
  }
  QCOMPARE(PressOk(dialog), Warning(message));
  QVERIFY(dialog.isVisible());
  QCOMPARE(dialog.focusWidget(), Field(dialog, focused));
  for (const QString& pair : typed) {
    QCOMPARE(Field(dialog, pair.section('=', 0, 0))->text(), pair.section('=', 1));
  }
  QCOMPARE(dialog.values().plotMode, 0);
  QCOMPARE(dialog.values().pointCount, 100);
}

// The reading order, not the layout, decides which fault is reported: with every number field
// empty, each "OK" names the next field once the one before is put right.
void GraphSettingsDialogTest::refusalsFollowTheReadingOrder() {
  GraphSettingsDialog dialog;
  dialog.SetValues(GraphPlacingPresets());
  dialog.show();
  const QStringList order{"xMax",       "yMax",       "xMin",        "yMin",
                          "pointCount", "widthChars", "heightLines", "recordPeriod"};
  for (const QString& name : order) {
    Field(dialog, name)->clear();
  }
  for (const QString& name : order) {
    QCOMPARE(PressOk(dialog), Warning(kNotANumber));
    QCOMPARE(dialog.focusWidget(), Field(dialog, name));
    Field(dialog, name)->setText(QStringLiteral("5"));
  }
  QCOMPARE(PressOk(dialog), QString());
  QCOMPARE(dialog.values().widthChars, 5);
}

void GraphSettingsDialogTest::manualXRangeCountsOnlyForAbbildung_data() {
  QTest::addColumn<bool>("abbildung");
  QTest::addColumn<float>("xMin");
  QTest::addColumn<float>("xMax");

  QTest::newRow("Abbildung") << true << -10.0f << 10.0f;
  QTest::newRow("Fortlaufend") << false << 0.0f << 0.0f;
}

void GraphSettingsDialogTest::manualXRangeCountsOnlyForAbbildung() {
  QFETCH(bool, abbildung);
  QFETCH(float, xMin);
  QFETCH(float, xMax);

  GraphSettingsDialog dialog;
  dialog.SetValues(GraphPlacingPresets());
  dialog.show();
  Radio(dialog, abbildung ? "plotMode1" : "plotMode0")->click();
  Radio(dialog, "xScaleMode1")->click();
  Field(dialog, "xMax")->setText(QStringLiteral("10"));
  Field(dialog, "xMin")->setText(QStringLiteral("-10"));
  QCOMPARE(PressOk(dialog), QString());

  const GraphPlot graph(ToGraphSettings(dialog.values()));
  QCOMPARE(graph.continuous, !abbildung);
  QVERIFY(!graph.autoX && graph.autoY);
  QCOMPARE(graph.xMin, xMin);
  QCOMPARE(graph.xMax, xMax);
  QCOMPARE(graph.xSamples.size(), abbildung ? std::size_t{100} : std::size_t{0});
}

// The platform's font is not the one the layout was made for: the labels must still fit, and
// apart from the group boxes that frame them no two controls may cover each other.
void GraphSettingsDialogTest::controlsLieInsideTheDialogWithoutOverlapping() {
  GraphSettingsDialog dialog;
  QList<QWidget*> controls;
  for (QWidget* child : dialog.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
    QVERIFY(dialog.rect().contains(child->geometry()));
    if (!qobject_cast<QGroupBox*>(child)) {
      controls << child;
    }
  }
  for (qsizetype i = 0; i < controls.size(); ++i) {
    for (qsizetype j = i + 1; j < controls.size(); ++j) {
      const QString pair = controls[i]->objectName() + "/" + controls[j]->objectName() + " " +
                           controls[i]->property("text").toString() + "/" +
                           controls[j]->property("text").toString();
      QVERIFY2(!controls[i]->geometry().intersects(controls[j]->geometry()), qPrintable(pair));
    }
  }
}

}  // namespace trivenor

QTEST_MAIN(trivenor::GraphSettingsDialogTest)
#include "test_graph_settings_dialog.moc"
