#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTimer>
#include <QWheelEvent>
#include <QXmlStreamReader>
#include <QtTest>
#include <algorithm>
#include <memory>
#include <tuple>

#include "document/trivenor_doc.h"
#include "isolated_settings.h"
#include "model/component_kind.h"
#include "model/operators.h"
#include "shell/main_frame.h"
#include "shell/picture_commands.h"
#include "shell/settings.h"
#include "shell/trivenor_app.h"
#include "support/circuit_building.h"
#include "view/picture_export.h"
#include "view/used_area.h"

namespace trivenor {
namespace {

QString Example(const char* name) {
  return qEnvironmentVariable("TRIVENOR_SOURCE_DIR") + QStringLiteral("/examples/") +
         QString::fromLatin1(name);
}

// Every text an SVG file writes, trimmed.
QStringList SvgTexts(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    return {};
  }
  QStringList texts;
  QXmlStreamReader reader(&file);
  while (!reader.atEnd()) {
    reader.readNext();
    if (reader.isStartElement() && reader.name() == QStringLiteral("text")) {
      texts << reader.readElementText(QXmlStreamReader::IncludeChildElements).trimmed();
    }
  }
  return texts;
}

// Whether `image` has ink (a dark pixel) at `at` or next to it: a line may move by a pixel
// when drawn at another resolution and scaled back.
bool InkedNear(const QImage& image, QPoint at) {
  const QRect near = QRect(at - QPoint(1, 1), QSize(3, 3)).intersected(image.rect());
  for (int y = near.top(); y <= near.bottom(); ++y) {
    for (int x = near.left(); x <= near.right(); ++x) {
      if (qGray(image.pixel(x, y)) < 160) {
        return true;
      }
    }
  }
  return false;
}

// Of the pixels inked in the picture or on the screen, the share without ink near it in the
// other; the picture's top-left corner lies at `origin` of the screen. A missing, added or
// shifted line or text makes it large.
double DifferingInk(const QImage& picture, const QImage& screen, QPoint origin) {
  qint64 inked = 0;
  qint64 differing = 0;
  const QRect compared = picture.rect().intersected(screen.rect().translated(-origin));
  for (int y = compared.top(); y <= compared.bottom(); ++y) {
    for (int x = compared.left(); x <= compared.right(); ++x) {
      for (const auto& [image, other, at, atOther] :
           {std::tuple(&picture, &screen, QPoint(x, y), origin + QPoint(x, y)),
            std::tuple(&screen, &picture, origin + QPoint(x, y), QPoint(x, y))}) {
        if (qGray(image->pixel(at)) < 160) {
          ++inked;
          differing += InkedNear(*other, atOther) ? 0 : 1;
        }
      }
    }
  }
  return inked == 0 ? 1.0 : static_cast<double>(differing) / static_cast<double>(inked);
}

}  // namespace

/// What a class watching a circuit uses: pausing and single steps, the zoom, pictures and
/// worksheets (of an example, through the menu and from the command line).
class ClassroomCommandsTest : public QObject {
  Q_OBJECT

  IsolatedSettings settings_;

 private slots:
  void init() {
    UserSettings().remove(QString());  // the zoom a test leaves is the next one's start
    files_ = std::make_unique<QTemporaryDir>();
    document_ = std::make_unique<CTrivenorDoc>();
    frame_ = std::make_unique<CMainFrame>(*document_);
    frame_->resize(1000, 1200);  // the whole canvas in view
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
    QCOMPARE(frame_->documentCommands().OpenFile(Example("ampel.trv")),
             DocumentCommands::OpenResult::Opened);
  }

  void cleanup() {
    frame_.reset();
    document_.reset();
    files_.reset();
  }

