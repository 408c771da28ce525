#include "model/operators.h"

#include "model/component_kind.h"
#include "model/component_registry.h"
#include "model/kind_rules.h"

namespace trivenor {

TwoInputOperator::TwoInputOperator(int kindCode) : Component(kindCode) {
  AddInput(0);
  AddInput(1);
  AddOutput(0);
  lastRow = 1;
  label = ComponentKinds().Label(kindCode, ComponentClass::TwoInputOperator);
  Evaluate();
}

bool TwoInputOperator::Evaluate() {
  return TwoInputRule(kind, *inputs[0], *inputs[1], *outputs[0]);
}

UnaryFunction::UnaryFunction(int kindCode) : Component(kindCode) {
  AddInput(0);
  AddOutput(0);
  lastRow = 1;
  label = ComponentKinds().Label(kindCode, ComponentClass::UnaryFunction);
  Evaluate();
}

bool UnaryFunction::Evaluate() {
  return UnaryRule(kind, *inputs[0], *outputs[0]);
}

}  // namespace trivenor
