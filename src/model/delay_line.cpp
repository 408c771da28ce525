#include "model/delay_line.h"

#include <algorithm>
#include <string>

#include "model/component_kind.h"
#include "model/component_registry.h"

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
  Port& in = *inputs[0];
  Port& out = *outputs[0];
  bool changed = false;
  out.valid = true;
  if (length > 1) {
    float& slot = buffer[static_cast<std::size_t>(position)];
    if (out.value != slot) {
      changed = true;
    }
    out.value = slot;
    slot = in.valid ? in.value : 0.0f;
    if (++position >= length - 1) {
      position = 0;
    }
  } else {
    // The input port itself is zeroed, so an invalid value does not linger there either.
    if (!in.valid) {
      in.value = 0.0f;
    }
    if (out.value != in.value) {
      changed = true;
    }
    out.value = in.value;
  }
  return changed;
}

void DelayLine::Reset() {
  Component::Reset();
  std::fill(buffer.begin(), buffer.end(), 0.0f);
}

}  // namespace trivenor
