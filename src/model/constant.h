#pragma once

#include <string>

#include "model/component.h"

namespace trivenor {

/// Outputs its label read as a number, anew at every pass.
class Constant final : public Component {
 public:
  explicit Constant(std::string text);
  bool Evaluate() override;
};

}  // namespace trivenor
