#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "model/junction_sweeps.h"

namespace trivenor {

class Component;
class DelayLine;
class HazardFilter;
class SubCircuit;

/// A port's evaluated state as the plan holds it. The fields carry Port's names, so the same
/// rules apply to both.
struct PortState {
  float value = 0.0f;
  bool valid = true;
  bool fresh = true;
  bool unchanged = true;
  std::uint8_t unused = 0;  ///< always 0, so a whole state compares as one 64-bit word
};

/// A circuit compiled for fast passes: every port of the circuit and of the sub-circuits inside
/// it is a state in one array, and a pass is a short list of steps over flat tables, each step
/// a run of one kind of work: pulls, junction sweeps, one kind of operator, delays, hazard
/// filters, constants, or the components that must stay objects (displays, graphs), which are
/// called through their own code. The steps come in exactly the order in which the objects'
/// own pass does its work, sub-circuits inlined at their place, so a pass computes the same
/// results and draws the same random numbers. Only where nothing can tell the difference are an
/// operator's pulls and its computation fused into one record, run at the end of the pulls,
/// consumers before producers: a chain is then one loop over its parts.
///
/// The object model stays the truth for editing, drawing and files: what the passes changed is
/// written back to it, and whoever changes values outside a pass (Reset) has the plan load them
/// again. A plan holds pointers into the circuit, so it is compiled anew after any change of
/// structure (CircuitPasses sees to both).
class EvaluationPlan {
 public:
  /// The plan of `circuit`, with its state loaded; null when the circuit holds a wire the plan
  /// cannot follow (from a port outside the circuit), which only the objects' pass can run.
  static std::unique_ptr<EvaluationPlan> Compile(SubCircuit& circuit);

  /// One pass, as circuit.Evaluate() makes it. Its results stay in the plan until WriteBack:
  /// the objects must be neither read nor changed in between. The values of the circuit's input
  /// terminals are taken from the objects first: that is where a typed value arrives.
  bool Run();
  /// Gives the objects what the passes since the last write-back have changed.
  void WriteBack();
  /// Takes the whole state from the objects again.
  void LoadState();

  std::size_t StepCount() const { return steps_.size(); }
  /// How many operators take their inputs and compute in one record.
  std::size_t FusedCount() const { return fusedTwoInputs_.size() + fusedUnaries_.size(); }

 private:
  friend class PlanCompiler;

  enum class StepType : std::uint8_t {
    Pulls,
    Junctions,
    TwoInput,
    Unary,
    Delays,
    Hazards,
    Constants,
    Objects,
    FusedTwoInput,
    FusedUnary
  };
  struct Step {
    StepType type;
    int kindCode;  ///< operators only: every part of the step has this kind
    std::uint32_t begin;
    std::uint32_t end;
  };
  /// `source` is a state index, or one of these.
  static constexpr std::int32_t kUnconnected = -1;
  static constexpr std::int32_t kTypedInput = -2;
  struct Pull {
    std::int32_t port;
    std::int32_t source;
  };
  struct TwoInput {
    std::int32_t a;
    std::int32_t b;
    std::int32_t out;
  };
  struct Unary {
    std::int32_t in;
    std::int32_t out;
  };
  /// An operator whose inputs and output are the states `first`, `first` + 1, ...: it pulls its
  /// inputs from the source states and computes at once.
  struct FusedTwoInput {
    std::int32_t sourceA;
    std::int32_t sourceB;
    std::int32_t first;
  };
  struct FusedUnary {
    std::int32_t source;
    std::int32_t first;
  };
  struct Delay {
    std::int32_t in;
    std::int32_t out;
    std::uint32_t ring;  ///< first slot in `rings_`
    std::int32_t length;
    std::int32_t position;
  };
  struct Hazard {
    std::int32_t in;
    std::int32_t out;
    std::int32_t count;
    float lastValue;
    std::int32_t holdTicks;
  };
  struct ConstantOutput {
    std::int32_t out;
    float value;
  };
  /// A component evaluated by its own code; its inputs, then its outputs, are consecutive states.
  struct ObjectCall {
    Component* component;
    std::int32_t firstPort;
  };
  struct JunctionBlock {
    std::uint32_t firstPull;  ///< in `junctionPulls_`, one per junction in list order
    std::int32_t count;
    JunctionGraph graph;
  };

  void RunPulls(const Step& step);
  void RunJunctions(JunctionBlock& block);
  void RunTwoInputs(const Step& step);
  void RunUnaries(const Step& step);
  void RunDelays(const Step& step);
  void RunHazards(const Step& step);
  void RunConstants(const Step& step);
  void RunObjects(const Step& step);
  void RunFusedTwoInputs(const Step& step);
  void RunFusedUnaries(const Step& step);
  /// The objects take state `index`; the state from the objects.
  void GiveState(std::size_t index);
  void PortToState(std::size_t index);

  std::vector<PortState> states_;
  std::vector<PortState> given_;  ///< what the objects' ports hold, as far as the plan knows
  std::vector<Port*> ports_;
  std::vector<std::int32_t> typedInputs_;
  std::vector<Step> steps_;
  std::vector<Pull> pulls_;
  std::vector<Pull> junctionPulls_;
  std::vector<JunctionBlock> junctionBlocks_;
  std::vector<TwoInput> twoInputs_;
  std::vector<Unary> unaries_;
  std::vector<FusedTwoInput> fusedTwoInputs_;
  std::vector<FusedUnary> fusedUnaries_;
  std::vector<Delay> delays_;
  std::vector<DelayLine*> delayObjects_;
  std::vector<float> rings_;
  std::vector<Hazard> hazards_;
  std::vector<HazardFilter*> hazardObjects_;
  std::vector<ConstantOutput> constants_;
  std::vector<ObjectCall> objects_;
  /// Every circuit inlined, the top one first: their `lastRow` is set as their own pass sets it.
  std::vector<SubCircuit*> circuits_;
  JunctionSweeps sweeps_;
  int passesNotWritten_ = 0;
  bool hasOutputs_ = false;
};

}  // namespace trivenor
