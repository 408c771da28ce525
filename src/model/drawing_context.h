#pragma once

#include <string_view>

#include "model/port.h"

namespace trivenor {

/// The size of a text in the current font, in logical units.
struct TextSize {
  int width = 0;
  int height = 0;
};

/// What the editor reads from the current font to size components.
struct TextMetrics {
  int height = 0;           ///< ascent plus descent
  int externalLeading = 0;  ///< extra space between lines the font asks for
  int averageCharWidth = 0;
};

enum class PenStyle {
  Solid,
  /// The whole width of the line lies inside the outline of a rectangle; printed bodies use it
  /// so thick outlines do not grow the body.
  InsideFrame,
};

/// Where components, ports, wires and junctions draw themselves: the screen, the printer or,
/// in tests, a recorder. Coordinates are logical units of the surface: on the screen canvas
/// units with y downwards, on the printer tenths of a millimetre with y upwards.
///
/// The calls mirror the classic device-context model the drawing rules are written in: one
/// selected pen (solid or inside-frame, a width, a colour) until the next selection, the stock
/// black pen one unit wide, a white brush filling rectangles, a current point for lines, texts
/// placed by their top-left corner on an opaque white background.
class DrawingContext {
 public:
  virtual ~DrawingContext() = default;

  /// Selects a new pen; it replaces the one selected before.
  virtual void SelectPen(PenStyle style, int width, Colour colour) = 0;
  /// Selects the stock black pen, one unit wide.
  virtual void SelectBlackPen() = 0;
  /// Outline with the selected pen, interior filled white. Covers left..right-1, top..bottom-1.
  virtual void Rectangle(int left, int top, int right, int bottom) = 0;
  /// A frame one unit wide inside the rectangle, in a solid brush of `colour`; no pen.
  virtual void FrameRectangle(int left, int top, int right, int bottom, Colour colour) = 0;
  /// Moves the current point.
  virtual void MoveTo(int x, int y) = 0;
  /// A line with the selected pen from the current point to (x, y), which becomes the current
  /// point; the end point itself is not drawn.
  virtual void LineTo(int x, int y) = 0;
  /// UTF-8 text with its top-left corner at (x, y).
  virtual void Text(int x, int y, std::string_view utf8) = 0;
  virtual TextSize MeasureText(std::string_view utf8) = 0;
  virtual TextMetrics Metrics() = 0;
};

}  // namespace trivenor
