#include "view/trivenor_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <QWheelEvent>
#include <algorithm>
#include <cmath>

#include "document/undo_step_names.h"
#include "view/canvas_geometry.h"
#include "view/canvas_painting.h"
#include "view/font_record.h"
#include "view/layout_keys.h"
#include "view/page_printing.h"
#include "view/qpainter_context.h"
#include "view/used_area.h"
#include "view/virtual_keys.h"
#include "view/wire_values.h"
#include "view/zoom_steps.h"

namespace trivenor {

CTrivenorView::CTrivenorView(CTrivenorDoc& document, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document) {
  simulationTimer_.setSingleShot(true);
  connect(&simulationTimer_, &QTimer::timeout, this, &CTrivenorView::OnTimerTick);
  document_.updateAllViews = [this] { viewport()->update(); };
  setFocusPolicy(Qt::StrongFocus);
  // The rubber wire and a dragged component follow every move, as the editing rules expect
  // move messages whether or not a button is down.
  viewport()->setMouseTracking(true);
  UpdateScrollBars();
}

CTrivenorView::~CTrivenorView() {
  // The document outlives the window; it must not call into a destroyed view.
  document_.updateAllViews = nullptr;
}

void CTrivenorView::OnInitialUpdate() {
  UpdateScrollBars();
  controller_.StartOver();
  StartSimulationTimer(firstTickDelay_);
  viewport()->update();
}

void CTrivenorView::OnReset() {
  document_.ResetValues();
}

void CTrivenorView::EvaluateAndRepaint() {
  document_.RunPass();
  viewport()->update();
}

void CTrivenorView::SetCanvasWidth(int width) {
  document_.SetModifiedFlag();
  SubCircuit& circuit = document_.circuit();
  const int oldWidth = document_.settings.canvasWidth;
  if (width < oldWidth) {
    const int border = canvas::RightBorder(width);
    CircuitEdit& edit = document_.edit();
    for (const auto& component : circuit.components) {
      edit.Move(*component, std::min(component->x, border - component->width), component->y);
    }
    for (const auto& junction : circuit.junctions) {
      edit.MoveJunction(*junction, std::min(junction->port.x, border), junction->port.y);
    }
  }
  document_.settings.canvasWidth = width;
  if (width != oldWidth) {
    document_.RecordStep(undo_step::kCanvasWidth);
  }
  UpdateScrollBars();
  viewport()->update();
}

void CTrivenorView::OnEditUndo() {
  controller_.RecordDrags();
  document_.Undo();
  ShowRestoredState();
}

void CTrivenorView::OnEditRedo() {
  controller_.RecordDrags();
  document_.Redo();
  ShowRestoredState();
}

void CTrivenorView::ShowRestoredState() {
  controller_.StartOver();
  UpdateScrollBars();
  viewport()->update();
}

void CTrivenorView::ArmPlacing(int kind) {
  controller_.ArmPlacing(kind);
}

void CTrivenorView::mousePressEvent(QMouseEvent* event) {
  const CanvasPoint at = ToLogical(event->position());
  if (event->button() == Qt::LeftButton) {
    controller_.LeftButtonDown(at.x, at.y);
  } else if (event->button() == Qt::RightButton) {
    controller_.RightButtonDown(at.x, at.y);
  }
  // Accepted, so that the press never travels on to the main window.
  event->accept();
}

void CTrivenorView::mouseMoveEvent(QMouseEvent* event) {
  const CanvasPoint at = ToLogical(event->position());
  controller_.MouseMove(at.x, at.y);
  event->accept();
}

void CTrivenorView::mouseReleaseEvent(QMouseEvent* event) {
  const CanvasPoint at = ToLogical(event->position());
  if (event->button() == Qt::LeftButton) {
    controller_.LeftButtonUp(at.x, at.y);
  } else if (event->button() == Qt::RightButton) {
    controller_.RightButtonUp(at.x, at.y);
  }
  event->accept();
}

// Every key goes to the controller, also one without a code of its own (it still marks the
// document modified); the arrow keys therefore do not scroll, as in the classic scrolling view.
// Not so a modifier pressed alone, which is no edit: else Ctrl on its way to Ctrl+N would mark a
// saved document modified. Alt and keys held with it are the menu's (system keys, which never
// reached the editing): else merely opening a menu with Alt+letter would mark it modified.
// Keys count by the key, not by the character typed, so Shift leaves plus and minus their own.
void CTrivenorView::keyPressEvent(QKeyEvent* event) {
  if (IsModifierKey(event->key()) || event->modifiers().testFlag(Qt::AltModifier)) {
    QAbstractScrollArea::keyPressEvent(event);
    return;
  }
  controller_.KeyDown(VirtualKeyFromPress(LayoutBaseKey(*event), event->key(),
                                          event->modifiers().testFlag(Qt::KeypadModifier)));
  event->accept();
}

// Whole pixels first, as at the original size a pixel is a unit; then the unit the pixel lies in.
CanvasPoint CTrivenorView::ToLogical(const QPointF& viewportPoint) const {
  const QPoint device = viewportPoint.toPoint() + ScrollOffset();
  const double scale = Scale();
  return {static_cast<int>(std::floor(device.x() / scale)),
          static_cast<int>(std::floor(device.y() / scale))};
}

// Outwards to whole pixels, so that every pixel a unit of the rectangle touches is covered.
QRect CTrivenorView::ToViewport(const CanvasRect& rect) const {
  const double scale = Scale();
  const QPoint offset = ScrollOffset();
  const QPoint topLeft(static_cast<int>(std::floor(rect.left * scale)),
                       static_cast<int>(std::floor(rect.top * scale)));
  const QPoint bottomRight(static_cast<int>(std::ceil(rect.right * scale)) - 1,
                           static_cast<int>(std::ceil(rect.bottom * scale)) - 1);
  return QRect(topLeft - offset, bottomRight - offset);
}

void CTrivenorView::InvalidateAll() {
  viewport()->update();
}

// 15 units more on every side cover the rubber wire's pen and its snap square.
void CTrivenorView::InvalidateRect(const CanvasRect& rect) {
  constexpr int kMargin = 15;
  viewport()->update(ToViewport(
      {rect.left - kMargin, rect.top - kMargin, rect.right + kMargin, rect.bottom + kMargin}));
}

void CTrivenorView::SetZoom(int percent, QPoint anchor) {
  percent = zoom::Clamped(percent);
  if (percent == zoom_) {
    return;
  }
  const QPointF logical = QPointF(anchor + ScrollOffset()) / Scale();
  zoom_ = percent;
  UpdateScrollBars();
  const QPointF device = logical * Scale() - QPointF(anchor);
  horizontalScrollBar()->setValue(static_cast<int>(std::lround(device.x())));
  verticalScrollBar()->setValue(static_cast<int>(std::lround(device.y())));
  viewport()->update();
  emit zoomChanged(zoom_);
}

void CTrivenorView::SetZoom(int percent) {
  SetZoom(percent, viewport()->rect().center());
}

void CTrivenorView::ZoomToFit() {
  constexpr int kMargin = 10;
  const CanvasRect used = UsedArea(document_, kMargin);
  const QSize visible = viewport()->size();
  const int width = std::max(used.right - used.left, 1);
  const int height = std::max(used.bottom - used.top, 1);
  SetZoom(std::min(100 * visible.width() / width, 100 * visible.height() / height), {0, 0});
  horizontalScrollBar()->setValue(static_cast<int>(std::lround(used.left * Scale())));
  verticalScrollBar()->setValue(static_cast<int>(std::lround(used.top * Scale())));
}

void CTrivenorView::wheelEvent(QWheelEvent* event) {
  if (!event->modifiers().testFlag(Qt::ControlModifier)) {
    QAbstractScrollArea::wheelEvent(event);
    return;
  }
  // One step per notch of a wheel; a touchpad sends parts of a notch, which add up.
  wheelTurn_ += event->angleDelta().y();
  const QPoint pointer = event->position().toPoint();
  for (; wheelTurn_ >= QWheelEvent::DefaultDeltasPerStep;
       wheelTurn_ -= QWheelEvent::DefaultDeltasPerStep) {
    SetZoom(zoom::Larger(zoom_), pointer);
  }
  for (; wheelTurn_ <= -QWheelEvent::DefaultDeltasPerStep;
       wheelTurn_ += QWheelEvent::DefaultDeltasPerStep) {
    SetZoom(zoom::Smaller(zoom_), pointer);
  }
  event->accept();
}

void CTrivenorView::StopSimulationTimer() {
  simulationTimer_.stop();
}

void CTrivenorView::StartSimulationTimer(int milliseconds) {
  if (!paused_) {
    simulationTimer_.start(milliseconds);
  }
}

void CTrivenorView::SetPaused(bool paused) {
  if (paused == paused_) {
    return;
  }
  paused_ = paused;
  if (paused_) {
    StopSimulationTimer();
  } else {
    StartSimulationTimer(document_.tickPeriod);
  }
}

void CTrivenorView::OnTimerTick() {
  Step();
  // Armed only now, with the period as it is now: a new period counts from the next expiry on.
  StartSimulationTimer(document_.tickPeriod);
}

void CTrivenorView::Step() {
  SubCircuit& circuit = document_.circuit();
  const bool hasOutputs = document_.RunPass();
  lastTickRepaints_.clear();
  if (dynamicLines) {
    // Wires change their shade with the values they carry: everything may have changed. (Qt
    // always paints opaque over an erased background; there is no repaint without erasing.)
    Repaint(viewport()->rect());
  } else {
    const int clientRight = ToLogical(QPointF(viewport()->width(), 0)).x;
    tickRects_.clear();
    CollectTickRepaints(circuit, hasOutputs,
                        {document_.settings.canvasWidth, clientRight, charWidth_, lineHeight_},
                        tickRects_);
    if (wireValues) {
      CollectWireValueRepaints(circuit, wireValueCell_, tickRects_);
    }
    for (const CanvasRect& rect : tickRects_) {
      Repaint(ToViewport(rect));
    }
  }
}

void CTrivenorView::Repaint(const QRect& viewportRect) {
  viewport()->update(viewportRect);
  lastTickRepaints_.push_back(viewportRect);
}

void CTrivenorView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.fillRect(event->rect(), Qt::white);
  painter.translate(-ScrollOffset());
  painter.scale(Scale(), Scale());
  const QRect device = event->rect();
  const CanvasPoint topLeft = ToLogical(device.topLeft());
  const CanvasPoint bottomRight = ToLogical(device.bottomRight());
  const QFont font = CanvasFont(document_.settings);
  painter.setFont(font);
  QPainterContext context(painter);
  const ClipBox clip{topLeft.x, topLeft.y, bottomRight.x + 1, bottomRight.y + 1};
  if (const auto metrics = PaintCanvas(context, document_, edit_, {dynamicLines, false}, clip)) {
    charWidth_ = metrics->charWidth;
    lineHeight_ = metrics->lineHeight;
    if (wireValues) {
      const QFont small = WireValueFont(font);
      wireValueCell_ = WireValueCell(small);
      wireValuePainter_.Paint(
          painter, document_.circuit(), small,
          QRect(QPoint(clip.left, clip.top), QPoint(clip.right - 1, clip.bottom - 1)));
    }
  }
}

