#pragma once

#include <optional>
#include <string>
#include <vector>

#include "model/graph_plot.h"
#include "model/output_display.h"

namespace trivenor {

/// The parameter dialogs the placing click opens, supplied by the window around the view. Every
/// dialog is modal; an empty result means it was cancelled.
class EditorDialogs {
 public:
  virtual ~EditorDialogs() = default;

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
};

/// What a view without a window around it offers: every dialog counts as cancelled, and an
/// output display keeps the empty table it was built with.
class CancelledDialogs final : public EditorDialogs {
 public:
  std::optional<int> AskDelay(int) override { return std::nullopt; }
  std::optional<std::string> AskConstantText() override { return std::nullopt; }
  std::optional<int> AskHazardHold(int) override { return std::nullopt; }
  std::optional<GraphSettings> AskGraphSettings(const GraphSettings&) override {
    return std::nullopt;
  }
  void EditOutputTexts(std::vector<OutputText>&) override {}
};

}  // namespace trivenor
