#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/component.h"

namespace trivenor {

/// One entry of a display's table: the text shown while the input equals `value`.
struct OutputText {
  float value = 0.0f;
  std::string text;
};

/// Shows its input as a text: the first matching table entry, else the number.
class OutputDisplay final : public Component {
 public:
  OutputDisplay();
  std::unique_ptr<Component> Clone() const override {
    return std::make_unique<OutputDisplay>(*this);
  }
  bool Evaluate() override;

  std::vector<OutputText> texts;
  int textLength = 0;  ///< characters of the text shown before the last pass
};

}  // namespace trivenor
