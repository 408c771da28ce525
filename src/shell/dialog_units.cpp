#include "shell/dialog_units.h"

#include <cmath>

namespace trivenor {
namespace {

// value * base / divisor, rounded half away from zero as the platform's own conversion rounds.
int Scale(int value, int base, int divisor) {
  return static_cast<int>(std::lround(static_cast<double>(value) * base / divisor));
}

}  // namespace

QFont DialogUnits::DialogFont() {
  QFont font(QStringLiteral("Sans Serif"), 8);
  font.setStyleHint(QFont::SansSerif);
  return font;
}

DialogUnits::DialogUnits() : DialogUnits(QFontMetrics(DialogFont())) {}

DialogUnits::DialogUnits(const QFontMetrics& metrics)
    : averageCharWidth_(metrics.averageCharWidth()), height_(metrics.height()) {}

int DialogUnits::ToPixelsX(int x) const {
  return Scale(x, averageCharWidth_, 4);
}

int DialogUnits::ToPixelsY(int y) const {
  return Scale(y, height_, 8);
}

QPoint DialogUnits::ToPixels(QPoint point) const {
  return {ToPixelsX(point.x()), ToPixelsY(point.y())};
}

QSize DialogUnits::ToPixels(QSize size) const {
  return {ToPixelsX(size.width()), ToPixelsY(size.height())};
}

QRect DialogUnits::ToPixels(const QRect& rect) const {
  return {ToPixels(rect.topLeft()), ToPixels(rect.size())};
}

}  // namespace trivenor
