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

  virtual std::optional<int> AskDelay(int preset) = 0;
  virtual std::optional<std::string> AskConstantText() = 0;
  virtual std::optional<int> AskHazardHold(int preset) = 0;
  virtual std::optional<GraphSettings> AskGraphSettings(const GraphSettings& presets) = 0;
  virtual void EditOutputTexts(std::vector<OutputText>& texts) = 0;
};

}  // namespace trivenor
