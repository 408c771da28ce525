#pragma once

#include <QFont>
#include <QFontMetrics>
#include <QPoint>
#include <QRect>
#include <QSize>

namespace trivenor {

/// Dialogs and palettes are laid out in dialog units: a quarter of the dialog font's average
/// character width across, an eighth of its height down. Converting them with the metrics of the
/// font actually shown keeps every control in proportion to its text, whatever font the
/// platform substitutes.
class DialogUnits {
 public:
  /// The font the layouts were made for ("MS Sans Serif", 8 points): here the platform's
  /// sans-serif at the same size.
  static QFont DialogFont();

  /// Units of DialogFont().
  DialogUnits();
  explicit DialogUnits(const QFontMetrics& metrics);

  int ToPixelsX(int x) const;
  int ToPixelsY(int y) const;
  QPoint ToPixels(QPoint point) const;
  QSize ToPixels(QSize size) const;
  /// Each of left, top, width and height converted on its own, as dialog templates are.
  QRect ToPixels(const QRect& rect) const;

 private:
  int averageCharWidth_;
  int height_;
};

}  // namespace trivenor
