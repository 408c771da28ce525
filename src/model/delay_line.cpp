#include "model/delay_line.h"

#include <algorithm>
#include <string>

#include "model/component_kind.h"
#include "model/component_registry.h"
#include "model/kind_rules.h"

namespace trivenor {

DelayLine::DelayLine(int delay) : Component(kind::DelayLine), length(std::max(delay, 1)) {
  if (length > 1) {
    buffer.assign(static_cast<std::size_t>(length - 1), 0.0f);
  }
  AddInput(0);
  AddOutput(0);
  label =
      ComponentKinds().Label(kind::DelayLine, ComponentClass::DelayLine) + std::to_string(length);
  lastRow = 1;
}

bool DelayLine::Evaluate() {
  return DelayRule(*inputs[0], *outputs[0], buffer.data(), length, position);
}

void DelayLine::Reset() {
  Component::Reset();
  std::fill(buffer.begin(), buffer.end(), 0.0f);
}

}  // namespace trivenor
