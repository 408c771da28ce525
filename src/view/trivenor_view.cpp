#include "view/trivenor_view.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "document/undo_step_names.h"
#include "view/canvas_geometry.h"
#include "view/canvas_painting.h"
#include "view/font_record.h"
#include "view/layout_keys.h"
#include "view/page_printing.h"
#include "view/qpainter_context.h"
#include "view/virtual_keys.h"

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

CanvasPoint CTrivenorView::ToLogical(const QPointF& viewportPoint) const {
  const QPoint logical = viewportPoint.toPoint() + ScrollOffset();
  return {logical.x(), logical.y()};
}

void CTrivenorView::InvalidateAll() {
  viewport()->update();
}

// 15 units more on every side cover the rubber wire's pen and its snap square.
void CTrivenorView::InvalidateRect(const CanvasRect& rect) {
  constexpr int kMargin = 15;
  const QRect device(QPoint(rect.left, rect.top) - ScrollOffset(),
                     QSize(rect.right - rect.left, rect.bottom - rect.top));
  viewport()->update(device.adjusted(-kMargin, -kMargin, kMargin, kMargin));
}

void CTrivenorView::StopSimulationTimer() {
  simulationTimer_.stop();
}

void CTrivenorView::StartSimulationTimer(int milliseconds) {
  simulationTimer_.start(milliseconds);
}

void CTrivenorView::OnTimerTick() {
  SubCircuit& circuit = document_.circuit();
  const bool hasOutputs = document_.RunPass();
  lastTickRepaints_.clear();
  if (dynamicLines) {
    // Wires change their shade with the values they carry: everything may have changed. (Qt
    // always paints opaque over an erased background; there is no repaint without erasing.)
    Repaint(viewport()->rect());
  } else {
    const QPoint offset = ScrollOffset();
    tickRects_.clear();
    CollectTickRepaints(
        circuit, hasOutputs,
        {document_.settings.canvasWidth, offset.x() + viewport()->width(), charWidth_, lineHeight_},
        tickRects_);
    for (const CanvasRect& rect : tickRects_) {
      Repaint(QRect(QPoint(rect.left, rect.top) - offset,
                    QPoint(rect.right - 1, rect.bottom - 1) - offset));
    }
  }
  // Armed only now, with the period as it is now: a new period counts from the next expiry on.
  StartSimulationTimer(document_.tickPeriod);
}

void CTrivenorView::Repaint(const QRect& viewportRect) {
  viewport()->update(viewportRect);
  lastTickRepaints_.push_back(viewportRect);
}

void CTrivenorView::paintEvent(QPaintEvent* event) {
  QPainter painter(viewport());
  painter.fillRect(event->rect(), Qt::white);
  const QPoint offset = ScrollOffset();
  painter.translate(-offset);
  const QRect logical = event->rect().translated(offset);
  painter.setFont(CanvasFont(document_.settings));
  QPainterContext context(painter);
  const ClipBox clip{logical.left(), logical.top(), logical.right() + 1, logical.bottom() + 1};
  if (const auto metrics = PaintCanvas(context, document_, edit_, dynamicLines, clip)) {
    charWidth_ = metrics->charWidth;
    lineHeight_ = metrics->lineHeight;
  }
}

bool CTrivenorView::PrintPage(QPainter& painter) {
  const auto metrics = PrintDocumentPage(painter, document_, edit_);
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
  const int width = std::max(document_.settings.canvasWidth, 0);
  QScrollBar* horizontal = horizontalScrollBar();
  horizontal->setRange(0, std::max(0, width - visible.width()));
  horizontal->setPageStep(visible.width());
  horizontal->setSingleStep(std::max(1, width / 100));
  QScrollBar* vertical = verticalScrollBar();
  vertical->setRange(0, std::max(0, canvas::kHeight - visible.height()));
  vertical->setPageStep(visible.height());
  vertical->setSingleStep(canvas::kHeight / 100);
}

QPoint CTrivenorView::ScrollOffset() const {
  return {horizontalScrollBar()->value(), verticalScrollBar()->value()};
}

}  // namespace trivenor
