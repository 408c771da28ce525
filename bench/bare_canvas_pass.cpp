#include "bare_canvas_pass.h"

#include <QFontMetrics>
#include <QPainter>

#include "model/number_text.h"
#include "view/canvas_geometry.h"

namespace trivenor {
namespace {

QString ValueText(const Port& port) {
  return port.valid ? QString::fromStdString(FormatValue(port.value)) : QStringLiteral("xxx");
}

}  // namespace

BareCanvasPass::BareCanvasPass(const SubCircuit& circuit, int canvasWidth, const QFont& font)
    : font_(font) {
  font_.setKerning(false);
  const QFontMetrics metrics(font_);
  const int border = canvas::RightBorder(canvasWidth);
  AddLine(canvas::kTerminalColumn, 0, canvas::kTerminalColumn, canvas::kHeight - 1);
  AddLine(border, 0, border, canvas::kHeight - 1);
  for (const auto& port : circuit.inputs) {
    AddChevron(port->x, port->y, -2);
    const QString text = ValueText(*port);
    AddText(port->x - canvas::kValueGap - metrics.horizontalAdvance(text),
            port->y - metrics.height() / 2, text);
  }
  for (const auto& component : circuit.components) {
    const int x = component->x;
    const int y = component->y;
    items_.push_back(
        {Item::Kind::Box, QRect(x, y, component->width, component->height), {}, {}, {}});
    const QString label = QString::fromStdString(component->label);
    AddText(x + (component->width - metrics.horizontalAdvance(label)) / 2,
            y + (component->height - metrics.height()) / 2, label);
    for (const auto& port : component->inputs) {
      AddChevron(port->x, port->y, -2);
      if (port->source != nullptr) {
        AddLine(port->x, port->y, port->source->x, port->source->y);
      }
    }
    for (const auto& port : component->outputs) {
      AddChevron(port->x, port->y, 2);
    }
  }
  for (const auto& port : circuit.outputs) {
    AddChevron(port->x, port->y, 2);
    AddText(port->x + canvas::kValueGap, port->y - metrics.height() / 2, ValueText(*port));
  }
  for (const auto& port : circuit.outputs) {
    if (port->source != nullptr) {
      AddLine(port->x, port->y, port->source->x, port->source->y);
    }
  }
}

void BareCanvasPass::AddChevron(int x, int y, int dx) {
  AddLine(x + dx, y - 5, x, y);
  AddLine(x, y, x + dx, y + 5);
}

void BareCanvasPass::AddLine(int x1, int y1, int x2, int y2) {
  items_.push_back({Item::Kind::Line, {}, QLine(x1, y1, x2, y2), {}, {}});
}

void BareCanvasPass::AddText(int x, int y, const QString& text) {
  const QFontMetrics metrics(font_);
  items_.push_back({Item::Kind::Text,
                    QRect(x, y, metrics.horizontalAdvance(text), metrics.height()),
                    {},
                    QPoint(x, y + metrics.ascent()),
                    text});
}

void BareCanvasPass::Paint(QImage& image) const {
  QPainter painter(&image);
  painter.fillRect(image.rect(), Qt::white);
  painter.setFont(font_);
  painter.setPen(QPen(Qt::black, 0, Qt::SolidLine, Qt::FlatCap, Qt::MiterJoin));
  for (const Item& item : items_) {
    switch (item.kind) {
      case Item::Kind::Box:
        painter.fillRect(item.rect, Qt::white);
        painter.fillRect(QRect(item.rect.left(), item.rect.top(), item.rect.width(), 1), Qt::black);
        painter.fillRect(QRect(item.rect.left(), item.rect.bottom(), item.rect.width(), 1),
                         Qt::black);
        painter.fillRect(QRect(item.rect.left(), item.rect.top(), 1, item.rect.height()),
                         Qt::black);
        painter.fillRect(QRect(item.rect.right(), item.rect.top(), 1, item.rect.height()),
                         Qt::black);
        break;
      case Item::Kind::Line:
        painter.drawLine(item.line);
        break;
      case Item::Kind::Text:
        painter.fillRect(item.rect, Qt::white);
        painter.drawText(item.base, item.text);
        break;
    }
  }
}

}  // namespace trivenor
