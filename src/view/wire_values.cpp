#include "view/wire_values.h"

#include <QFontMetrics>
#include <QtMath>
#include <algorithm>
#include <string>

#include "model/number_text.h"

namespace trivenor {
namespace {

// "%g" of a float is at most this wide: sign, six digits, point and a three-digit exponent.
constexpr char kWidestValue[] = "-8.88888e-888";

// Calls `visit` with every consuming port that has a wire.
template <typename Visit>
void ForEachWire(const SubCircuit& circuit, Visit visit) {
  for (const auto& component : circuit.components) {
    for (const auto& port : component->inputs) {
      if (port->source != nullptr) {
        visit(*port);
      }
    }
  }
  for (const auto& port : circuit.outputs) {
    if (port->source != nullptr) {
      visit(*port);
    }
  }
  for (const auto& junction : circuit.junctions) {
    if (junction->port.source != nullptr) {
      visit(junction->port);
    }
  }
}

QPoint Middle(const Port& consumer) {
  return {(consumer.x + consumer.source->x) / 2, (consumer.y + consumer.source->y) / 2};
}

}  // namespace

QFont WireValueFont(const QFont& canvasFont) {
  QFont font = canvasFont;
  const int height =
      canvasFont.pixelSize() > 0 ? canvasFont.pixelSize() : QFontMetrics(canvasFont).height();
  font.setPixelSize(std::max(7, height * 2 / 3));
  return font;
}

QSize WireValueCell(const QFont& font) {
  const QFontMetrics metrics(font);
  return {metrics.horizontalAdvance(QString::fromLatin1(kWidestValue)) + 4, metrics.height() + 2};
}

void WireValuePainter::Paint(QPainter& painter, const SubCircuit& circuit, const QFont& font,
                             const QRect& clip) {
  // A bound on the kept texts, for a circuit whose values never repeat.
  constexpr qsizetype kMostTexts = 4096;
  if (font != font_ || texts_.size() > kMostTexts) {
    texts_.clear();
    font_ = font;
  }
  painter.save();
  painter.setFont(font);
  painter.setPen(Qt::black);
  const QFontMetrics metrics(font, painter.device());
  const int height = metrics.height();
  const int widest = metrics.horizontalAdvance(QString::fromLatin1(kWidestValue));
  ForEachWire(circuit, [&](const Port& consumer) {
    const QPoint middle = Middle(consumer);
    if (!clip.intersects(QRect(middle.x() - widest / 2, middle.y() - height / 2, widest, height))) {
      return;
    }
    const QString text =
        QString::fromStdString(consumer.valid ? FormatValue(consumer.value) : std::string("xxx"));
    auto laidOut = texts_.find(text);
    if (laidOut == texts_.end()) {
      QStaticText staticText(text);
      staticText.setTextFormat(Qt::PlainText);
      staticText.prepare(painter.transform(), font);
      laidOut = texts_.insert(text, staticText);
    }
    const int width = qCeil(laidOut->size().width());
    const QRect cell(middle.x() - width / 2 - 1, middle.y() - height / 2, width + 2, height);
    painter.fillRect(cell, Qt::white);
    painter.drawStaticText(QPoint(cell.left() + 1, cell.top()), *laidOut);
  });
  painter.restore();
}

void CollectWireValueRepaints(const SubCircuit& circuit, QSize cell,
                              std::vector<CanvasRect>& rects) {
  const int halfWidth = cell.width() / 2 + 1;
  const int halfHeight = cell.height() / 2 + 1;
  // A port that turns invalid keeps its value and counts as unchanged: an invalid wire is
  // repainted at every pass, so that its "xxx" shows.
  ForEachWire(circuit, [&](const Port& consumer) {
    if (!consumer.unchanged || !consumer.valid) {
      const QPoint middle = Middle(consumer);
      rects.push_back({middle.x() - halfWidth, middle.y() - halfHeight, middle.x() + halfWidth,
                       middle.y() + halfHeight});
    }
  });
}

}  // namespace trivenor
