#include <QApplication>
#include <QDialogButtonBox>
#include <QFontDialog>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "document/trivenor_doc.h"
#include "isolated_settings.h"
#include "model/constant.h"
#include "shell/main_frame.h"
#include "support/circuit_building.h"
#include "view/font_record.h"

namespace trivenor {
namespace {

using test_support::AddInputTerminal;
using test_support::AddJunction;
using test_support::Append;
using test_support::Connect;

// Hands the next font dialog to `answer` from inside the dialog's own event loop.
class FontDialogAnswerer {
 public:
  explicit FontDialogAnswerer(std::function<void(QFontDialog&)> answer)
      : answer_(std::move(answer)) {
    QObject::connect(&timer_, &QTimer::timeout, [this] {
      if (auto* dialog = qobject_cast<QFontDialog*>(QApplication::activeModalWidget())) {
        timer_.stop();
        answer_(*dialog);
      }
    });
    timer_.start(0);
  }

 private:
  std::function<void(QFontDialog&)> answer_;
  QTimer timer_;
};

}  // namespace

/// The display commands on the real main window, as the user reaches them through the menu.
class DisplayCommandSlotsTest : public QObject {
  Q_OBJECT

  IsolatedSettings settings_;

 private slots:
  void init() {
    document_ = std::make_unique<CTrivenorDoc>();
    frame_ = std::make_unique<CMainFrame>(*document_);
    frame_->view().SetFirstTickDelay(60000);  // no tick during a test
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
  }

  void cleanup() {
    frame_.reset();
    document_.reset();
  }

  void BlueRecoloursTheClickedComponent() {
    Constant& component = Append<Constant>(document_->circuit(), "12");
    component.x = 200;
    component.y = 105;
    Paint();  // lays the body out, so the click can find it
    const QPoint topEdge(component.x + component.width / 2, component.y);
    QCOMPARE(Paint().pixelColor(topEdge), QColor(Qt::black));

    QTest::mouseClick(Canvas(), Qt::LeftButton, {}, {component.x + 5, component.y + 5});
    QCOMPARE(document_->selectedComponent, &component);
    frame_->action(kColourBlue).trigger();

    QCOMPARE(component.colour, Colour{0xFF0000});
    QVERIFY(document_->IsModified());
    QCOMPARE(Paint().pixelColor(topEdge), QColor(0, 0, 255));
  }

  void Thickness4WidensTheWireIntoARightPressedJunction() {
    Junction& junction = WireFromInputToJunction();
    Paint();
    QCOMPARE(WireColumn(), QString("..#..."));

    QTest::mouseClick(Canvas(), Qt::LeftButton, {}, {250, 400});  // empty canvas: no selection
    QTest::mouseClick(Canvas(), Qt::RightButton, {}, {junction.port.x, junction.port.y});
    QCOMPARE(document_->selectedPort, &junction.port);
    QCOMPARE(document_->selectedComponent, nullptr);
    frame_->action(kThickness4).trigger();

    QCOMPARE(junction.port.thickness, 4);
    QVERIFY(document_->IsModified());
    Paint();
    QCOMPARE(WireColumn(), QString("####.."));
  }

  void DynamicLinesGreyAWireCarryingZero() {
    WireFromInputToJunction();
    QCOMPARE(Paint().pixelColor(kWireMiddle), QColor(Qt::black));

    frame_->action(kDynamicLines).trigger();
    QVERIFY(frame_->view().dynamicLines);
    QVERIFY(!document_->IsModified());
    QCOMPARE(Paint().pixelColor(kWireMiddle), QColor(128, 128, 128));

    frame_->action(kDynamicLines).trigger();
    QVERIFY(!frame_->view().dynamicLines);
    QCOMPARE(Paint().pixelColor(kWireMiddle), QColor(Qt::black));
  }

