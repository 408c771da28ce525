#include "model/hazard_filter.h"

#include <string>

#include "model/component_kind.h"
#include "model/component_registry.h"

namespace trivenor {

HazardFilter::HazardFilter(int hold) : Component(kind::HazardFilter), holdTicks(hold) {
  AddInput(0);
  AddOutput(0);
  label = ComponentKinds().Label(kind::HazardFilter, ComponentClass::HazardFilter) +
          std::to_string(holdTicks);
  lastRow = 1;
}

bool HazardFilter::Evaluate() {
  const float in = inputs[0]->value;
  Port& out = *outputs[0];
  if (in != lastValue) {
    count = 0;
    lastValue = in;
    return false;
  }
  if (count < holdTicks) {
    ++count;
    return false;
  }
  if (out.value != lastValue) {
    out.value = lastValue;
    return true;
  }
  return false;
}

void HazardFilter::Reset() {
  Component::Reset();
  count = 0;
}

}  // namespace trivenor
