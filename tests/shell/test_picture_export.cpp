#include <QApplication>
#include <QFileDialog>
#include <QImage>
#include <QPainter>
#include <QScrollBar>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QTimer>
#include <QXmlStreamReader>
#include <QtTest>
#include <algorithm>
#include <memory>

#include "document/trivenor_doc.h"
#include "isolated_settings.h"
#include "shell/main_frame.h"
#include "shell/picture_commands.h"
#include "shell/trivenor_app.h"
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

bool Inked(const QImage& image, QPoint at) {
  return image.rect().contains(at) && qGray(image.pixel(at)) < 160;
}

// Whether `image` has ink at `at` or next to it: lines may move by a pixel when drawn at another
// resolution and scaled back.
bool InkedNear(const QImage& image, QPoint at) {
  for (int dy = -1; dy <= 1; ++dy) {
    for (int dx = -1; dx <= 1; ++dx) {
      if (Inked(image, at + QPoint(dx, dy))) {
        return true;
      }
    }
  }
  return false;
}

// Of the pixels inked in the picture or on the screen, the share that has no ink near it in the
// other, the picture's top-left corner lying at `origin` of the screen. A missing, added or
// shifted line or text makes it large.
double DifferingInk(const QImage& picture, const QImage& screen, QPoint origin) {
  qint64 inked = 0;
  qint64 differing = 0;
  for (int y = 0; y < picture.height(); ++y) {
    for (int x = 0; x < picture.width(); ++x) {
      const QPoint at(x, y);
      if (!screen.rect().contains(origin + at)) {
        continue;
      }
      if (Inked(picture, at)) {
        ++inked;
        differing += InkedNear(screen, origin + at) ? 0 : 1;
      }
      if (Inked(screen, origin + at)) {
        ++inked;
        differing += InkedNear(picture, at) ? 0 : 1;
      }
    }
  }
  return inked == 0 ? 1.0 : static_cast<double>(differing) / static_cast<double>(inked);
}

}  // namespace

/// Pictures and worksheets of an example, from the menu's routine and from the command line.
class PictureExportTest : public QObject {
  Q_OBJECT

  IsolatedSettings settings_;

 private slots:
  void init() {
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

QTEST_MAIN(trivenor::PictureExportTest)
#include "test_picture_export.moc"
