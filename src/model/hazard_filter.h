#pragma once

#include <memory>
#include "model/component.h"

namespace trivenor {

/// Passes a value on once it has stayed the same for `holdTicks` + 1 passes.
class HazardFilter final : public Component {
 public:
  explicit HazardFilter(int hold);
  std::unique_ptr<Component> Clone() const override {
    return std::make_unique<HazardFilter>(*this);
  }
  bool Evaluate() override;
  void Reset() override;

  int count = 0;
  float lastValue = 0.0f;
  int holdTicks;
};

}  // namespace trivenor
