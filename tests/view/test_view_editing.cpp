#include <QScrollBar>
#include <QtTest>
#include <memory>

#include "model/component_kind.h"
#include "model/output_display.h"
#include "view/trivenor_view.h"

namespace trivenor {

/// Collects the regions of the paint events of the widget it filters.
class PaintRegions : public QObject {
 public:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      regions << static_cast<QPaintEvent*>(event)->region();
    }
    return QObject::eventFilter(watched, event);
  }
  QList<QRegion> regions;
};

/// Drives the real widget with mouse and key events, as a user builds and runs a circuit.
class ViewEditingTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    document = std::make_unique<CTrivenorDoc>();
    view = std::make_unique<CTrivenorView>(*document);
    view->resize(400, 300);
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
  }
  void cleanup() {
    view.reset();  // the view refers to the document
    document.reset();
  }

  void BuildsWiresTypesAndRunsAnAddition() {
    SubCircuit& circuit = document->circuit();
    Click({40, 20});  // left column, rows 0 and 1: two new inputs
    Click({40, 50});
    view->horizontalScrollBar()->setValue(200);  // the right column comes into view
    Click({515, 20});                            // just inside the right column: a new output
    view->horizontalScrollBar()->setValue(0);
    QCOMPARE(circuit.inputs.size(), 2u);
    QCOMPARE(circuit.outputs.size(), 1u);

    QTest::keyClick(view.get(), Qt::Key_Plus);
    QCOMPARE(view->editState().mode, EditMode::PlacingComponent);
    QCOMPARE(view->editState().modeArg, kind::Plus);
    Click({200, 100});
    QCOMPARE(circuit.components.size(), 1u);
    const Component& plus = *circuit.components.front();
    QCOMPARE(plus.x, 200);
    QCOMPARE(plus.y, 95);
    QCOMPARE(view->editState().mode, EditMode::Idle);

    view->viewport()->grab();  // a paint lays the new ports out
    Drag({90, 20}, PointOf(*plus.inputs[0]));
    Drag({90, 50}, PointOf(*plus.inputs[1]));
    const QPoint plusOutput = PointOf(*plus.outputs[0]);
    view->horizontalScrollBar()->setValue(200);
    Drag(plusOutput - QPoint(1, 0), {510, 20});  // pressed inside the body
    view->horizontalScrollBar()->setValue(0);
    QCOMPARE(plus.inputs[0]->source, circuit.inputs[0].get());
    QCOMPARE(plus.inputs[1]->source, circuit.inputs[1].get());
    QCOMPARE(circuit.outputs[0]->source, plus.outputs[0].get());

    TypeInto({40, 20}, "2");
    TypeInto({40, 50}, "3");
    for (int tick = 0; tick < 4; ++tick) {
      view->OnTimerTick();
    }
    QCOMPARE(circuit.outputs[0]->value, 5.0f);
    QVERIFY(document->IsModified());
  }

  void TypesADecimalCommaAtAScrolledPosition() {
    view->verticalScrollBar()->setValue(300);
    Click({40, 320});  // row 10: a new input
    view->viewport()->grab();
    Click({40, 320});
    QCOMPARE(view->editState().mode, EditMode::EditingInputValue);
    for (const Qt::Key key : {Qt::Key_Minus, Qt::Key_1, Qt::Key_Comma, Qt::Key_5}) {
      QTest::keyClick(view.get(), key);
    }
    QCOMPARE(view->editState().valueText, std::string("-1.5"));
    QTest::keyClick(view.get(), Qt::Key_Return);
    QCOMPARE(document->circuit().inputs.front()->row, 10);
    QCOMPARE(document->circuit().inputs.front()->value, -1.5f);
    QCOMPARE(view->editState().mode, EditMode::Idle);
  }

  // The rubber wire repaints only the span from its start over the old and the new mouse
  // position, 15 more on each side, where that span lies in the scrolled viewport.
  void RubberWireRepaintsItsSpanAtTheScrolledPosition() {
    view->verticalScrollBar()->setValue(300);
    Click({40, 320});  // row 10: a new input, its tip at (90, 320)
    view->viewport()->grab();
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, ToViewport({90, 320}));
    QTest::mouseMove(view->viewport(), ToViewport({100, 325}));
    QCoreApplication::processEvents();
    QCOMPARE(view->editState().mode, EditMode::DrawingWire);

    PaintRegions painted;
    view->viewport()->installEventFilter(&painted);
    QTest::mouseMove(view->viewport(), ToViewport({150, 340}));
    QCoreApplication::processEvents();
    QVERIFY(!painted.regions.isEmpty());
    QCOMPARE(painted.regions.back().boundingRect(), QRect(QPoint(75, 5), QPoint(164, 54)));
  }

  void PlacesWiresAndDeletesAtEveryZoom_data() {
    QTest::addColumn<int>("zoom");
    QTest::newRow("50 %") << 50;
    QTest::newRow("100 %") << 100;
    QTest::newRow("200 %") << 200;
  }

  // The model and every hit test stay in logical units whatever the zoom; the rubber wire
  // repaints its span (15 units more on every side) where the zoom puts it.
  void PlacesWiresAndDeletesAtEveryZoom() {
    QFETCH(int, zoom);
    view->SetZoom(zoom, {0, 0});
    QCOMPARE(view->Zoom(), zoom);
    SubCircuit& circuit = document->circuit();
    Click({40, 20});  // a new input, its tip at (90, 20)
    QTest::keyClick(view.get(), Qt::Key_Plus);
    Click({150, 100});
    QCOMPARE(circuit.components.size(), 1u);
    const Component& plus = *circuit.components.front();
    QCOMPARE(QPoint(plus.x, plus.y), QPoint(150, 95));
    view->viewport()->grab();

    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, ToViewport({90, 20}));
    QTest::mouseMove(view->viewport(), ToViewport({100, 26}));
    QCoreApplication::processEvents();
    QCOMPARE(view->editState().mode, EditMode::DrawingWire);
    PaintRegions painted;
    view->viewport()->installEventFilter(&painted);
    const QPoint end = PointOf(*plus.inputs[0]);
    QTest::mouseMove(view->viewport(), ToViewport(end));
    QCoreApplication::processEvents();
    // The span is taken at the mouse, which at 50 % lies on an even unit.
    const QPoint device = ToViewport(end);
    const QPoint mouse(device.x() * 100 / zoom, device.y() * 100 / zoom);
    const double scale = zoom / 100.0;
    const int right = std::max(100, mouse.x()) + 15;
    const int bottom = std::max(26, mouse.y()) + 15;
    const QRect expected(QPoint(qFloor(75 * scale), qFloor(5 * scale)),
                         QPoint(qCeil(right * scale) - 1, qCeil(bottom * scale) - 1));
    QVERIFY(!painted.regions.isEmpty());
    QCOMPARE(painted.regions.back().boundingRect(), expected);
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, ToViewport(end));
    QCOMPARE(plus.inputs[0]->source, circuit.inputs[0].get());

    Click({plus.x + plus.width / 2, plus.y + 4});
    QCOMPARE(document->selectedComponent, circuit.components.front().get());
    QTest::keyClick(view.get(), Qt::Key_Delete);
    QVERIFY(circuit.components.empty());
  }

  void ModifiersAloneAndMenuKeysLeaveTheDocumentUnmodified() {
    for (const Qt::Key modifier :
         {Qt::Key_Shift, Qt::Key_Control, Qt::Key_Alt, Qt::Key_AltGr, Qt::Key_Meta, Qt::Key_Super_L,
          Qt::Key_CapsLock, Qt::Key_NumLock, Qt::Key_ScrollLock}) {
      // Sent by hand: QTest has no text for AltGr and refuses it.
      QKeyEvent press(QEvent::KeyPress, modifier, Qt::NoModifier);
      QCoreApplication::sendEvent(view.get(), &press);
    }
    QTest::keyClick(view.get(), Qt::Key_D, Qt::AltModifier);
    QVERIFY(!document->IsModified());
    QCOMPARE(view->editState().mode, EditMode::Idle);
    QTest::keyClick(view.get(), Qt::Key_Q);  // any other key counts as an edit, also one unused
    QVERIFY(document->IsModified());
  }

  void WithoutADialogHostAPlacingDialogCountsAsCancelled() {
    view->ArmPlacing(kind::DelayLine);
    Click({200, 100});
    QVERIFY(document->circuit().components.empty());
    // An output display is placed however its dialog ends, here with the table it was built with.
    view->ArmPlacing(kind::OutputDisplay);
    Click({200, 100});
    QCOMPARE(document->circuit().components.size(), 1u);
    QVERIFY(
        static_cast<const OutputDisplay&>(*document->circuit().components.front()).texts.empty());
  }

 private:
  /// Where `logical` lies in the viewport at the current zoom and scroll position.
  QPoint ToViewport(QPoint logical) const {
    const int zoom = view->Zoom();
    return QPoint(logical.x() * zoom / 100, logical.y() * zoom / 100) -
           QPoint(view->horizontalScrollBar()->value(), view->verticalScrollBar()->value());
  }
  static QPoint PointOf(const Port& port) { return {port.x, port.y}; }

  void Click(QPoint logical) {
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, ToViewport(logical));
  }
  void Drag(QPoint from, QPoint to) {
    QTest::mousePress(view->viewport(), Qt::LeftButton, {}, ToViewport(from));
    QTest::mouseMove(view->viewport(), ToViewport((from + to) / 2));
    QTest::mouseMove(view->viewport(), ToViewport(to));
    QTest::mouseRelease(view->viewport(), Qt::LeftButton, {}, ToViewport(to));
  }
  void TypeInto(QPoint row, const char* digits) {
    Click(row);
    QTest::keyClicks(view.get(), digits);
    QTest::keyClick(view.get(), Qt::Key_Return);
  }

  std::unique_ptr<CTrivenorDoc> document;
  std::unique_ptr<CTrivenorView> view;
};

}  // namespace trivenor

QTEST_MAIN(trivenor::ViewEditingTest)
#include "test_view_editing.moc"
