#include "model/operators.h"

#include <cmath>

#include "model/component_kind.h"
#include "model/component_registry.h"
#include "model/random.h"
#include "model/truncation.h"

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
  const Port& inA = *inputs[0];
  const Port& inB = *inputs[1];
  Port& out = *outputs[0];
  out.valid = inA.valid && inB.valid;
  if (!out.valid) {
    return true;
  }
  const double a = inA.value;
  const double b = inB.value;
  double result;
  switch (kind) {
    case kind::Plus:
      result = a + b;
      break;
    case kind::Minus:
      result = a - b;
      break;
    case kind::Times:
      result = a * b;
      break;
    case kind::Divide:
      if (b == 0) {
        out.valid = false;
        return true;
      }
      result = a / b;
      break;
    case kind::Power:
      if (a < 0) {
        out.valid = false;
        return true;
      }
      result = std::pow(a, b);
      break;
    case kind::And:
      result = TruncateValue(a) & TruncateValue(b);
      break;
    case kind::Or:
      result = TruncateValue(a) | TruncateValue(b);
      break;
    case kind::Equal:
      result = a == b ? 1 : 0;
      break;
    case kind::Less:
      result = a < b ? 1 : 0;
      break;
    case kind::Greater:
      result = a > b ? 1 : 0;
      break;
    case kind::IntegerDivide:
      if (b == 0) {
        out.valid = false;
        return true;
      }
      result = TruncateValue(a / b);
      break;
    case kind::Modulo:
      if (b == 0) {
        out.valid = false;
        return true;
      }
      result = std::fmod(a, b);
      break;
    case kind::RandomInteger: {
      const std::int32_t range = b == 0 || !(a > 1) ? 0 : TruncateValue(a);
      // A range whose truncation wraps to 0 (2^32, say) would divide by zero: keep the output,
      // as for a range of 1 or less.
      if (range == 0) {
        return false;
      }
      result = ProcessRandom().Next() % range;
      break;
    }
    default:
      return true;
  }
  out.value = static_cast<float>(result);
  return true;
}

UnaryFunction::UnaryFunction(int kindCode) : Component(kindCode) {
  AddInput(0);
  AddOutput(0);
  lastRow = 1;
  label = ComponentKinds().Label(kindCode, ComponentClass::UnaryFunction);
  Evaluate();
}

bool UnaryFunction::Evaluate() {
  const Port& in = *inputs[0];
  Port& out = *outputs[0];
  out.valid = in.valid;
  if (!out.valid) {
    return true;
  }
  const double a = in.value;
  double result;
  switch (kind) {
    case kind::Not:
      result = a >= 0.5 ? 0 : 1;
      break;
    case kind::Floor:
      result = std::floor(a);
      break;
    case kind::Ceiling:
      result = std::ceil(a);
      break;
    case kind::Log:
      if (a <= 0) {
        out.valid = false;
        return true;
      }
      result = std::log(a);
      break;
    case kind::SquareRoot:
      result = std::sqrt(a);
      break;
    case kind::Sine:
      result = std::sin(a);
      break;
    case kind::Cosine:
      result = std::cos(a);
      break;
    case kind::Absolute:
      result = std::fabs(a);
      break;
    case kind::Tangent:
      result = std::tan(a);
      break;
    case kind::Truncate:
      result = TruncateValue(a);
      break;
    case kind::Sign:
      result = a > 0 ? 1 : (a == 0 ? 0 : -1);
      break;
    case kind::RandomFraction:
      if (a == 0) {
        return false;
      }
      result = ProcessRandom().Next() / 32767.0;
      break;
    case kind::Exp:
      result = std::exp(a);
      break;
    case kind::ArcTangent:
      result = std::atan(a);
      break;
    case kind::Log10:
      if (a <= 0) {
        out.valid = false;
        return true;
      }
      result = std::log10(a);
      break;
    default:
      return true;
  }
  out.value = static_cast<float>(result);
  return true;
}

}  // namespace trivenor
