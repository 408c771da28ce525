#include "model/port_drawing.h"

namespace trivenor {

namespace {

/// Two lines through three points with the current pen.
void Chevron(DrawingContext& dc, int x1, int y1, int x2, int y2, int x3, int y3) {
  dc.MoveTo(x1, y1);
  dc.LineTo(x2, y2);
  dc.LineTo(x3, y3);
}

/// A straight wire in the consuming port's pen; the stock black pen is selected afterwards so
/// the tips drawn next stay black and thin.
void WireLine(DrawingContext& dc, const Port& consumer, Colour colour, int fromX, int fromY,
              int toX, int toY) {
  dc.SelectPen(PenStyle::Solid, consumer.thickness, colour);
  dc.MoveTo(fromX, fromY);
  dc.LineTo(toX, toY);
  dc.SelectBlackPen();
}

Colour ScreenWireColour(const Port& consumer, bool dynamicLines) {
  if (dynamicLines && consumer.source->value == 0.0f) {
    return LightenedWireColour(consumer.colour);
  }
  return consumer.colour;
}

}  // namespace

Colour LightenedWireColour(Colour colour) {
  for (const int shift : {0, 8, 16}) {
    const Colour part = (colour >> shift) & 0xFFu;
    if (part < 128) {
      colour = (colour & ~(Colour{0xFF} << shift)) | (Colour{128} << shift);
    }
  }
  return colour;
}

void DrawAsInput(const Port& port, DrawingContext& dc, const Port* selectedPort,
                 bool dynamicLines) {
  const int px = port.x;
  const int py = port.y;
  Chevron(dc, px - 2, py - 5, px, py, px - 2, py + 5);
  if (&port == selectedPort) {
    Chevron(dc, px - 3, py - 5, px - 1, py, px - 3, py + 5);
  }
  if (port.source != nullptr) {
    // A thicker wire stops short of the tip by its extra width, so its broad end does not
    // blot the chevron.
    WireLine(dc, port, ScreenWireColour(port, dynamicLines), px - port.thickness + 1, py,
             port.source->x, port.source->y);
  }
}

void DrawAsOutput(const Port& port, DrawingContext& dc, const Port* selectedPort) {
  const int px = port.x;
  const int py = port.y;
  if (&port == selectedPort) {
    Chevron(dc, px + 3, py - 5, px + 1, py, px + 3, py + 5);
  }
  Chevron(dc, px + 2, py - 5, px, py, px + 2, py + 5);
}

void PrintAsInput(const Port& port, DrawingContext& dc) {
  const int px = port.x;
  const int py = port.y;
  Chevron(dc, 2 * px - 4, -2 * (py - 5), 2 * px, -2 * py, 2 * px - 4, -2 * (py + 5));
  if (port.source != nullptr) {
    WireLine(dc, port, port.colour, 2 * px - port.thickness + 1, -2 * py, 2 * port.source->x,
             -2 * port.source->y);
  }
}

void PrintAsOutput(const Port& port, DrawingContext& dc) {
  const int px = port.x;
  const int py = port.y;
  Chevron(dc, 2 * px + 4, -2 * (py - 5), 2 * px, -2 * py, 2 * px + 4, -2 * (py + 5));
}

// The selection of a junction shows in its mark, never in its wire.
void DrawWire(const Junction& junction, DrawingContext& dc, const Port* /*selectedPort*/,
              bool dynamicLines) {
  const Port& port = junction.port;
  if (port.source != nullptr) {
    WireLine(dc, port, ScreenWireColour(port, dynamicLines), port.x, port.y, port.source->x,
             port.source->y);
  }
}

void DrawMark(const Junction& junction, DrawingContext& dc, const Port* selectedPort) {
  const int jx = junction.port.x;
  const int jy = junction.port.y;
  dc.Rectangle(jx - 2, jy - 2, jx + 2, jy + 2);
  if (&junction.port == selectedPort) {
    dc.Rectangle(jx - 1, jy - 1, jx + 1, jy + 1);
  }
}

void PrintWire(const Junction& junction, DrawingContext& dc) {
  const Port& port = junction.port;
  if (port.source != nullptr) {
    WireLine(dc, port, port.colour, 2 * port.x, -2 * port.y, 2 * port.source->x,
             -2 * port.source->y);
  }
}

void PrintMark(const Junction& junction, DrawingContext& dc) {
  const int jx = junction.port.x;
  const int jy = junction.port.y;
  dc.Rectangle(2 * jx - 4, -2 * (jy - 2), 2 * jx + 4, -2 * (jy + 2));
}

}  // namespace trivenor
