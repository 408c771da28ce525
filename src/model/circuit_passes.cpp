#include "model/circuit_passes.h"

#include "model/evaluation_plan.h"

namespace trivenor {

CircuitPasses::CircuitPasses(SubCircuit& circuit) : circuit_(circuit) {}

CircuitPasses::~CircuitPasses() = default;

bool CircuitPasses::RunPass() {
  CompileIfChanged();
  if (plan_ == nullptr) {
    return circuit_.Evaluate();
  }
  const bool hasOutputs = plan_->Run();
  plan_->WriteBack();
  return hasOutputs;
}

void CircuitPasses::RunPasses(std::uint64_t count) {
  if (count == 0) {
    return;  // nothing runs, so there is nothing to compile or to write back
  }
  CompileIfChanged();
  for (std::uint64_t i = 0; i < count; ++i) {
    if (plan_ != nullptr) {
      plan_->Run();
    } else {
      circuit_.Evaluate();
    }
  }
  if (plan_ != nullptr) {
    plan_->WriteBack();
  }
}

void CircuitPasses::Reset() {
  circuit_.Reset();
  if (plan_ != nullptr && Current()) {
    plan_->LoadState();
  }
}

void CircuitPasses::CompileIfChanged() {
  if (!Current()) {
    plan_ = EvaluationPlan::Compile(circuit_);
    compiledVersion_ = circuit_.structureVersion;
  }
}

}  // namespace trivenor
