#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <limits>
#include <string>

#include "model/component_kind.h"
#include "model/operators.h"
#include "model/random.h"
#include "model/sub_circuit.h"
#include "model/truncation.h"

namespace trivenor {
namespace {

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kTwoTo32 = 4294967296.0f;
// The nearest float above 2^32 (floats are 512 apart there); truncated it keeps only 512.
constexpr float kTwoTo32Plus512 = 4294967808.0f;
// 3e9 is a float; as a signed 32-bit integer it wraps to 3e9 - 2^32.
constexpr float kThreeBillion = 3e9f;
const float kThreeBillionWrapped = static_cast<float>(3000000000.0 - 4294967296.0);
constexpr float kInvalid = -12345.0f;  // marks "output must be invalid" in the tables

::testing::AssertionResult OutputIs(float expected, const Port& out) {
  if (expected == kInvalid) {
    if (!out.valid)
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "expected invalid, got valid " << out.value;
  }
  if (!out.valid)
    return ::testing::AssertionFailure() << "expected " << expected << ", invalid";
  if (std::isnan(expected) ? std::isnan(out.value) : expected == out.value) {
    return ::testing::AssertionSuccess();
  }
  return ::testing::AssertionFailure() << "expected " << expected << ", got " << out.value;
}

bool EvaluateWith(Component& component, float a, float b = 0.0f, bool aValid = true,
                  bool bValid = true) {
  component.inputs[0]->value = a;
  component.inputs[0]->valid = aValid;
  if (component.inputs.size() > 1) {
    component.inputs[1]->value = b;
    component.inputs[1]->valid = bValid;
  }
  return component.Evaluate();
}

struct BinaryCase {
  int code;
  float a, b, expected;
};

TEST(TwoInputOperator, ComputesEveryKindInDoublePrecision) {
  // clang-format off
  const BinaryCase cases[] = {
      {kind::Plus, 1.5f, 2.25f, 3.75f}, {kind::Plus, 16777216, 1, 16777216},  // stored as float
      {kind::Minus, 1, 3, -2}, {kind::Times, -2, 3.5f, -7}, {kind::Times, 1e30f, 1e30f, kInf},
      {kind::Divide, 7, 2, 3.5f}, {kind::Divide, 1, 3, static_cast<float>(1.0 / 3.0)},
      {kind::Divide, 1, 0, kInvalid}, {kind::Divide, 1, -0.0f, kInvalid},
      {kind::Divide, 0, 0, kInvalid},
      {kind::Power, 2, 0.5f, static_cast<float>(std::sqrt(2.0))}, {kind::Power, 0, -1, kInf},
      {kind::Power, -8, 1.0f / 3.0f, kInvalid}, {kind::Power, -8, 2, kInvalid},
      {kind::Power, -0.0f, 0.5f, 0}, {kind::Power, 10, 100, kInf},
      {kind::Power, kNaN, 2, kNaN}, {kind::Power, kNaN, 0, 1},  // a NaN base is not negative
      {kind::And, 3, 5, 1}, {kind::And, 2, 1, 0}, {kind::And, 2.9f, 3.7f, 2},
      {kind::And, -2.5f, 7, 6}, {kind::And, kTwoTo32Plus512, 1023, 512},
      {kind::Or, 3, 5, 7}, {kind::Or, 2.9f, 4.2f, 6}, {kind::Or, -1, 0, -1},
      {kind::Or, kNaN, 5, 5}, {kind::Or, kInf, 4, 4},
      {kind::Equal, 0.1f, 0.1f, 1}, {kind::Equal, 1, 2, 0}, {kind::Equal, 0, -0.0f, 1},
      {kind::Equal, kNaN, kNaN, 0},
      {kind::Less, 1, 2, 1}, {kind::Less, 2, 1, 0}, {kind::Less, 1, 1, 0},
      {kind::Less, kNaN, 1, 0}, {kind::Less, 1, kNaN, 0},
      {kind::Greater, 2, 1, 1}, {kind::Greater, 1, 1, 0}, {kind::Greater, kNaN, 1, 0},
      {kind::Greater, 1, kNaN, 0},
      {kind::IntegerDivide, -7, 2, -3}, {kind::IntegerDivide, 7, 2, 3},
      {kind::IntegerDivide, 7, -2, -3}, {kind::IntegerDivide, 7, 0, kInvalid},
      {kind::IntegerDivide, kNaN, 1, 0}, {kind::IntegerDivide, kInf, 1, 0},
      {kind::IntegerDivide, 1e10f, 1, 1410065408},  // the low 32 bits of 10^10
      {kind::IntegerDivide, kThreeBillion, 1, kThreeBillionWrapped},
      {kind::Modulo, -7, 3, -1}, {kind::Modulo, 7, -3, 1}, {kind::Modulo, 5.5f, 2, 1.5f},
      {kind::Modulo, 5, 0, kInvalid},
  };
  // clang-format on
  for (const BinaryCase& c : cases) {
    TwoInputOperator op(c.code);
    EXPECT_TRUE(EvaluateWith(op, c.a, c.b));
    EXPECT_TRUE(OutputIs(c.expected, *op.outputs[0]))
        << op.label << " of " << c.a << " and " << c.b;
  }
}

// The rule adds, subtracts and multiplies in float for speed; the result must stay the bits of
// the operation in double rounded to float, across the whole range: subnormals, overflow to
// infinity, signed zeros, operands of far apart size.
TEST(TwoInputOperator, SumDifferenceAndProductAreThoseOfDoublePrecision) {
  std::uint32_t draw = 2463534242u;
  const auto next = [&draw] {
    draw ^= draw << 13;
    draw ^= draw >> 17;
    draw ^= draw << 5;
    return draw;
  };
  // Near each other in size half of the time, so that sums cancel and round at every digit.
  const auto randomFloat = [&next](std::uint32_t near) {
    const std::uint32_t bits = next() % 2 == 0 ? next() : near + (next() % 64) - 32;
    return std::bit_cast<float>(bits);
  };
  TwoInputOperator plus(kind::Plus), minus(kind::Minus), times(kind::Times);
  int compared = 0;
  for (int i = 0; i < 300000; ++i) {
    const float a = randomFloat(next());
    const float b = randomFloat(std::bit_cast<std::uint32_t>(a));
    if (std::isnan(a) || std::isnan(b)) {
      continue;
    }
    const struct {
      TwoInputOperator& op;
      double exact;
    } checks[] = {{plus, double{a} + double{b}},
                  {minus, double{a} - double{b}},
                  {times, double{a} * double{b}}};
    for (const auto& check : checks) {
      EvaluateWith(check.op, a, b);
      const float expected = static_cast<float>(check.exact);
      if (std::isnan(expected)) {
        ASSERT_TRUE(std::isnan(check.op.outputs[0]->value));
        continue;
      }
      ASSERT_EQ(std::bit_cast<std::uint32_t>(expected),
                std::bit_cast<std::uint32_t>(check.op.outputs[0]->value))
          << check.op.label << " of " << a << " and " << b;
      ++compared;
    }
  }
  EXPECT_GT(compared, 800000);
}

TEST(TwoInputOperator, RecoversOnceTheDivisorIsNoLongerZero) {
  TwoInputOperator op(kind::Divide);
  EvaluateWith(op, 5, 0);
  EXPECT_FALSE(op.outputs[0]->valid);
  EvaluateWith(op, 5, 2);
  EXPECT_TRUE(OutputIs(2.5f, *op.outputs[0]));
}

// Which of two NaNs a sum or product keeps must not depend on how the compiler ordered the
// operands, or the editor and the runner could show different signs of the same NaN.
TEST(TwoInputOperator, SumAndProductOfTwoNaNsKeepTheFirst) {
  const float negativeNaN = -kNaN;
  for (const int code : {kind::Plus, kind::Times}) {
    for (const bool negativeFirst : {false, true}) {
      TwoInputOperator op(code);
      EvaluateWith(op, negativeFirst ? negativeNaN : kNaN, negativeFirst ? kNaN : negativeNaN);
      EXPECT_EQ(negativeFirst, std::signbit(op.outputs[0]->value)) << "kind " << code;
    }
  }
}

TEST(TwoInputOperator, InvalidInputMakesTheOutputInvalidAndKeepsItsValue) {
  for (int code = 0; code <= 14; ++code) {
    for (const bool aValid : {false, true}) {
      SCOPED_TRACE("kind " + std::to_string(code) + (aValid ? ", b invalid" : ", a invalid"));
      TwoInputOperator op(code);
      op.outputs[0]->value = 42;
      EXPECT_TRUE(EvaluateWith(op, 8, 2, aValid, !aValid));
      EXPECT_FALSE(op.outputs[0]->valid);
      EXPECT_EQ(42.0f, op.outputs[0]->value);
    }
  }
}

TEST(OperatorsOutsideTheTable, OnlyCopyTheValidity) {
  TwoInputOperator op(50);
  UnaryFunction function(150);
  for (Component* component : {static_cast<Component*>(&op), static_cast<Component*>(&function)}) {
    SCOPED_TRACE("kind " + std::to_string(component->kind));
    EXPECT_EQ("", component->label);
    Port& out = *component->outputs[0];
    out.value = 42;
    EXPECT_TRUE(EvaluateWith(*component, 3, 4));
    EXPECT_TRUE(OutputIs(42, out));
    EXPECT_TRUE(EvaluateWith(*component, 3, 4, false, true));
    EXPECT_FALSE(out.valid);
    EXPECT_EQ(42.0f, out.value);
  }
}

struct UnaryCase {
  int code;
  float a, expected;
};

TEST(UnaryFunction, ComputesEveryKind) {
  // clang-format off
  const UnaryCase cases[] = {
      {kind::Not, 0.4f, 1}, {kind::Not, 0.5f, 0}, {kind::Not, 0.49999997f, 1},
      {kind::Not, -3, 1}, {kind::Not, 2, 0}, {kind::Not, kNaN, 1},
      {kind::Floor, -2.5f, -3}, {kind::Floor, 2.5f, 2},
      {kind::Ceiling, -2.5f, -2}, {kind::Ceiling, 2.1f, 3},
      {kind::Log, 2, static_cast<float>(std::log(2.0))}, {kind::Log, kNaN, kNaN},
      {kind::Log, 0, kInvalid}, {kind::Log, -1, kInvalid},
      {kind::SquareRoot, 2, static_cast<float>(std::sqrt(2.0))},
      {kind::SquareRoot, -4, kNaN},  // no check: NaN, and valid
      {kind::Sine, 0, 0}, {kind::Sine, 1, static_cast<float>(std::sin(1.0))},
      {kind::Cosine, 0, 1}, {kind::Absolute, -3, 3},
      {kind::Tangent, 1, static_cast<float>(std::tan(1.0))},
      {kind::Truncate, -2.7f, -2}, {kind::Truncate, 2.7f, 2},
      {kind::Truncate, kTwoTo32Plus512, 512}, {kind::Truncate, kThreeBillion, kThreeBillionWrapped},
      {kind::Truncate, kNaN, 0}, {kind::Truncate, kInf, 0}, {kind::Truncate, -kInf, 0},
      {kind::Truncate, 1e19f, 0}, {kind::Truncate, -1e19f, 0},
      {kind::Sign, 5, 1}, {kind::Sign, -5, -1}, {kind::Sign, 0, 0}, {kind::Sign, -0.0f, 0},
      {kind::Sign, kNaN, -1},
      {kind::Exp, 0, 1}, {kind::Exp, 1, static_cast<float>(std::exp(1.0))}, {kind::Exp, 100, kInf},
      {kind::ArcTangent, 1, static_cast<float>(std::atan(1.0))},
      {kind::Log10, 100, 2}, {kind::Log10, 0, kInvalid}, {kind::Log10, -5, kInvalid},
  };
  // clang-format on
  for (const UnaryCase& c : cases) {
    UnaryFunction function(c.code);
    EXPECT_TRUE(EvaluateWith(function, c.a));
    EXPECT_TRUE(OutputIs(c.expected, *function.outputs[0])) << function.label << " of " << c.a;
  }
}

TEST(UnaryFunction, InvalidInputMakesTheOutputInvalidAndKeepsItsValue) {
  for (int code = kind::Not; code <= kind::Log10 + 1; ++code) {
    SCOPED_TRACE("kind " + std::to_string(code));
    UnaryFunction function(code);
    function.outputs[0]->value = 42;
    EXPECT_TRUE(EvaluateWith(function, 1, 0, false));
    EXPECT_FALSE(function.outputs[0]->valid);
    EXPECT_EQ(42.0f, function.outputs[0]->value);
  }
}

TEST(Truncation, CutsTowardZeroAndKeepsTheLow32Bits) {
  const struct {
    double value;
    std::int32_t expected;
  } cases[] = {
      {2.9, 2},
      {-2.9, -2},
      {4294967296.0 + 5, 5},
      {3e9, -1294967296},
      {-4294967296.0 - 7.5, -7},
      {2147483648.0, std::numeric_limits<std::int32_t>::min()},
      {9.2e18, static_cast<std::int32_t>(static_cast<std::uint32_t>(9200000000000000000ull))},
      // Beyond the 64-bit range or not a number at all: 0, without an undefined conversion.
      {std::nan(""), 0},
      {std::numeric_limits<double>::infinity(), 0},
      {-std::numeric_limits<double>::infinity(), 0},
      {1e19, 0},
      {-1e19, 0},
      {9223372036854775808.0, 0}};
  for (const auto& c : cases) {
    EXPECT_EQ(c.expected, TruncateValue(c.value)) << c.value;
  }
}

TEST(RandomGenerator, FollowsTheLinearCongruentialRule) {
  RandomGenerator generator;
  generator.SetState(1);
  for (const int expected : {41, 18467, 6334, 26500, 19169}) {
    EXPECT_EQ(expected, generator.Next());
  }
  // The state wraps modulo 2^32 and the result is bits 16 to 30 of the new state.
  generator.SetState(0xFFFFFFFFu);
  const std::uint32_t next = 0xFFFFFFFFu * 214013u + 2531011u;
  EXPECT_EQ(static_cast<int>((next >> 16) & 0x7FFF), generator.Next());
}

TEST(RandomGenerator, TheProcessOneKeepsItsOwnSequenceAndEveryNewCircuitRestartsIt) {
  ProcessRandom().SetState(1);
  RandomGenerator elsewhere;
  elsewhere.Next();
  EXPECT_EQ(41, ProcessRandom().Next()) << "another generator drew from the process's sequence";

  const auto before = static_cast<std::uint32_t>(std::time(nullptr));
  const SubCircuit circuit;
  const auto after = static_cast<std::uint32_t>(std::time(nullptr));
  const int drawn = ProcessRandom().Next();
  RandomGenerator atBefore;
  atBefore.SetState(before);
  RandomGenerator atAfter;
  atAfter.SetState(after);
  EXPECT_TRUE(drawn == atBefore.Next() || drawn == atAfter.Next()) << drawn;
}

TEST(RandomInteger, DrawsWholeNumbersBelowTheTruncatedRange) {
  TwoInputOperator op(kind::RandomInteger);
  ProcessRandom().SetState(1);
  for (const float expected : {41 % 6, 18467 % 6, 6334 % 6, 26500 % 6, 19169 % 6}) {
    EXPECT_TRUE(EvaluateWith(op, 6.9f, 1));
    EXPECT_TRUE(OutputIs(expected, *op.outputs[0]));
  }
  for (int i = 0; i < 500; ++i) {
    EvaluateWith(op, 6, -1);
    const float value = op.outputs[0]->value;
    ASSERT_TRUE(value >= 0 && value <= 5 && value == std::floor(value)) << value;
  }
  ProcessRandom().SetState(1);
  EvaluateWith(op, 1.5f, 1);
  EXPECT_TRUE(OutputIs(0, *op.outputs[0])) << "a range just above 1 truncates to 1";
  EvaluateWith(op, kTwoTo32Plus512, 1);
  EXPECT_TRUE(OutputIs(18467 % 512, *op.outputs[0])) << "the range wraps to 512";
}

TEST(RandomInteger, KeepsItsOutputWhileDisabledOrWithoutARange) {
  const struct {
    float range, enable;
  } cases[] = {{6, 0},
               {6, -0.0f},
               {1, 1},
               {0.5f, 1},
               {-3, 1},
               {kNaN, 1},
               // Ranges whose truncation has the low 32 bits 0 would otherwise divide by zero.
               {kTwoTo32, 1},
               {1099511627776.0f, 1}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "range " << c.range << ", enable " << c.enable);
    TwoInputOperator op(kind::RandomInteger);
    op.outputs[0]->value = 3;
    ProcessRandom().SetState(1);
    EXPECT_FALSE(EvaluateWith(op, c.range, c.enable));
    EXPECT_TRUE(OutputIs(3, *op.outputs[0]));
    EXPECT_EQ(41, ProcessRandom().Next()) << "no number was drawn";
  }
}

TEST(RandomFraction, DrawsFractionsOfTheFifteenBitRangeWhileEnabled) {
  UnaryFunction function(kind::RandomFraction);
  ProcessRandom().SetState(1);
  EXPECT_TRUE(EvaluateWith(function, 1));
  EXPECT_TRUE(OutputIs(static_cast<float>(41 / 32767.0), *function.outputs[0]));
  EXPECT_TRUE(EvaluateWith(function, kNaN)) << "NaN is not 0, so it enables";
  EXPECT_TRUE(OutputIs(static_cast<float>(18467 / 32767.0), *function.outputs[0]));

  for (const float enable : {0.0f, -0.0f}) {
    EXPECT_FALSE(EvaluateWith(function, enable));
    EXPECT_TRUE(OutputIs(static_cast<float>(18467 / 32767.0), *function.outputs[0]));
  }
  EXPECT_EQ(6334, ProcessRandom().Next()) << "a disabled source draws no number";
}

}  // namespace
}  // namespace trivenor
