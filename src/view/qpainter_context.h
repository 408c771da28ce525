#pragma once

#include <QColor>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPoint>
#include <QRect>
#include <QString>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>

#include "model/drawing_context.h"

namespace trivenor {

/// 0x00BBGGRR as a Qt colour.
inline QColor ToQColor(Colour colour) {
  return QColor(static_cast<int>(colour & 0xFFu), static_cast<int>((colour >> 8) & 0xFFu),
                static_cast<int>((colour >> 16) & 0xFFu));
}

/// The screen's device context: draws on a QPainter whose logical unit is one pixel, y down,
/// without antialiasing, reproducing the pixel rules of the classic device context the drawing
/// is written for (rectangles exclusive of right and bottom, lines without their last pixel,
/// texts on an opaque white cell). The canvas font must be set on the painter before the context
/// is made. Paper (tenths of a millimetre, y upwards, text kept upright) gets a context of its
/// own next to this one; the colour conversion above is shared.
class QPainterContext final : public DrawingContext {
 public:
  explicit QPainterContext(QPainter& painter);

  void SelectPen(PenStyle style, int width, Colour colour) override;
  void SelectBlackPen() override;
  void Rectangle(int left, int top, int right, int bottom) override;
  void FrameRectangle(int left, int top, int right, int bottom, Colour colour) override;
  void MoveTo(int x, int y) override;
  void LineTo(int x, int y) override;
  void Text(int x, int y, std::string_view utf8) override;
  TextSize MeasureText(std::string_view utf8) override;
  TextMetrics Metrics() override;

 private:
  /// A text converted and measured once per paint: labels recur (every "+" is measured for the
  /// layout, again by its body and once more when written).
  struct PreparedText {
    QString text;
    int width = 0;
  };
  struct TextHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view utf8) const {
      return std::hash<std::string_view>{}(utf8);
    }
  };

  void DrawThinLine(QPoint from, QPoint to);
  void FillFrame(const QRect& rect, const QColor& color);
  int Advance(const QString& text) const;
  const PreparedText& Prepared(std::string_view utf8);

  QPainter& painter_;
  QFontMetrics fontMetrics_;
  QPen pen_;
  int penWidth_ = 1;
  bool insideFrame_ = false;
  Colour penColour_ = 0;
  bool penSelected_ = false;
  QPoint current_;
  std::unordered_map<std::string, PreparedText, TextHash, std::equal_to<>> texts_;
};

}  // namespace trivenor
