#pragma once

namespace trivenor::canvas {

/// Fixed geometry of the canvas, in logical units (one unit per screen pixel, y downwards).
/// The painting, the clock and the hit tests of the editing all place things by these numbers.
inline constexpr int kHeight = 1000;
/// Width of each terminal column; the border lines sit at this distance from the edges.
inline constexpr int kTerminalColumn = 90;
/// Gap between a border line and the value text of its terminals.
inline constexpr int kValueGap = 5;
inline constexpr int kTerminalPitch = 30;
inline constexpr int kFirstTerminalY = 20;

inline int TerminalY(int row) {
  return kTerminalPitch * row + kFirstTerminalY;
}

/// x of the right border line, where the circuit outputs sit.
inline int RightBorder(int canvasWidth) {
  return canvasWidth - kTerminalColumn;
}

}  // namespace trivenor::canvas
