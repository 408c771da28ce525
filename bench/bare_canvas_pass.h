#pragma once

#include <QFont>
#include <QImage>
#include <QLine>
#include <QRect>
#include <QString>
#include <vector>

#include "model/sub_circuit.h"

namespace trivenor {

/// What a full repaint of the canvas draws, flattened into a list once: boxes (white with a
/// one-pixel black outline), black one-pixel lines and texts on a white cell, in the order the
/// repaint draws them. It is the reference the repaint is measured against: the same pixels'
/// worth of QPainter work with no model, no layout and no conversions around it.
class BareCanvasPass {
 public:
  /// Flattens `circuit` as the last paint laid it out, on a canvas `canvasWidth` wide. Only
  /// black wires one pixel wide are taken, which is what the benchmark circuits have.
  BareCanvasPass(const SubCircuit& circuit, int canvasWidth, const QFont& font);

  /// Clears `image` to white and draws the list on it with plain QPainter calls.
  void Paint(QImage& image) const;

 private:
  struct Item {
    enum class Kind { Box, Line, Text } kind;
    QRect rect;   ///< a box, or the white cell behind a text
    QLine line;   ///< a line, from its first pixel to the pixel after its last
    QPoint base;  ///< where a text's baseline starts
    QString text;
  };

  void AddChevron(int x, int y, int dx);
  void AddLine(int x1, int y1, int x2, int y2);
  void AddText(int x, int y, const QString& text);

  QFont font_;
  std::vector<Item> items_;
};

}  // namespace trivenor
