#include "view/paper_context.h"

#include <QPaintDevice>
#include <QRectF>
#include <algorithm>

#include "view/qpainter_context.h"

namespace trivenor {
namespace {

constexpr double kTenthsOfMillimetrePerInch = 254.0;

// The painter is not flipped (text would print upside down); the context turns y upwards
// itself.
QPointF OnPainter(int x, int y) {
  return {static_cast<double>(x), -static_cast<double>(y)};
}

QString ToQString(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// Measured without kerning and drawn so, as on the screen: a text is as wide as was measured.
const QFont& PreparedFont(QPainter& painter) {
  painter.save();
  QFont font = painter.font();
  font.setKerning(false);
  painter.setFont(font);
  const QPaintDevice& device = *painter.device();
  painter.scale(device.logicalDpiX() / kTenthsOfMillimetrePerInch,
                device.logicalDpiY() / kTenthsOfMillimetrePerInch);
  return painter.font();
}

}  // namespace

PaperContext::PaperContext(QPainter& painter)
    : painter_(painter), fontMetrics_(PreparedFont(painter), painter.device()) {
  painter_.setBrush(Qt::NoBrush);
  SelectBlackPen();
}

PaperContext::~PaperContext() {
  painter_.restore();
}

void PaperContext::SelectPen(PenStyle style, int width, Colour colour) {
  penWidth_ = std::max(width, 1);
  insideFrame_ = style == PenStyle::InsideFrame;
  // Round ends and joins, as wide pens of the classic device context have.
  pen_ = QPen(ToQColor(colour), penWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  painter_.setPen(pen_);
}

void PaperContext::SelectBlackPen() {
  SelectPen(PenStyle::Solid, 1, 0);
}

void PaperContext::Rectangle(int left, int top, int right, int bottom) {
  const QRectF covered = QRectF(OnPainter(left, top), OnPainter(right, bottom)).normalized();
  if (covered.isEmpty()) {
    return;
  }
  painter_.fillRect(covered, Qt::white);
  if (!insideFrame_) {
    painter_.drawRect(covered);
    return;
  }
  if (covered.width() <= 2 * penWidth_ || covered.height() <= 2 * penWidth_) {
    painter_.fillRect(covered, pen_.color());  // the frame fills the whole body
    return;
  }
  // The stroke's outer edge lies on the outline: its centre line moves in by half the width.
  const double half = penWidth_ / 2.0;
  painter_.drawRect(covered.adjusted(half, half, -half, -half));
}

void PaperContext::FrameRectangle(int left, int top, int right, int bottom, Colour colour) {
  const QRectF rect = QRectF(OnPainter(left, top), OnPainter(right, bottom)).normalized();
  if (rect.width() < 1 || rect.height() < 1) {
    return;
  }
  const QColor color = ToQColor(colour);
  painter_.fillRect(QRectF(rect.left(), rect.top(), rect.width(), 1), color);
  painter_.fillRect(QRectF(rect.left(), rect.bottom() - 1, rect.width(), 1), color);
  painter_.fillRect(QRectF(rect.left(), rect.top(), 1, rect.height()), color);
  painter_.fillRect(QRectF(rect.right() - 1, rect.top(), 1, rect.height()), color);
}

void PaperContext::MoveTo(int x, int y) {
  current_ = OnPainter(x, y);
}

void PaperContext::LineTo(int x, int y) {
  const QPointF from = current_;
  current_ = OnPainter(x, y);
  painter_.drawLine(from, current_);
}

void PaperContext::Text(int x, int y, std::string_view utf8) {
  if (utf8.empty()) {
    return;
  }
  const QString text = ToQString(utf8);
  const QPointF topLeft = OnPainter(x, y);
  // An opaque white cell behind black text, as the classic device context prints by default.
  painter_.fillRect(
      QRectF(topLeft, QSizeF(fontMetrics_.horizontalAdvance(text), fontMetrics_.height())),
      Qt::white);
  painter_.setPen(Qt::black);
  painter_.drawText(topLeft + QPointF(0, fontMetrics_.ascent()), text);
  painter_.setPen(pen_);
}

TextSize PaperContext::MeasureText(std::string_view utf8) {
  return {fontMetrics_.horizontalAdvance(ToQString(utf8)), fontMetrics_.height()};
}

TextMetrics PaperContext::Metrics() {
  return {fontMetrics_.height(), std::max(fontMetrics_.leading(), 0),
          fontMetrics_.averageCharWidth()};
}

}  // namespace trivenor