  void CancelledFontKeepsTheDefault() {
    QFont offered;
    FontDialogAnswerer answerer([&offered](QFontDialog& dialog) {
      offered = dialog.currentFont();
      dialog.reject();
    });
    frame_->action(kCanvasFont).trigger();

    QCOMPARE(offered.pointSize(), 10);
    QVERIFY(!document_->settings.canvasFont.has_value());
    QVERIFY(!document_->IsModified());
  }

  // The dialog knows only installed families in whole points: "Courier New" stands for Liberation
  // Mono here, and 14 pixels are 10.5 points.
  void OkWithoutAChangeKeepsTheFont() {
    const auto pressOk = [this] {
      FontDialogAnswerer answerer([](QFontDialog& dialog) {
        dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
      });
      frame_->action(kCanvasFont).trigger();
    };
    Paint();
    const int defaultCharWidth = frame_->view().charWidth();
    pressOk();
    QVERIFY(document_->IsModified());
    QCOMPARE(FontFromRecord(document_->settings.canvasFont.value()).family(),
             QStringLiteral("Courier New"));
    Paint();
    QCOMPARE(frame_->view().charWidth(), defaultCharWidth);

    QFont stored(QStringLiteral("Arial"));
    stored.setPixelSize(14);
    const FontRecord record = RecordFromFont(stored);
    document_->settings.canvasFont = record;
    pressOk();
    QVERIFY(document_->settings.canvasFont == record);
  }

  void ChosenFontResizesTheCanvasAndIsSaved() {
    Paint();
    const int defaultCharWidth = frame_->view().charWidth();
    QFont chosen(QStringLiteral("Liberation Serif"), 20, QFont::Bold, true);
    chosen.setUnderline(true);
    chosen.setStrikeOut(true);
    FontDialogAnswerer answerer([&chosen](QFontDialog& dialog) {
      dialog.setCurrentFont(chosen);
      dialog.findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    });
    frame_->action(kCanvasFont).trigger();

    QVERIFY(document_->IsModified());
    QVERIFY(document_->settings.canvasFont.has_value());
    Paint();
    QVERIFY(frame_->view().charWidth() > defaultCharWidth);

    QTemporaryDir folder;
    const std::string path = folder.filePath(QStringLiteral("schrift")).toStdString();
    QCOMPARE(document_->SaveDocument(path), DocumentError::None);
    CTrivenorDoc reopened;
    QCOMPARE(reopened.OpenDocument(path), DocumentError::None);
    QVERIFY(reopened.settings.canvasFont.has_value());
    const QFont back = FontFromRecord(*reopened.settings.canvasFont);
    QCOMPARE(back.family(), QStringLiteral("Liberation Serif"));
    QCOMPARE(back.pixelSize(), 27);  // 20 points at 96 dpi
    QCOMPARE(back.weight(), QFont::Bold);
    QVERIFY(back.italic());
    QVERIFY(back.underline());
    QVERIFY(back.strikeOut());
  }

 private:
  static constexpr QPoint kWireMiddle{200, 80};

  QWidget* Canvas() const { return frame_->view().viewport(); }
  QImage Paint() {
    image_ = Canvas()->grab().toImage();
    return image_;
  }

  // A horizontal wire along y = 80 from a junction at x = 300 to the input terminal of row 2,
  // whose value is 0.
  Junction& WireFromInputToJunction() {
    SubCircuit& circuit = document_->circuit();
    Port& input = AddInputTerminal(circuit, 2);
    Junction& junction = AddJunction(circuit);
    junction.port.x = 300;
    junction.port.y = 80;
    Connect(junction.port, input);
    return junction;
  }

  // Rows 78 to 83 of the last paint at the wire's middle: "#" where the wire is.
  QString WireColumn() const {
    QString column;
    for (int y = 78; y <= 83; ++y) {
      column += image_.pixelColor(kWireMiddle.x(), y) == Qt::white ? u'.' : u'#';
    }
    return column;
  }

  std::unique_ptr<CTrivenorDoc> document_;
  std::unique_ptr<CMainFrame> frame_;
  QImage image_;
};

}  // namespace trivenor

QTEST_MAIN(trivenor::DisplayCommandSlotsTest)
#include "test_display_command_slots.moc"
