#include "model/hazard_filter.h"

#include <string>

#include "model/component_kind.h"
#include "model/component_registry.h"
#include "model/kind_rules.h"

namespace trivenor {

HazardFilter::HazardFilter(int hold) : Component(kind::HazardFilter), holdTicks(hold) {
  AddInput(0);
  AddOutput(0);
  label = ComponentKinds().Label(kind::HazardFilter, ComponentClass::HazardFilter) +
          std::to_string(holdTicks);
  lastRow = 1;
}

bool HazardFilter::Evaluate() {
  return HazardRule(*inputs[0], *outputs[0], count, lastValue, holdTicks);
}

void HazardFilter::Reset() {
  Component::Reset();
  count = 0;
}

}  // namespace trivenor
