#pragma once

#include <memory>
#include "model/component.h"

namespace trivenor {

/// Kinds up to 99: inputs a (row 0) and b (row 1), one output.
class TwoInputOperator final : public Component {
 public:
  explicit TwoInputOperator(int kindCode);
  std::unique_ptr<Component> Clone() const override {
    return std::make_unique<TwoInputOperator>(*this);
  }
  bool Evaluate() override;
};

/// Kinds 100 to 199: input a, one output.
class UnaryFunction final : public Component {
 public:
  explicit UnaryFunction(int kindCode);
  std::unique_ptr<Component> Clone() const override {
    return std::make_unique<UnaryFunction>(*this);
  }
  bool Evaluate() override;
};

}  // namespace trivenor
