#include <QFontMetrics>
#include <QImage>
#include <QScrollBar>
#include <QtTest>
#include <memory>

#include "model/component_kind.h"
#include "model/operators.h"
#include "support/circuit_building.h"
#include "view/font_record.h"
#include "view/trivenor_view.h"

namespace trivenor {
namespace {

using test_support::AddInputTerminal;
using test_support::AddOutputTerminal;
using test_support::Append;
using test_support::Connect;

/// Counts the paint events a widget receives.
struct PaintCounter : QObject {
  bool eventFilter(QObject* watched, QEvent* event) override {
    paints += event->type() == QEvent::Paint ? 1 : 0;
    return QObject::eventFilter(watched, event);
  }
  int paints = 0;
};

}  // namespace

class TrivenorViewTest : public QObject {
  Q_OBJECT

 private slots:
  void init() {
    document = std::make_unique<CTrivenorDoc>();
    view = std::make_unique<CTrivenorView>(*document);
    view->resize(400, 300);
  }
  void cleanup() {
    view.reset();  // the view refers to the document
    document.reset();
  }

  void BodiesAreSizedWithTheRealFontAndPaintedAtTheScrollPosition() {
    auto& plus = Append<TwoInputOperator>(document->circuit(), kind::Plus);
    plus.x = 200;
    plus.y = 105;
    auto& named = Append<UnaryFunction>(document->circuit(), kind::SquareRoot);
    named.label = "Quadratwurzel";
    Show();
    view->horizontalScrollBar()->setValue(50);
    view->verticalScrollBar()->setValue(100);
    const QImage image = view->viewport()->grab().toImage();

    const QFontMetrics metrics(DefaultCanvasFont());
    QCOMPARE(view->lineHeight(), metrics.height() + std::max(metrics.leading(), 0));
    QCOMPARE(view->charWidth(), metrics.averageCharWidth() + 2);
    QCOMPARE(named.width, metrics.horizontalAdvance("Quadratwurzel") / 10 * 10 + 20);
    QCOMPARE(plus.height, 50);  // two lines of 15: (30 / 10) * 10 + 20
    // The left edge of the body, scrolled by (50, 100).
    QVERIFY(image.pixel(150, 30) != qRgb(255, 255, 255));
    QCOMPARE(image.pixel(149, 30), qRgb(255, 255, 255));
    QCOMPARE(view->horizontalScrollBar()->maximum(), 600 - view->viewport()->width());

    // A font chosen with "Schrift" is used from the next paint on.
    QFont big("Liberation Mono");
    big.setPixelSize(26);
    document->settings.canvasFont = RecordFromFont(big);
    view->viewport()->grab();
    QCOMPARE(view->lineHeight(), QFontMetrics(big).height());
  }

  void NewPeriodTakesEffectAfterTheNextExpiry() {
    Port& output = AddOutputTerminal(document->circuit(), 0);
    Connect(output, AddInputTerminal(document->circuit(), 0));
    output.source->value = 2.0f;
    document->tickPeriod = 20;
    view->editState().mode = EditMode::DrawingWire;
    view->SetFirstTickDelay(5);
    view->OnInitialUpdate();
    QCOMPARE(view->editState().mode, EditMode::Idle);
    QCOMPARE(view->SimulationTimerInterval(), 5);
    QTRY_COMPARE_WITH_TIMEOUT(view->SimulationTimerInterval(), 20, 1000);
    QCOMPARE(output.value, 2.0f);  // the tick evaluated the circuit

    document->tickPeriod = 35;
    QCOMPARE(view->SimulationTimerInterval(), 20);  // the change alone re-arms nothing
    QTRY_COMPARE_WITH_TIMEOUT(view->SimulationTimerInterval(), 35, 1000);
    QVERIFY(view->IsSimulationTimerActive());
  }

  void TickRepaintsChangedValueRowsAtTheScrollPosition() {
    SubCircuit& circuit = document->circuit();
    Port& steady = AddInputTerminal(circuit, 0);
    Port& moving = AddInputTerminal(circuit, 1);
    Connect(AddOutputTerminal(circuit, 0), steady);
    Port& second = AddOutputTerminal(circuit, 1);
    Connect(second, moving);
    Show();
    view->verticalScrollBar()->setValue(10);
    view->OnTimerTick();  // both outputs take their first values
    view->OnTimerTick();
    QVERIFY(view->LastTickRepaints().empty());

    moving.value = 5.0f;
    view->OnTimerTick();
    const int half = view->lineHeight() / 2;
    const int right = std::max(599, view->viewport()->width()) - 1;
    QCOMPARE(view->LastTickRepaints(),
             std::vector<QRect>{
                 QRect(QPoint(511, second.y - half - 14), QPoint(right, second.y + half - 7))});
    view->dynamicLines = true;
    view->OnTimerTick();
    QCOMPARE(view->LastTickRepaints(), std::vector<QRect>{view->viewport()->rect()});
  }

