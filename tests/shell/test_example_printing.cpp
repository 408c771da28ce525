// The committed examples as "trivenor /p" prints them: before any paint, so in the sizes stored
// in the files, which have to be those the editor's screen gives the components.

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPrinter>
#include <QTemporaryDir>
#include <QtTest>
#include <algorithm>

#include "isolated_settings.h"
#include "shell/print_switches.h"
#include "shell/trivenor_app.h"
#include "view/canvas_geometry.h"
#include "view/canvas_painting.h"
#include "view/font_record.h"
#include "view/pdf_reading.h"
#include "view/print_painting.h"
#include "view/qpainter_context.h"

namespace trivenor {
namespace {

// pdftotext measures in points, the page is printed in tenths of a millimetre.
constexpr double kTenthsPerPoint = 254.0 / 72.0;

/// Boxes that share as much as a point of their edges look like one on paper.
bool Meet(const QRectF& a, const QRectF& b) {
  return a.left() <= b.right() && b.left() <= a.right() && a.top() <= b.bottom() &&
         b.top() <= a.bottom();
}

QList<QSize> BodySizes(const SubCircuit& circuit) {
  QList<QSize> sizes;
  for (const auto& component : circuit.components) {
    sizes.append(QSize(component->width, component->height));
  }
  return sizes;
}

}  // namespace

class ExamplePrintingTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(settings_.isValid());
    ConfigureApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
  }

  void cleanup() { qunsetenv(kPrintToPdfVariable); }

  void examplePrintsWithEveryBoxApart_data() {
    QTest::addColumn<QString>("path");
    const QDir folder(qEnvironmentVariable("TRIVENOR_SOURCE_DIR") + QStringLiteral("/examples"));
    const QStringList names = folder.entryList({QStringLiteral("*.trv")}, QDir::Files);
    QVERIFY2(!names.isEmpty(), qPrintable(folder.path()));
    for (const QString& name : names) {
      QTest::newRow(qPrintable(name)) << folder.filePath(name);
    }
  }

  // Regression: the files held sizes the editor never gives, so a print made before any paint
  // drew a display's text across the box beside it.
  void examplePrintsWithEveryBoxApart() {
    QFETCH(QString, path);
    CTrivenorDoc opened;
    QCOMPARE(opened.OpenDocument(path.toStdString()), DocumentError::None);
    const QList<QSize> stored = BodySizes(opened.circuit());
    QImage screen(opened.settings.canvasWidth, canvas::kHeight, QImage::Format_RGB32);
    QPainter painter(&screen);
    painter.setFont(CanvasFont(opened.settings));
    QPainterContext context(painter);
    PaintCanvas(context, opened, EditState{}, {}, {0, 0, screen.width(), screen.height()});
    QCOMPARE(stored, BodySizes(opened.circuit()));

    QTemporaryDir folder;
    const QString pdf = folder.filePath(QStringLiteral("seite.pdf"));
    qputenv(kPrintToPdfVariable, pdf.toUtf8());
    CTrivenorApp app;
    QVERIFY(!app.InitInstance({QStringLiteral("trivenor"), QStringLiteral("/p"), path}));
    QCOMPARE(app.exitCode(), 0);
    // The print starts at the printable area's corner of a printer set up as for "/p".
    QPrinter printer;
    ChoosePrinter(PrintSwitch{path, QString()}, printer);
    const QPointF origin = printer.pageLayout().paintRectPoints().topLeft() * kTenthsPerPoint;
    // The print leaves the sizes it drew in the model: the stored ones, a graph's of its own.
    const auto& components = app.document().circuit().components;
    QList<QRectF> bodies;
    for (const auto& component : components) {
      QVERIFY2(component->x > canvas::kTerminalColumn &&
                   component->x + component->width <
                       canvas::RightBorder(app.document().settings.canvasWidth),
               component->label.c_str());
      bodies.append(QRectF(origin + 2.0 * QPointF(component->x, component->y),
                           2.0 * QSizeF(component->width, component->height)));
    }
    for (qsizetype i = 0; i < bodies.size(); ++i) {
      for (qsizetype j = i + 1; j < bodies.size(); ++j) {
        QVERIFY2(!Meet(bodies[i], bodies[j]),
                 (components[i]->label.str() + " / " + components[j]->label.str()).c_str());
      }
    }
    // Paper prints labels wider than the screen shows them, so a long one may stand out of its
    // box, but not into another. The terminals' values stand outside the border lines.
    for (const test_support::PdfWord& word : test_support::PdfWords(pdf)) {
      const QRectF box(word.box.topLeft() * kTenthsPerPoint,
                       word.box.bottomRight() * kTenthsPerPoint);
      const double x = box.center().x() - origin.x();
      if (x > paper::kLeftBorder && x < paper::kRightBorder) {
        QVERIFY2(std::count_if(bodies.begin(), bodies.end(),
                               [&](const QRectF& body) { return Meet(box, body); }) == 1,
                 qPrintable(word.text));
      }
    }
  }

 private:
  IsolatedSettings settings_;
};

}  // namespace trivenor

QTEST_MAIN(trivenor::ExamplePrintingTest)
#include "test_example_printing.moc"