bool CTrivenorView::PrintPage(QPainter& painter, bool worksheet) {
  const auto metrics = PrintDocumentPage(painter, document_, edit_, worksheet);
  if (!metrics) {
    return false;
  }
  charWidth_ = metrics->charWidth;
  lineHeight_ = metrics->lineHeight;
  // The page left the outputs at the paper's column and the sizes in printer units; the screen
  // takes its own layout back at once, before the next press is hit-tested against them.
  viewport()->update();
  return true;
}

void CTrivenorView::resizeEvent(QResizeEvent* event) {
  QAbstractScrollArea::resizeEvent(event);
  UpdateScrollBars();
}

// The page step is the visible extent, so the slider shows how much of the canvas is in view;
// the line step is a hundredth of the canvas, as the classic scrolling view defaults it.
void CTrivenorView::UpdateScrollBars() {
  const QSize visible = viewport()->size();
  const int width = static_cast<int>(std::max(document_.settings.canvasWidth, 0) * Scale());
  const int height = static_cast<int>(canvas::kHeight * Scale());
  QScrollBar* horizontal = horizontalScrollBar();
  horizontal->setRange(0, std::max(0, width - visible.width()));
  horizontal->setPageStep(visible.width());
  horizontal->setSingleStep(std::max(1, width / 100));
  QScrollBar* vertical = verticalScrollBar();
  vertical->setRange(0, std::max(0, height - visible.height()));
  vertical->setPageStep(visible.height());
  vertical->setSingleStep(std::max(1, height / 100));
}

QPoint CTrivenorView::ScrollOffset() const {
  return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

}  // namespace trivenor
