#pragma once

#include "model/component.h"

namespace trivenor {

/// Kinds up to 99: inputs a (row 0) and b (row 1), one output.
class TwoInputOperator final : public Component {
 public:
  explicit TwoInputOperator(int kindCode);
  bool Evaluate() override;
};

/// Kinds 100 to 199: input a, one output.
class UnaryFunction final : public Component {
 public:
  explicit UnaryFunction(int kindCode);
  bool Evaluate() override;
};

}  // namespace trivenor
