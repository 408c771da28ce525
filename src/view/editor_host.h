#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/graph_plot.h"
#include "model/output_display.h"
#include "view/tick_repaint.h"

namespace trivenor {

/// What the editing state machine needs from the window around it: the parameter dialogs of the
/// placing click and repaints. Every dialog is modal; an empty result means it was cancelled.
class EditorHost {
 public:
  virtual ~EditorHost() = default;

  /// "Delay": the delay of a new DelayLine.
  virtual std::optional<int> AskDelay(int preset) = 0;
  /// "Wert Eingeben": the text of a new Constant, starting from an empty field.
  virtual std::optional<std::string> AskConstantText() = 0;
  /// "HAZARD": how many passes the input of a new HazardFilter must stay unchanged.
  virtual std::optional<int> AskHazardHold(int preset) = 0;
  /// "Graphenfenster": the settings of a new GraphPlot.
  virtual std::optional<GraphSettings> AskGraphSettings(const GraphSettings& presets) = 0;
  /// "Ausgabetexte", editing the table of a new OutputDisplay in place; the display is placed
  /// however the dialog ends.
  virtual void EditOutputTexts(std::vector<OutputText>& texts) = 0;

  /// Repaint the whole client area, erasing the background.
  virtual void InvalidateAll() = 0;
  /// Repaint `rect`, given normalised in logical units; the view converts it to device units
  /// and enlarges it by 15 on every side (the rubber wire's pen and snap square).
  virtual void InvalidateRect(const CanvasRect& rect) = 0;
};

}  // namespace trivenor
