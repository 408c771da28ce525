#pragma once

#include <memory>
#include <vector>

#include "model/component.h"

namespace trivenor {

/// Delivers its input `length` - 1 passes later (in the same pass for length 1) through a ring
/// of `length` - 1 slots.
class DelayLine final : public Component {
 public:
  explicit DelayLine(int delay);
  std::unique_ptr<Component> Clone() const override { return std::make_unique<DelayLine>(*this); }
  bool Evaluate() override;
  void Reset() override;

  std::vector<float> buffer;
  int length;
  int position = 0;
};

}  // namespace trivenor