  // A counter (a plus adding 1 to its own output) shows how many passes ran.
  void PausedTheClockStaysStoppedAndF8RunsExactlyOnePass() {
    frame_->documentCommands().New();  // arms the clock
    SubCircuit& circuit = document_->circuit();
    Port& one = test_support::AddInputTerminal(circuit, 0);
    one.value = 1.0f;
    auto& plus = test_support::Append<TwoInputOperator>(circuit, kind::Plus);
    test_support::Connect(*plus.inputs[0], *plus.outputs[0]);
    test_support::Connect(*plus.inputs[1], one);
    CTrivenorView& view = frame_->view();
    QVERIFY(view.IsSimulationTimerActive());

    frame_->action(kPause).trigger();
    QVERIFY(frame_->action(kPause).isChecked());
    QVERIFY(!view.IsSimulationTimerActive());
    const float before = plus.outputs[0]->value;
    for (int step = 1; step <= 3; ++step) {
      QTest::keyClick(&view, Qt::Key_F8);
      QCOMPARE(plus.outputs[0]->value, before + static_cast<float>(step));
    }
    frame_->action(kReset).trigger();
    QVERIFY(!view.IsSimulationTimerActive());
    frame_->documentCommands().New();
    QVERIFY(!view.IsSimulationTimerActive());

    frame_->action(kPause).trigger();
    QVERIFY(view.IsSimulationTimerActive());
    QCOMPARE(view.SimulationTimerInterval(), document_->tickPeriod);
  }

  // With Ctrl, "+" and "-" zoom; without, "+" arms the plus. The wheel zooms around the pointer.
  void ZoomKeysAndWheelAndTheZoomIsKept() {
    frame_->resize(400, 400);  // narrower than the canvas at 125 %: it scrolls sideways
    QCoreApplication::processEvents();
    CTrivenorView& view = frame_->view();
    QCOMPARE(view.Zoom(), 100);
    QTest::keyClick(&view, Qt::Key_Plus, Qt::ControlModifier);
    QCOMPARE(view.Zoom(), 125);
    QTest::keyClick(&view, Qt::Key_Minus, Qt::ControlModifier);
    QTest::keyClick(&view, Qt::Key_Minus, Qt::ControlModifier);
    QCOMPARE(view.Zoom(), 80);
    QTest::keyClick(&view, Qt::Key_0, Qt::ControlModifier);
    QCOMPARE(view.Zoom(), 100);
    QVERIFY(!document_->IsModified());

    view.horizontalScrollBar()->setValue(0);
    view.verticalScrollBar()->setValue(0);
    const QPoint pointer(200, 100);
    QWheelEvent wheel(pointer, view.viewport()->mapToGlobal(pointer), {}, {0, 120}, Qt::NoButton,
                      Qt::ControlModifier, Qt::NoScrollPhase, false);
    QCoreApplication::sendEvent(view.viewport(), &wheel);
    QCOMPARE(view.Zoom(), 125);
    // The logical point (200, 100) is at 250, 125 now, still under the pointer.
    QCOMPARE(view.horizontalScrollBar()->value(), 50);
    QCOMPARE(view.verticalScrollBar()->value(), 25);

    QTest::keyClick(&view, Qt::Key_Plus);
    QCOMPARE(view.Zoom(), 125);
    QCOMPARE(view.editState().mode, EditMode::PlacingComponent);
    QCOMPARE(view.editState().modeArg, kind::Plus);

    QCOMPARE(CanvasZoom(), 125);
    CTrivenorDoc other;
    const CMainFrame next(other);
    QCOMPARE(next.view().Zoom(), 125);
  }

