#pragma once

#include <QFont>
#include <QHash>
#include <QPainter>
#include <QSize>
#include <QStaticText>
#include <QString>
#include <vector>

#include "model/sub_circuit.h"
#include "view/tick_repaint.h"

namespace trivenor {

/// "Werte an Leitungen": every wire shows, at its middle, the value the port it leads into holds
/// ("xxx" while invalid). A wire is the line from a consuming port (a component input, a circuit
/// output, a junction) to its source, as the canvas draws it.

/// The small type of the values: the canvas font at two thirds of its size, at least 7 pixels.
QFont WireValueFont(const QFont& canvasFont);

/// The cell the widest value takes in `font`, which the clock repaints around a wire's middle.
QSize WireValueCell(const QFont& font);

/// Writes the values on a white ground, centred on each wire's middle, with the layout of the
/// last paint. Keeps each text laid out from paint to paint: most values recur, and laying a text
/// out costs more than drawing it.
class WireValuePainter {
 public:
  /// Writes the values that reach into `clip` (logical units); the painter's font and pen are
  /// left as they were.
  void Paint(QPainter& painter, const SubCircuit& circuit, const QFont& font, const QRect& clip);

 private:
  QHash<QString, QStaticText> texts_;
  QFont font_;
};

/// Appends to `rects` the cell around the middle of every wire whose value the last pass
/// changed, and of every wire that carries no valid value.
void CollectWireValueRepaints(const SubCircuit& circuit, QSize cell,
                              std::vector<CanvasRect>& rects);

}  // namespace trivenor
