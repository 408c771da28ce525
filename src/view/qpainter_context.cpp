#include "view/qpainter_context.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <utility>

namespace trivenor {
namespace {

QString ToQString(std::string_view utf8) {
  return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
}

// The classic device context neither kerns nor measures with kerning: a text is as wide as the
// advances of its characters. Qt must draw it so too, or texts would not fit what was measured.
const QFont& WithoutKerning(QPainter& painter) {
  QFont font = painter.font();
  font.setKerning(false);
  painter.setFont(font);
  return painter.font();
}

}  // namespace

QPainterContext::QPainterContext(QPainter& painter)
    : painter_(painter), fontMetrics_(WithoutKerning(painter), painter.device()) {
  painter_.setRenderHint(QPainter::Antialiasing, false);
  painter_.setBrush(Qt::NoBrush);
  SelectBlackPen();
}

// Components and wires select their pen around every drawing, mostly the one already selected;
// building a QPen and handing it to the painter each time costs more than the lines themselves.
void QPainterContext::SelectPen(PenStyle style, int width, Colour colour) {
  const bool insideFrame = style == PenStyle::InsideFrame;
  if (penSelected_ && std::max(width, 1) == penWidth_ && insideFrame == insideFrame_ &&
      colour == penColour_) {
    return;
  }
  penSelected_ = true;
  penWidth_ = std::max(width, 1);
  insideFrame_ = insideFrame;
  penColour_ = colour;
  if (penWidth_ == 1) {
    // Width 0 is Qt's cosmetic one-pixel pen; flat caps keep its lines free of extra pixels. On
    // a zoomed canvas a line is one unit wide instead, so it grows with the drawing.
    const int width = painter_.transform().isScaling() ? 1 : 0;
    pen_ = QPen(ToQColor(colour), width, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin);
  } else {
    // Wide pens of the classic device context are round at their ends and joins.
    pen_ = QPen(ToQColor(colour), penWidth_, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
  }
  painter_.setPen(pen_);
}

void QPainterContext::SelectBlackPen() {
  SelectPen(PenStyle::Solid, 1, 0);
}

void QPainterContext::Rectangle(int left, int top, int right, int bottom) {
  if (right < left) {
    std::swap(left, right);
  }
  if (bottom < top) {
    std::swap(top, bottom);
  }
  const int width = right - left;
  const int height = bottom - top;
  if (width < 1 || height < 1) {
    return;
  }
  const QRect covered(left, top, width, height);
  painter_.fillRect(covered, Qt::white);
  if (penWidth_ == 1) {
    // A one-pixel outline through the outermost pixels: columns left and right - 1.
    FillFrame(covered, pen_.color());
    return;
  }
  if (!insideFrame_) {
    // Centred on the same outline, so a thick body grows outwards as well as inwards.
    painter_.drawRect(QRect(left, top, width - 1, height - 1));
    return;
  }
  if (width <= 2 * penWidth_ || height <= 2 * penWidth_) {
    painter_.fillRect(covered, pen_.color());  // the frame fills the whole body
    return;
  }
  // Inside-frame: the stroke's centre line moves inwards by half the pen width, so its outer
  // edge lies on the rectangle's edge.
  const qreal half = penWidth_ / 2.0;
  painter_.drawRect(QRectF(left + half, top + half, width - penWidth_, height - penWidth_));
}

void QPainterContext::FrameRectangle(int left, int top, int right, int bottom, Colour colour) {
  if (right - left < 1 || bottom - top < 1) {
    return;
  }
  FillFrame(QRect(left, top, right - left, bottom - top), ToQColor(colour));
}

// Four filled strips: exact pixels, and much cheaper than stroking the outline.
void QPainterContext::FillFrame(const QRect& rect, const QColor& color) {
  painter_.fillRect(QRect(rect.left(), rect.top(), rect.width(), 1), color);
  painter_.fillRect(QRect(rect.left(), rect.bottom(), rect.width(), 1), color);
  painter_.fillRect(QRect(rect.left(), rect.top(), 1, rect.height()), color);
  painter_.fillRect(QRect(rect.right(), rect.top(), 1, rect.height()), color);
}

void QPainterContext::MoveTo(int x, int y) {
  current_ = QPoint(x, y);
}

void QPainterContext::LineTo(int x, int y) {
  const QPoint from = current_;
  current_ = QPoint(x, y);
  if (from == current_) {
    return;
  }
  if (penWidth_ == 1) {
    DrawThinLine(from, current_);
  } else {
    painter_.drawLine(from, current_);
  }
}

// A one-pixel line must leave out its end point, as the classic device context does: the next
// line of a polyline starts there, and a wire ending on a port must not paint over the port's
// tip. Qt's aliased cosmetic lines always leave out the pixel at the larger coordinate of the
// major axis, whatever the direction. So a line running right (or, steeper, down) is drawn by
// Qt as it is. A line running the other way is drawn by Qt towards its start from the pixel next
// to its end, and the start pixel is added: end + 1 .. start along the major axis.
void QPainterContext::DrawThinLine(QPoint from, QPoint to) {
  const std::int64_t dx = std::int64_t{to.x()} - from.x();
  const std::int64_t dy = std::int64_t{to.y()} - from.y();
  const bool xMajor = std::abs(dx) >= std::abs(dy);
  if (xMajor ? dx > 0 : dy > 0) {
    painter_.drawLine(from, to);
    return;
  }
  // One step from the end towards the start, on the pixel nearest the ideal line. Qt keeps the
  // same major axis for the shorter line: the minor step is at most one.
  const double minorStep = xMajor ? static_cast<double>(dy) / dx : static_cast<double>(dx) / dy;
  const int rounded = static_cast<int>(std::lround(minorStep));
  const QPoint next =
      xMajor ? QPoint(to.x() + 1, to.y() + rounded) : QPoint(to.x() + rounded, to.y() + 1);
  if (next != from) {
    painter_.drawLine(next, from);
  }
  painter_.drawPoint(from);
}

void QPainterContext::Text(int x, int y, std::string_view utf8) {
  if (utf8.empty()) {
    return;
  }
  const PreparedText& text = Prepared(utf8);
  // The cell behind the text is painted white, as the classic device context does by default;
  // texts are black whatever pen is selected. A text takes only the pen's colour, so the pen is
  // changed (which makes the painter set up its pen anew twice) only when that is not black.
  painter_.fillRect(QRect(x, y, text.width, fontMetrics_.height()), Qt::white);
  const bool blackPen = penColour_ == 0;
  if (!blackPen) {
    painter_.setPen(Qt::black);
  }
  painter_.drawText(QPoint(x, y + fontMetrics_.ascent()), text.text);
  if (!blackPen) {
    painter_.setPen(pen_);
  }
}

TextSize QPainterContext::MeasureText(std::string_view utf8) {
  return {Prepared(utf8).width, fontMetrics_.height()};
}

const QPainterContext::PreparedText& QPainterContext::Prepared(std::string_view utf8) {
  const auto found = texts_.find(utf8);
  if (found != texts_.end()) {
    return found->second;
  }
  QString text = ToQString(utf8);
  const int width = Advance(text);
  return texts_.emplace(std::string(utf8), PreparedText{std::move(text), width}).first->second;
}

// Character by character: measuring a whole string lays it out, which costs some forty times
// as much, and without kerning the sum is the same. Pairs of surrogates are measured together.
int QPainterContext::Advance(const QString& text) const {
  int width = 0;
  for (const QChar character : text) {
    if (character.isSurrogate()) {
      return fontMetrics_.horizontalAdvance(text);
    }
    width += fontMetrics_.horizontalAdvance(character);
  }
  return width;
}

TextMetrics QPainterContext::Metrics() {
  // Qt allows a negative leading; the external leading the sizes are written for never is.
  return {fontMetrics_.height(), std::max(fontMetrics_.leading(), 0),
          fontMetrics_.averageCharWidth()};
}

}  // namespace trivenor