  void PngAndSvgShowWhatTheScreenShows() {
    CTrivenorView& view = frame_->view();
    const QImage screen = view.viewport()->grab().toImage();
    const CanvasRect area = UsedArea(*document_, 10);
    const QPoint origin(area.left, area.top);

    const QString png = files_->filePath(QStringLiteral("ampel.png"));
    QCOMPARE(ExportPicture(*document_, png, PictureFormat::Png, {}), QString());
    const QImage drawn(png);
    QCOMPARE(drawn.size(), QSize(area.right - area.left, area.bottom - area.top) * 2);
    const QImage halved =
        drawn.scaled(drawn.size() / 2, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    QVERIFY2(DifferingInk(halved, screen, origin) < 0.02, "PNG");

    const QString svg = files_->filePath(QStringLiteral("ampel.svg"));
    QCOMPARE(ExportPicture(*document_, svg, PictureFormat::Svg, {}), QString());
    QSvgRenderer renderer(svg);
    QVERIFY(renderer.isValid());
    QImage rendered(halved.size(), QImage::Format_RGB32);
    rendered.fill(Qt::white);
    QPainter painter(&rendered);
    renderer.render(&painter);
    painter.end();
    QVERIFY2(DifferingInk(rendered, screen, origin) < 0.02, "SVG");
    QVERIFY(SvgTexts(svg).contains(QStringLiteral("Fußgänger: Gehen")));
  }

  // The inputs keep their values; every output and output display shows "?".
  void WorksheetHasNoResultInIt() {
    const QString svg = files_->filePath(QStringLiteral("blatt.svg"));
    QCOMPARE(ExportPicture(*document_, svg, PictureFormat::Svg, {true, true}), QString());
    const QStringList texts = SvgTexts(svg);
    QCOMPARE(texts.count(QStringLiteral("?")),
             qsizetype(document_->circuit().outputs.size() + 2));  // two displays
    QVERIFY(!texts.contains(QStringLiteral("Fußgänger: Gehen")));
    QVERIFY(!texts.contains(QStringLiteral("xxx")));
    for (const auto& input : document_->circuit().inputs) {
      QVERIFY(texts.contains(QString::number(input->value)));
    }
    // The displays show their texts again on the screen.
    const auto& components = document_->circuit().components;
    QVERIFY(std::any_of(components.begin(), components.end(), [](const auto& component) {
      return component->label == "Fußgänger: Gehen";
    }));
  }

  // "Als Bild exportieren..." with the worksheet as SVG chosen and a name without its ending.
  void ExportDialogWritesTheChosenKind() {
    const QString name = files_->filePath(QStringLiteral("blatt"));
    QTimer::singleShot(0, [&name] {
      auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
      QVERIFY(dialog != nullptr);
      dialog->selectNameFilter(QString::fromUtf8(kPictureFilters[3]));
      dialog->selectFile(name);
      QMetaObject::invokeMethod(dialog, "accept");  // as its "Speichern" button does
    });
    frame_->action(kExportPicture).trigger();
    QVERIFY(SvgTexts(name + QStringLiteral(".svg")).contains(QStringLiteral("?")));
  }

  void PictureSwitchWritesThePictureAndEnds() {
    const QString svg = files_->filePath(QStringLiteral("schalter.svg"));
    CTrivenorApp app;
    QVERIFY(!app.InitInstance(
        {QStringLiteral("trivenor"), QStringLiteral("/b"), Example("ampel.trv"), svg}));
    QCOMPARE(app.exitCode(), 0);
    QVERIFY(app.mainFrame() == nullptr);
    QVERIFY(SvgTexts(svg).contains(QStringLiteral("Fußgänger: Gehen")));

    // Offscreen, as in a script, the message goes to the error stream instead of a box that
    // nobody could close.
    const QString gif = files_->filePath(QStringLiteral("schalter.gif"));
    CTrivenorApp failing;
    QVERIFY(!failing.InitInstance(
        {QStringLiteral("trivenor"), QStringLiteral("/b"), Example("ampel.trv"), gif}));
    QCOMPARE(failing.exitCode(), 1);
    QVERIFY(!QFile::exists(gif));
    CTrivenorApp missing;
    QVERIFY(!missing.InitInstance({QStringLiteral("trivenor"), QStringLiteral("/b"),
                                   files_->filePath(QStringLiteral("fehlt.trv")), svg}));
    QCOMPARE(missing.exitCode(), 1);
  }

 private:
  std::unique_ptr<QTemporaryDir> files_;
  std::unique_ptr<CTrivenorDoc> document_;
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace trivenor

QTEST_MAIN(trivenor::ClassroomCommandsTest)
#include "test_classroom_commands.moc"
