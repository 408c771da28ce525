#pragma once

#include <memory>
#include <string>

#include "model/component.h"

namespace trivenor {

/// Outputs its label read as a number, anew at every pass.
class Constant final : public Component {
 public:
  explicit Constant(std::string text);
  std::unique_ptr<Component> Clone() const override { return std::make_unique<Constant>(*this); }
  bool Evaluate() override;
};

}  // namespace trivenor
