#pragma once

#include <memory>
#include <vector>

#include "model/component.h"

namespace trivenor {

/// The settings a graph is built from; the graph cannot change them later.
struct GraphSettings {
  bool continuous = true;  ///< true: y over time; false: points (x, y)
  bool autoX = true;
  bool autoY = true;
  int heightLines = 4;
  int widthChars = 4;
  int points = 100;
  int period = 20;
  float yMin = -1.0f;  ///< manual ranges; ignored where the scaling is automatic
  float yMax = 1.0f;
  float xMin = -1.0f;
  float xMax = 1.0f;
};

/// Records samples of its inputs y (row 0) and x (row 1) in a ring; a reset input (row 3) above
/// 0 clears it.
class GraphPlot final : public Component {
 public:
  explicit GraphPlot(const GraphSettings& settings);
  std::unique_ptr<Component> Clone() const override { return std::make_unique<GraphPlot>(*this); }
  bool Evaluate() override;
  /// Sizes itself from `widthChars` and `heightLines` and plots the recorded samples.
  bool Draw(DrawingContext& dc, const Component* selectedComponent, const Port* selectedPort,
            int charWidth, int lineHeight, bool dynamicLines) override;
  bool DrawPrinted(DrawingContext& dc, const Component* selectedComponent, const Port* selectedPort,
                   int charWidth, int lineHeight) override;
  void Reset() override;
  /// A graph is sized by its settings in characters and lines, not by a label.
  void SizeOnScreen(int charWidth, int lineHeight);

  bool continuous;
  bool autoX;
  bool autoY;
  int heightLines;
  int widthChars;
  int points;
  int period;
  int position = 0;
  int tick = 0;
  float xMin = 0.0f, xMax = 0.0f, yMin = 0.0f, yMax = 0.0f;
  float xMin0 = 0.0f, yMin0 = 0.0f, xMax0 = 0.0f, yMax0 = 0.0f;
  std::vector<float> ySamples;
  std::vector<float> xSamples;  ///< empty while continuous
};

}  // namespace trivenor
