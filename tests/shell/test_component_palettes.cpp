#include <QApplication>
#include <QMap>
#include <QPointer>
#include <QPushButton>
#include <QSet>
#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>
#include <memory>

#include "document/trivenor_doc.h"
#include "shell/component_palette.h"
#include "shell/main_frame.h"

namespace trivenor {
namespace {

// Every caption any palette shows, with the kind it must arm. The two random buttons differ on
// purpose: "Zufall" is the two-input operator, "Random" the one-input function.
const QMap<QString, int>& KindOfCaption() {
  static const QMap<QString, int> kinds = {
      {"+", 1},         {"-", 2},        {"*", 3},       {"/", 4},           {"x^y", 5},
      {"und", 6},       {"oder", 7},     {"=", 8},       {"<", 9},           {">", 10},
      {"div", 11},      {"mod", 12},     {"Zufall", 13}, {"Nicht", 101},     {"abr", 102},
      {"aufr", 103},    {"log", 104},    {"sqr", 105},   {"sin", 106},       {"cos", 107},
      {"ABS", 108},     {"tan", 109},    {"INT", 110},   {"SIG", 111},       {"Random", 112},
      {"e^x", 113},     {"Atan", 114},   {"lg10", 115},  {"Verzögern", 201}, {"fest", 202},
      {"Ausgabe", 206}, {"Hazard", 208}, {"Graph", 209}};
  return kinds;
}

QList<QPushButton*> Buttons(const ComponentPalette& palette) {
  return palette.findChildren<QPushButton*>(QString(), Qt::FindDirectChildrenOnly);
}

QPushButton* ButtonCalled(const ComponentPalette& palette, const QString& caption) {
  for (QPushButton* button : Buttons(palette)) {
    if (button->text() == caption) {
      return button;
    }
  }
  return nullptr;
}

}  // namespace

class ComponentPalettesTest : public QObject {
  Q_OBJECT

 private slots:
  void initTestCase() {
    QVERIFY(settingsFolder_.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, settingsFolder_.path());
  }

  void init() {
    document_ = std::make_unique<CTrivenorDoc>();
    frame_ = std::make_unique<CMainFrame>(*document_);
    frame_->view().SetFirstTickDelay(60000);
    frame_->show();
  }

  void cleanup() {
    frame_.reset();
    document_.reset();
  }

  void eachPaletteOffersItsButtonsInReadingOrderWithTheirKinds_data() {
    QTest::addColumn<int>("command");
    QTest::addColumn<QString>("title");
    QTest::addColumn<int>("buttonCount");
    QTest::addColumn<QString>("absentCaption");
    QTest::newRow("Rechnen") << int(kPaletteArithmetic) << "Rechnen" << 4 << "und";
    QTest::newRow("Grundfunktionen") << int(kPaletteBasic) << "Grundfunktionen" << 17 << "Random";
    QTest::newRow("Alle Funktionen") << int(kPaletteAll) << "Alle Funktionen" << 32 << "Zufall";
  }

  void eachPaletteOffersItsButtonsInReadingOrderWithTheirKinds() {
    QFETCH(int, command);
    QFETCH(QString, title);
    QFETCH(int, buttonCount);
    QFETCH(QString, absentCaption);
    frame_->action(CommandId(command)).trigger();
    const ComponentPalette* palette = OpenPalettes().value(0);
    QVERIFY(palette && palette->isVisible());
    QCOMPARE(palette->windowTitle(), title);
    QVERIFY(palette->windowFlags().testFlag(Qt::Tool));

    const QList<QPushButton*> buttons = Buttons(*palette);
    QCOMPARE(buttons.size(), buttonCount);
    QVERIFY(!ButtonCalled(*palette, absentCaption));
    QSet<int> kinds;
    for (QPushButton* button : buttons) {
      QVERIFY2(KindOfCaption().contains(button->text()), qPrintable(button->text()));
      button->click();
      QCOMPARE(frame_->view().editState().mode, EditMode::PlacingComponent);
      QCOMPARE(frame_->view().editState().modeArg, KindOfCaption().value(button->text()));
      kinds.insert(KindOfCaption().value(button->text()));
      // Inside the window and clear of every other button: catches a mistyped position. Buttons
      // that abut in dialog units may share a pixel column after each value is rounded alone.
      QVERIFY(palette->rect().contains(button->geometry()));
      for (const QPushButton* other : buttons) {
        const QRect shared = other->geometry().intersected(button->geometry());
        QVERIFY2(other == button || shared.width() <= 1 || shared.height() <= 1,
                 qPrintable(button->text() + " / " + other->text()));
      }
    }
    QCOMPARE(kinds.size(), buttonCount);
  }

