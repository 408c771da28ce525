#pragma once

#include "model/component.h"

namespace trivenor {

/// Passes a value on once it has stayed the same for `holdTicks` + 1 passes.
class HazardFilter final : public Component {
 public:
  explicit HazardFilter(int hold);
  bool Evaluate() override;
  void Reset() override;

  int count = 0;
  float lastValue = 0.0f;
  int holdTicks;
};

}  // namespace trivenor
