#include "view/trivenor_view.h"

#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

#include "view/canvas_geometry.h"
#include "view/canvas_painting.h"
#include "view/font_record.h"
#include "view/qpainter_context.h"

namespace trivenor {

CTrivenorView::CTrivenorView(CTrivenorDoc& document, QWidget* parent)
    : QAbstractScrollArea(parent), document_(document) {
  simulationTimer_.setSingleShot(true);
  connect(&simulationTimer_, &QTimer::timeout, this, &CTrivenorView::OnTimerTick);
  document_.updateAllViews = [this] { viewport()->update(); };
  UpdateScrollBars();
}

CTrivenorView::~CTrivenorView() {
  // The document outlives the window; it must not call into a destroyed view.
  document_.updateAllViews = nullptr;
}

void CTrivenorView::OnInitialUpdate() {
  UpdateScrollBars();
  edit_.mode = EditMode::Idle;
  StartSimulationTimer(firstTickDelay_);
  viewport()->update();
}

void CTrivenorView::OnReset() {
  document_.circuit().Reset();
}

void CTrivenorView::SetCanvasWidth(int width) {
  document_.SetModifiedFlag();
  SubCircuit& circuit = document_.circuit();
  if (width < document_.settings.canvasWidth) {
    const int border = canvas::RightBorder(width);
    for (const auto& component : circuit.components) {
      component->x = std::min(component->x, border - component->width);
    }
    for (const auto& junction : circuit.junctions) {
      junction->port.x = std::min(junction->port.x, border);
    }
  }
  document_.settings.canvasWidth = width;
  UpdateScrollBars();
  viewport()->update();
}

void CTrivenorView::StopSimulationTimer() {
  simulationTimer_.stop();
}

void CTrivenorView::StartSimulationTimer(int milliseconds) {
  simulationTimer_.start(milliseconds);
}

void CTrivenorView::OnTimerTick() {
  SubCircuit& circuit = document_.circuit();
  const bool hasOutputs = circuit.Evaluate();
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
