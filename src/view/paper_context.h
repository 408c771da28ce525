#pragma once

#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QPointF>

#include "model/drawing_context.h"

namespace trivenor {

/// The printer's device context: one logical unit is a tenth of a millimetre, y grows upwards
/// from the top-left corner of the printable area (so everything on the page has y <= 0), and
/// texts stay upright with their top-left corner at the point given. Pen widths and the font's
/// pixel size count in the same logical units, so a 26-unit font is 2.6 mm high on paper.
///
/// The context scales the painter to the device's resolution for its lifetime and restores the
/// painter's state when it goes; the printer font must be set on the painter before.
class PaperContext final : public DrawingContext {
 public:
  explicit PaperContext(QPainter& painter);
  ~PaperContext() override;
  PaperContext(const PaperContext&) = delete;
  PaperContext& operator=(const PaperContext&) = delete;

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
  QPainter& painter_;
  QFontMetrics fontMetrics_;
  QPen pen_;
  int penWidth_ = 1;
  bool insideFrame_ = false;
  QPointF current_;
};

}  // namespace trivenor
