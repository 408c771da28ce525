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
#include "isolated_settings.h"
#include "model/component_kind.h"
#include "model/component_registry.h"
#include "shell/component_palette.h"
#include "shell/dialog_units.h"
#include "shell/main_frame.h"

namespace trivenor {
namespace {

// Every caption any palette shows, with the kind it must arm: the registry's, whose own test
// pins them down.
QMap<QString, int> KindOfCaption() {
  QMap<QString, int> kinds;
  for (const PaletteKind palette :
       {PaletteKind::Arithmetic, PaletteKind::BasicFunctions, PaletteKind::AllFunctions}) {
    for (const ComponentKind* kind : ComponentKinds().OnPalette(palette)) {
      kinds.insert(QString::fromUtf8(kind->caption), kind->code);
    }
  }
  return kinds;
}

// Where each palette's buttons sit, in dialog units of the palette's own font: left, top, width;
// every button is 14 high.
struct ButtonPlace {
  const char* caption;
  int left;
  int top;
  int width;
};

const QMap<QString, QList<ButtonPlace>>& ButtonPlaces() {
  static const QMap<QString, QList<ButtonPlace>> places = {
      {"Rechnen", {{"+", 7, 7, 25}, {"-", 32, 7, 25}, {"*", 7, 21, 25}, {"/", 32, 21, 25}}},
      {"Grundfunktionen",
       {{"+", 7, 7, 25},
        {"-", 32, 7, 25},
        {"*", 7, 21, 25},
        {"/", 32, 21, 25},
        {"=", 65, 7, 25},
        {">", 90, 7, 25},
        {"<", 65, 21, 25},
        {"und", 64, 42, 25},
        {"Nicht", 90, 42, 25},
        {"oder", 64, 56, 25},
        {"SIG", 90, 56, 25},
        {"ABS", 64, 70, 25},
        {"INT", 90, 70, 25},
        {"fest", 64, 84, 25},
        {"Verzögern", 7, 42, 50},
        {"Zufall", 7, 56, 50},
        {"Ausgabe", 7, 70, 50}}},
      {"Alle Funktionen",
       {{"+", 7, 7, 25},         {"-", 32, 7, 25},         {"und", 82, 7, 25},
        {"Nicht", 107, 7, 25},   {"sqr", 132, 7, 25},      {"*", 7, 21, 25},
        {"/", 32, 21, 25},       {"fest", 57, 21, 25},     {"oder", 82, 21, 25},
        {"SIG", 107, 21, 25},    {"e^x", 132, 21, 25},     {"Verzögern", 157, 21, 50},
        {"x^y", 7, 35, 25},      {"div", 32, 35, 25},      {"aufr", 57, 35, 25},
        {"ABS", 82, 35, 25},     {"INT", 107, 35, 25},     {"log", 132, 35, 25},
        {"Random", 157, 35, 50}, {"=", 7, 49, 25},         {"mod", 32, 49, 25},
        {"abr", 57, 49, 25},     {"sin", 82, 49, 25},      {"cos", 107, 49, 25},
        {"tan", 132, 49, 25},    {"Ausgabe", 157, 49, 50}, {"<", 7, 63, 25},
        {">", 32, 63, 25},       {"lg10", 57, 63, 25},     {"Atan", 82, 63, 25},
        {"Graph", 107, 63, 50},  {"Hazard", 157, 63, 50}}},
  };
  return places;
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
  void initTestCase() { QVERIFY(settings_.isValid()); }

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
    QTest::addColumn<int>("pointSize");
    QTest::addColumn<QSize>("size");  // in dialog units
    QTest::newRow("Rechnen") << int(kPaletteArithmetic) << "Rechnen" << 4 << "und" << 12
                             << QSize(64, 42);
    QTest::newRow("Grundfunktionen")
        << int(kPaletteBasic) << "Grundfunktionen" << 17 << "Random" << 10 << QSize(122, 105);
    QTest::newRow("Alle Funktionen")
        << int(kPaletteAll) << "Alle Funktionen" << 32 << "Zufall" << 8 << QSize(214, 84);
  }

  void eachPaletteOffersItsButtonsInReadingOrderWithTheirKinds() {
    QFETCH(int, command);
    QFETCH(QString, title);
    QFETCH(int, buttonCount);
    QFETCH(QString, absentCaption);
    QFETCH(int, pointSize);
    QFETCH(QSize, size);
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
    }
    QCOMPARE(kinds.size(), buttonCount);

    QCOMPARE(palette->font().pointSize(), pointSize);
    const DialogUnits units{QFontMetrics(palette->font())};
    QCOMPARE(palette->size(), units.ToPixels(size));
    for (const ButtonPlace& place : ButtonPlaces().value(title)) {
      const QPushButton* button = ButtonCalled(*palette, QString::fromUtf8(place.caption));
      QVERIFY2(button, place.caption);
      QCOMPARE(button->geometry(), units.ToPixels(QRect(place.left, place.top, place.width, 14)));
    }
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
    // At the top-left corner of the main window's client area, below the menu bar.
    const QPoint home = frame_->mapToGlobal(QPoint(0, frame_->menuWidget()->height()));
    QCOMPARE(first->pos(), home);
    first->move(home + QPoint(150, 100));  // the user drags it away ...
    first->hide();                         // ... and Escape hides it
    frame_->action(kPaletteArithmetic).trigger();
    QVERIFY(first.isNull());
    QVERIFY(frame_->palettes().palette(PaletteKind::Arithmetic)->isVisible());
    QCOMPARE(frame_->palettes().palette(PaletteKind::Arithmetic)->pos(), home);
    QCOMPARE(OpenPalettes().size(), 2);
  }

  void escapeHidesAndTheCloseBoxDestroys() {
    frame_->action(kPaletteArithmetic).trigger();
    QPointer<ComponentPalette> palette = frame_->palettes().palette(PaletteKind::Arithmetic);
    QTest::keyClick(palette, Qt::Key_Escape);
    QVERIFY(palette && !palette->isVisible());
    // Enter presses the button that has the focus, and with none hides the palette as well.
    palette->show();
    QTest::keyClick(ButtonCalled(*palette, "-"), Qt::Key_Return);
    QCOMPARE(frame_->view().editState().modeArg, kind::Minus);
    QVERIFY(palette->isVisible());
    palette->setFocus();
    QTest::keyClick(palette, Qt::Key_Return);
    QVERIFY(!palette->isVisible());

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

  IsolatedSettings settings_;
  std::unique_ptr<CTrivenorDoc> document_;
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace trivenor

QTEST_MAIN(trivenor::ComponentPalettesTest)
#include "test_component_palettes.moc"
