#pragma once

#include <cmath>
#include <cstdint>
#include <string_view>

#include "model/component_kind.h"
#include "model/number_text.h"
#include "model/random.h"
#include "model/truncation.h"

namespace trivenor {

// What each computing kind does in one pass, written once over any port-like state with the
// fields `value` and `valid`: the components apply these rules to their own ports, the compiled
// plan to its flat array of states. Each returns what Evaluate returns: that something may have
// changed.

/// An undefined result (a division by 0, the logarithm of 0) makes the output invalid; its value
/// stays.
template <class State>
inline bool Undefined(State& out) {
  out.valid = false;
  return true;
}

/// The processor gives a sum or product of two NaNs the first of them, but the compiler may
/// swap the operands of + and *, and does so differently where the rule is built into different
/// loops: the NaN is chosen here, so that every use of the rule gives the same bits.
inline double WithFirstNaN(double a, double b, double result) {
  if (result == result) [[likely]] {
    return result;
  }
  return a != a ? a : (b != b ? b : result);
}

/// Kinds up to 99: the output from inputs a and b; an undefined result makes it invalid.
template <class State>
inline bool TwoInputRule(int kindCode, const State& inA, const State& inB, State& out) {
  out.valid = inA.valid & inB.valid;
  if (!out.valid) {
    return true;
  }
  const double a = inA.value;
  const double b = inB.value;
  double result;
  switch (kindCode) {
    // Sum, difference and product in float give the bits the same operation in double gives
    // once rounded to float (double holds more than twice float's digits), for fewer
    // instructions.
    case kind::Plus:
      result = WithFirstNaN(a, b, inA.value + inB.value);
      break;
    case kind::Minus:
      result = inA.value - inB.value;
      break;
    case kind::Times:
      result = WithFirstNaN(a, b, inA.value * inB.value);
      break;
    case kind::Divide:
      if (b == 0) {
        return Undefined(out);
      }
      result = a / b;
      break;
    case kind::Power:
      if (a < 0) {
        return Undefined(out);
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
        return Undefined(out);
      }
      result = TruncateValue(a / b);
      break;
    case kind::Modulo:
      if (b == 0) {
        return Undefined(out);
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

/// Kinds 100 to 199: the output from input a.
template <class State>
inline bool UnaryRule(int kindCode, const State& in, State& out) {
  out.valid = in.valid;
  if (!out.valid) {
    return true;
  }
  const double a = in.value;
  double result;
  switch (kindCode) {
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
        return Undefined(out);
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
        return Undefined(out);
      }
      result = std::log10(a);
      break;
    default:
      return true;
  }
  out.value = static_cast<float>(result);
  return true;
}

/// A delay of `length` passes through the ring `slots` of `length` - 1 values, read and written
/// at `position`; length 1 passes the input on in the same pass.
template <class State>
inline bool DelayRule(State& in, State& out, float* slots, int length, int& position) {
  bool changed = false;
  out.valid = true;
  if (length > 1) {
    float& slot = slots[position];
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

/// Passes the input on once it has stayed the same for `holdTicks` + 1 passes. Validity is not
/// looked at.
template <class State>
inline bool HazardRule(const State& in, State& out, int& count, float& lastValue, int holdTicks) {
  if (in.value != lastValue) {
    count = 0;
    lastValue = in.value;
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

/// What a constant outputs: its label read as a number.
inline float ConstantValue(std::string_view label) {
  return static_cast<float>(ReadNumber(label));
}

}  // namespace trivenor
