#include "model/constant.h"

#include <utility>

#include "model/component_kind.h"
#include "model/kind_rules.h"

namespace trivenor {

Constant::Constant(std::string text) : Component(kind::Constant) {
  lastRow = 1;
  label = std::move(text);
  AddOutput(0);
}

bool Constant::Evaluate() {
  // The label is read at every pass, so a Reset is undone by the next pass.
  outputs[0]->value = ConstantValue(label);
  return false;
}

}  // namespace trivenor
