#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "model/sub_circuit.h"

namespace trivenor {

class EvaluationPlan;

/// Runs the passes of one circuit through its compiled plan. The document's clock and the
/// runner make every pass here rather than with circuit.Evaluate(), and reset here: the plan
/// keeps the values between passes and must hear of a Reset.
///
/// The plan is compiled before the first pass and again whenever the circuit's structure
/// version has moved on since. A circuit the plan cannot take runs the objects' own pass.
class CircuitPasses {
 public:
  explicit CircuitPasses(SubCircuit& circuit);
  ~CircuitPasses();
  CircuitPasses(const CircuitPasses&) = delete;
  CircuitPasses& operator=(const CircuitPasses&) = delete;

  /// One pass; true when the circuit has output terminals (what Evaluate returns).
  bool RunPass();
  /// `count` passes, the objects brought up to date only after the last: the runner's way.
  void RunPasses(std::uint64_t count);
  /// The circuit's Reset: every value back to 0.
  void Reset();

  /// The plan the passes run on now, or null (for benchmarks and tests).
  const EvaluationPlan* plan() const { return plan_.get(); }

 private:
  bool Current() const { return compiledVersion_ == circuit_.structureVersion; }
  void CompileIfChanged();

  SubCircuit& circuit_;
  std::unique_ptr<EvaluationPlan> plan_;
  /// The structure version the plan was compiled at; none before the first pass.
  std::optional<std::uint64_t> compiledVersion_;
};

}  // namespace trivenor
