#include <QScrollBar>
#include <QWheelEvent>
#include <QtTest>
#include <memory>

#include "document/trivenor_doc.h"
#include "isolated_settings.h"
#include "model/component_kind.h"
#include "model/operators.h"
#include "shell/main_frame.h"
#include "shell/settings.h"
#include "support/circuit_building.h"

namespace trivenor {

/// Pausing, stepping and zooming through the main window's keys and menu items.
class ClassroomCommandsTest : public QObject {
  Q_OBJECT

  IsolatedSettings settings_;

 private slots:
  void init() {
    document_ = std::make_unique<CTrivenorDoc>();
    frame_ = std::make_unique<CMainFrame>(*document_);
    frame_->show();
    QVERIFY(QTest::qWaitForWindowExposed(frame_.get()));
  }

  void cleanup() {
    frame_.reset();
    document_.reset();
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

 private:
  std::unique_ptr<CTrivenorDoc> document_;
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace trivenor

QTEST_MAIN(trivenor::ClassroomCommandsTest)
#include "test_classroom_commands.moc"