  void tabOrderFollowsTheRowsOfTheLargestPalette() {
    frame_->action(kPaletteAll).trigger();
    const QList<QPushButton*> buttons = Buttons(*OpenPalettes().value(0));
    for (qsizetype i = 1; i < buttons.size(); ++i) {
      const QRect before = buttons[i - 1]->geometry();
      const QRect after = buttons[i]->geometry();
      QVERIFY(before.top() < after.top() ||
              (before.top() == after.top() && before.left() < after.left()));
    }
  }

  void theSimplerThePaletteTheLargerItsButtons() {
    frame_->action(kPaletteArithmetic).trigger();
    frame_->action(kPaletteBasic).trigger();
    frame_->action(kPaletteAll).trigger();
    const auto plusHeight = [&](PaletteKind kind) {
      return ButtonCalled(*frame_->palettes().palette(kind), "+")->height();
    };
    QVERIFY(plusHeight(PaletteKind::Arithmetic) > plusHeight(PaletteKind::BasicFunctions));
    QVERIFY(plusHeight(PaletteKind::BasicFunctions) > plusHeight(PaletteKind::AllFunctions));
  }

  void reopeningReplacesOnlyThatPalette() {
    frame_->action(kPaletteArithmetic).trigger();
    frame_->action(kPaletteAll).trigger();
    const QPointer<ComponentPalette> first = frame_->palettes().palette(PaletteKind::Arithmetic);
    first->hide();  // as Escape leaves it
    frame_->action(kPaletteArithmetic).trigger();
    QVERIFY(first.isNull());
    QVERIFY(frame_->palettes().palette(PaletteKind::Arithmetic)->isVisible());
    QCOMPARE(OpenPalettes().size(), 2);
  }

  void escapeHidesAndTheCloseBoxDestroys() {
    frame_->action(kPaletteArithmetic).trigger();
    QPointer<ComponentPalette> palette = frame_->palettes().palette(PaletteKind::Arithmetic);
    QTest::keyClick(palette, Qt::Key_Escape);
    QVERIFY(palette && !palette->isVisible());

    frame_->action(kPaletteArithmetic).trigger();
    palette = frame_->palettes().palette(PaletteKind::Arithmetic);
    QVERIFY(palette->close());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QVERIFY(palette.isNull());
    QVERIFY(!frame_->palettes().palette(PaletteKind::Arithmetic));
    // The menu still brings it back.
    frame_->action(kPaletteArithmetic).trigger();
    QVERIFY(frame_->palettes().palette(PaletteKind::Arithmetic)->isVisible());
  }

  void newDocumentTakesEveryPaletteAwayAndKeepsOtherClosers() {
    int otherCloses = 0;
    // A closer set before the window: the palettes must chain to it, not replace it.
    frame_.reset();
    document_->closeModelessDialogs = [&otherCloses] { ++otherCloses; };
    frame_ = std::make_unique<CMainFrame>(*document_);
    frame_->action(kPaletteArithmetic).trigger();
    frame_->action(kPaletteBasic).trigger();
    frame_->action(kPaletteAll).trigger();
    QCOMPARE(OpenPalettes().size(), 3);

    frame_->action(kFileNew).trigger();
    QVERIFY(OpenPalettes().isEmpty());
    QCOMPARE(otherCloses, 1);
    QVERIFY(!frame_->palettes().palette(PaletteKind::Arithmetic));
  }

  void aDocumentOutlivingItsWindowEmptiesSafely() {
    frame_->action(kPaletteAll).trigger();
    frame_.reset();
    document_->EmptyDocument();
  }

 private:
  QList<ComponentPalette*> OpenPalettes() const {
    return frame_->findChildren<ComponentPalette*>();
  }

  QTemporaryDir settingsFolder_;
  std::unique_ptr<CTrivenorDoc> document_;
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace trivenor

QTEST_MAIN(trivenor::ComponentPalettesTest)
#include "test_component_palettes.moc"
