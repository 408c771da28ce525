#pragma once

#include <memory>

#include "model/component_kind.h"
#include "model/constant.h"
#include "model/delay_line.h"
#include "model/operators.h"
#include "model/output_display.h"

namespace trivenor {

/// The `index`-th component of a wide mix of kinds, a file's worth of everything a record can
/// hold: "+", sine, a delay of 3, a constant and an output display with two texts, in turn.
inline std::unique_ptr<Component> MixedComponent(int index) {
  switch (index % 5) {
    case 0:
      return std::make_unique<TwoInputOperator>(kind::Plus);
    case 1:
      return std::make_unique<UnaryFunction>(kind::Sine);
    case 2:
      return std::make_unique<DelayLine>(3);
    case 3:
      return std::make_unique<Constant>("12.5");
    default: {
      auto display = std::make_unique<OutputDisplay>();
      display->texts.push_back({1.0f, "eins"});
      display->texts.push_back({2.0f, "zwei"});
      return display;
    }
  }
}

}  // namespace trivenor