  // With the values on the wires a tick also repaints the middle of each wire whose value
  // changed, where the zoom puts it, and of no other wire.
  void WireValuesRepaintOnlyWhereAValueChanged() {
    SubCircuit& circuit = document->circuit();
    Port& steady = AddInputTerminal(circuit, 0);
    Port& moving = AddInputTerminal(circuit, 1);
    Port& first = AddOutputTerminal(circuit, 0);
    Connect(first, steady);
    Port& second = AddOutputTerminal(circuit, 1);
    Connect(second, moving);
    view->wireValues = true;
    view->SetZoom(200, {0, 0});
    Show();
    view->OnTimerTick();
    view->OnTimerTick();
    QVERIFY(view->LastTickRepaints().empty());

    moving.value = 5.0f;
    view->OnTimerTick();
    const auto middle = [](const Port& consumer) {
      return QPoint(consumer.x + consumer.source->x, consumer.y + consumer.source->y);  // x 2
    };
    const std::vector<QRect>& repaints = view->LastTickRepaints();
    QCOMPARE(repaints.size(), 2u);  // the output's value row and the wire's middle
    QVERIFY(repaints.back().contains(middle(second)));
    QVERIFY(!repaints.back().contains(middle(first)));

    // A port that turns invalid keeps its last value and counts as unchanged; its "xxx" must
    // show all the same.
    auto& divide = Append<TwoInputOperator>(circuit, kind::Divide);
    Connect(*divide.inputs[1], steady);  // by 0
    Connect(first, *divide.outputs[0]);
    ++circuit.structureVersion;  // built past the edit API, which would raise it
    view->viewport()->grab();
    for (int tick = 0; tick < 3; ++tick) {
      view->OnTimerTick();
    }
    QVERIFY(!first.valid);
    QVERIFY(std::any_of(repaints.begin(), repaints.end(),
                        [&](const QRect& rect) { return rect.contains(middle(first)); }));
  }

  void ResetZeroesTheCircuitAndRepaintsNothing() {
    Port& input = AddInputTerminal(document->circuit(), 0);
    input.value = 7.0f;  // typed by the user: it goes too
    Show();
    PaintCounter counter;
    view->viewport()->installEventFilter(&counter);
    view->OnReset();
    QCoreApplication::processEvents();
    QCOMPARE(input.value, 0.0f);
    QCOMPARE(counter.paints, 0);
    QVERIFY(!document->IsModified());
  }

  void NarrowerCanvasMovesComponentsAndJunctionsIn() {
    auto& moved = Append<TwoInputOperator>(document->circuit(), kind::Plus);
    moved.x = 300;
    moved.width = 50;
    auto& kept = Append<TwoInputOperator>(document->circuit(), kind::Minus);
    kept.x = 100;
    kept.width = 50;
    Junction& junction = test_support::AddJunction(document->circuit());
    junction.port.x = 350;

    view->SetCanvasWidth(400);
    QCOMPARE(moved.x, 260);
    QCOMPARE(kept.x, 100);
    QCOMPARE(junction.port.x, 310);
    QVERIFY(document->IsModified());
    view->SetCanvasWidth(900);  // growing moves nothing
    QCOMPARE(moved.x, 260);
    QCOMPARE(view->horizontalScrollBar()->maximum(), 900 - view->viewport()->width());
  }

  void DocumentUpdatesReachTheViewOnlyWhileItLives() {
    Show();
    PaintCounter counter;
    view->viewport()->installEventFilter(&counter);
    document->UpdateAllViews();
    QTRY_VERIFY(counter.paints > 0);
    view.reset();
    document->UpdateAllViews();  // must not reach the destroyed view
  }

 private:
  void Show() {
    view->show();
    QVERIFY(QTest::qWaitForWindowExposed(view.get()));
    view->viewport()->grab();  // a paint lays the circuit out
  }

  std::unique_ptr<CTrivenorDoc> document;
  std::unique_ptr<CTrivenorView> view;
};

}  // namespace trivenor

QTEST_MAIN(trivenor::TrivenorViewTest)
#include "test_trivenor_view.moc"
