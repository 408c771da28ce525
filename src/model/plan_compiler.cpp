#include <algorithm>
#include <cstdint>
#include <optional>
#include <typeinfo>
#include <utility>

#include "model/constant.h"
#include "model/delay_line.h"
#include "model/evaluation_plan.h"
#include "model/hazard_filter.h"
#include "model/kind_rules.h"
#include "model/operators.h"
#include "model/port_index.h"
#include "model/sub_circuit.h"

namespace trivenor {

/// Lays a circuit out as a plan: numbers every port, then walks the circuit in the order of the
/// objects' own pass and appends one record per piece of work, merging each record into the step
/// before it where that step does the same kind of work.
class PlanCompiler {
 public:
  explicit PlanCompiler(EvaluationPlan& plan) : plan_(plan) {}

  bool Compile(SubCircuit& top);

 private:
  using Plan = EvaluationPlan;

  /// Who pulls a port: within a circuit, the inputs of its components that are not
  /// sub-circuits, its junctions and its output terminals pull at fixed places in its pass;
  /// anyone else (a sub-circuit's input terminal, pulled once more inside its own pass) is a
  /// reader the fusing must not move past.
  enum class Reader : std::uint8_t { InLevel, Other };
  struct Place {
    std::uint32_t circuit : 31;
    std::uint32_t otherReader : 1;
  };
  /// What the fusing must know of each state.
  enum Flag : std::uint8_t {
    kFeedsAPull = 1,           ///< some pull takes its value from it
    kReadOutsideItsLevel = 2,  ///< a reader other than InLevel ones of its own circuit pulls it
    kFused = 4,                ///< the first input of a fused operator
    kPulledNow = 8,            ///< pulled in the first half of the circuit being compiled
  };

  void Number(Component& component, std::uint32_t circuit);
  void NumberCircuit(SubCircuit& circuit);
  void Add(Port& port, std::uint32_t circuit, Reader reader);
  void FlagReaders();
  std::int32_t IndexOf(const Port& port) const;
  /// The pull of `port`; false when its source is not in the plan.
  bool PullOf(const Port& port, Plan::Pull& pull) const;

  bool CircuitPass(SubCircuit& circuit);
  /// Marks the states the first half of a circuit's pass pulls (see UpdateInputs), or clears
  /// the mark.
  void MarkPulledInputs(Component& component, bool pulled);
  /// The operators of `circuit` whose pulls and computation can run as one at the end of the
  /// pulls, in the order they must run there; marks them kFused.
  std::vector<Component*> FusedOperators(SubCircuit& circuit);
  bool Fusable(const Component& component) const;
  bool IsFused(const Component& component) const;
  void AppendFused(const Component& component);
  bool UpdateInputs(Component& component);
  bool Pulls(const PortList& ports);
  bool Junctions(SubCircuit& circuit);
  bool Evaluate(Component& component);
  /// The kinds the plan computes itself; false for a component it leaves to its own code.
  bool Kernel(Component& component);
  void Object(Component& component);

  template <class Record>
  void Append(std::vector<Record>& table, Record record, Plan::StepType type, int kindCode = 0);
  void AddStep(Plan::StepType type, int kindCode, std::size_t begin, std::size_t end);

  EvaluationPlan& plan_;
  std::optional<PortIndex> index_;
  std::vector<Place> places_;  ///< of each state
  std::vector<std::uint8_t> flags_;
  std::uint32_t circuitCount_ = 0;
};

std::unique_ptr<EvaluationPlan> EvaluationPlan::Compile(SubCircuit& circuit) {
  auto plan = std::make_unique<EvaluationPlan>();
  if (!PlanCompiler(*plan).Compile(circuit)) {
    return nullptr;
  }
  plan->LoadState();
  return plan;
}

namespace {

/// `component` as a `Kind`, or null. Every component class is final, so comparing the exact
/// type answers as dynamic_cast would, for less.
template <class Kind>
Kind* As(Component& component) {
  return typeid(component) == typeid(Kind) ? static_cast<Kind*>(&component) : nullptr;
}

}  // namespace

bool PlanCompiler::Compile(SubCircuit& top) {
  NumberCircuit(top);
  index_.emplace(plan_.ports_);
  const std::size_t count = plan_.ports_.size();
  plan_.states_.resize(count);
  plan_.given_.resize(count);
  flags_.assign(count, 0);
  FlagReaders();
  for (const auto& port : top.inputs) {
    plan_.typedInputs_.push_back(IndexOf(*port));
  }
  plan_.hasOutputs_ = !top.outputs.empty();
  return CircuitPass(top);
}

// A circuit's ports: input terminals, the components in list order (each with its inputs before
// its outputs, which lets an object call find them together), the junctions, output terminals.
void PlanCompiler::NumberCircuit(SubCircuit& circuit) {
  const std::uint32_t number = ++circuitCount_;
  for (auto& port : circuit.inputs) {
    Add(*port, number, Reader::Other);
  }
  for (auto& component : circuit.components) {
    Number(*component, number);
  }
  for (auto& junction : circuit.junctions) {
    Add(junction->port, number, Reader::InLevel);
  }
  for (auto& port : circuit.outputs) {
    Add(*port, number, Reader::InLevel);
  }
}

void PlanCompiler::Number(Component& component, std::uint32_t circuit) {
  if (auto* inner = As<SubCircuit>(component)) {
    NumberCircuit(*inner);
    return;
  }
  for (auto& port : component.inputs) {
    Add(*port, circuit, Reader::InLevel);
  }
  for (auto& port : component.outputs) {
    Add(*port, circuit, Reader::InLevel);
  }
}

void PlanCompiler::Add(Port& port, std::uint32_t circuit, Reader reader) {
  plan_.ports_.push_back(&port);
  places_.push_back({circuit, reader == Reader::Other});
}

void PlanCompiler::FlagReaders() {
  for (std::size_t index = 0; index < plan_.ports_.size(); ++index) {
    const Port& port = *plan_.ports_[index];
    if (port.role == PortRole::CircuitInput || port.source == nullptr) {
      continue;  // takes the typed value or 0, not a source's
    }
    const std::int32_t source = IndexOf(*port.source);
    if (source == Plan::kUnconnected) {
      continue;  // the plan is not made at all
    }
    flags_[source] |= kFeedsAPull;
    if (places_[index].otherReader || places_[index].circuit != places_[source].circuit) {
      flags_[source] |= kReadOutsideItsLevel;
    }
  }
}

std::int32_t PlanCompiler::IndexOf(const Port& port) const {
  const std::int32_t index = index_->Find(&port);
  return index >= 0 ? index : Plan::kUnconnected;
}

bool PlanCompiler::PullOf(const Port& port, Plan::Pull& pull) const {
  pull.port = IndexOf(port);
  if (port.role == PortRole::CircuitInput) {
    pull.source = Plan::kTypedInput;
  } else if (port.source == nullptr) {
    pull.source = Plan::kUnconnected;
  } else {
    pull.source = IndexOf(*port.source);
    return pull.source != Plan::kUnconnected;
  }
  return true;
}

// The steps of SubCircuit::Evaluate, in its order, but for the fused operators: their pulls and
// their computation move to the end of the first half.
bool PlanCompiler::CircuitPass(SubCircuit& circuit) {
  plan_.circuits_.push_back(&circuit);
  if (!Pulls(circuit.inputs) || !Junctions(circuit)) {
    return false;
  }
  const std::vector<Component*> fused = FusedOperators(circuit);
  for (auto& component : circuit.components) {
    if (!IsFused(*component) && !UpdateInputs(*component)) {
      return false;
    }
  }
  for (const Component* component : fused) {
    AppendFused(*component);
  }
  for (auto& component : circuit.components) {
    if (!IsFused(*component) && !Evaluate(*component)) {
      return false;
    }
  }
  return Pulls(circuit.outputs);
}

void PlanCompiler::MarkPulledInputs(Component& component, bool pulled) {
  for (const auto& port : component.inputs) {
    std::uint8_t& flags = flags_[IndexOf(*port)];
    flags = pulled ? flags | kPulledNow : flags & ~kPulledNow;
  }
  if (auto* circuit = As<SubCircuit>(component)) {
    for (auto& inner : circuit->components) {
      MarkPulledInputs(*inner, pulled);
    }
  }
}

// An operator's pulls may move from their place among the first half's pulls to its end, and
// its computation from its place in the second half to the same point, when no one can tell:
// no pull of the first half writes its sources, no pull reads its inputs, and its output is read
// only by pulls that come before that point (the first half of its circuit, outer first halves)
// or after the whole second half (junctions and output terminals, at the next pass or at the
// end of this one). Among the fused operators, each consumer runs before its producers, so it
// still reads the value of the pass before; operators on a ring of fused ones stay as they were.
std::vector<Component*> PlanCompiler::FusedOperators(SubCircuit& circuit) {
  for (auto& component : circuit.components) {
    MarkPulledInputs(*component, true);
  }
  std::vector<Component*> candidates;
  candidates.reserve(circuit.components.size());
  // Their outputs, ascending as the states are numbered in list order.
  std::vector<std::int32_t> outputs;
  outputs.reserve(circuit.components.size());
  for (auto& component : circuit.components) {
    if (Fusable(*component)) {
      candidates.push_back(component.get());
      outputs.push_back(IndexOf(*component->outputs[0]));
    }
  }
  for (auto& component : circuit.components) {
    MarkPulledInputs(*component, false);
  }
  const auto producerOf = [&outputs](std::int32_t index) -> std::int32_t {
    const auto found = std::lower_bound(outputs.begin(), outputs.end(), index);
    return found != outputs.end() && *found == index
               ? static_cast<std::int32_t>(found - outputs.begin())
               : -1;
  };
  // producers[2 k], producers[2 k + 1]: the candidates whose outputs candidate k reads.
  std::vector<std::int32_t> producers(2 * candidates.size(), -1);
  std::vector<std::int32_t> consumersLeft(candidates.size(), 0);
  for (std::size_t k = 0; k < candidates.size(); ++k) {
    for (std::size_t i = 0; i < candidates[k]->inputs.size(); ++i) {
      const Port* source = candidates[k]->inputs[i]->source;
      const std::int32_t producer = source != nullptr ? producerOf(IndexOf(*source)) : -1;
      if (producer >= 0 && producer != static_cast<std::int32_t>(k)) {
        producers[2 * k + i] = producer;
        ++consumersLeft[static_cast<std::size_t>(producer)];
      }
    }
  }
  std::vector<std::int32_t> ready;
  ready.reserve(candidates.size());
  for (std::size_t k = candidates.size(); k-- > 0;) {
    if (consumersLeft[k] == 0) {
      ready.push_back(static_cast<std::int32_t>(k));
    }
  }
  std::vector<Component*> order;
  order.reserve(candidates.size());
  while (!ready.empty()) {
    const auto k = static_cast<std::size_t>(ready.back());
    ready.pop_back();
    order.push_back(candidates[k]);
    flags_[IndexOf(*candidates[k]->inputs[0])] |= kFused;
    for (std::size_t i = 0; i < 2; ++i) {
      const std::int32_t producer = producers[2 * k + i];
      if (producer >= 0 && --consumersLeft[static_cast<std::size_t>(producer)] == 0) {
        ready.push_back(producer);
      }
    }
  }
  return order;
}

// Random operators draw in list order, so they keep their place; an unconnected input has a
// rule of its own, which the fused loops leave out.
bool PlanCompiler::Fusable(const Component& component) const {
  const std::size_t inputs = component.inputs.size();
  const bool twoInput = typeid(component) == typeid(TwoInputOperator) && inputs == 2 &&
                        component.kind != kind::RandomInteger;
  const bool unary = typeid(component) == typeid(UnaryFunction) && inputs == 1 &&
                     component.kind != kind::RandomFraction;
  if ((!twoInput && !unary) || component.outputs.size() != 1 ||
      (flags_[IndexOf(*component.outputs[0])] & kReadOutsideItsLevel) != 0) {
    return false;
  }
  for (const auto& port : component.inputs) {
    Plan::Pull pull;
    if (!PullOf(*port, pull) || (flags_[pull.port] & kFeedsAPull) != 0 || pull.source < 0 ||
        (flags_[pull.source] & kPulledNow) != 0) {
      return false;
    }
  }
  return true;
}

bool PlanCompiler::IsFused(const Component& component) const {
  return !component.inputs.empty() && (flags_[IndexOf(*component.inputs[0])] & kFused) != 0;
}

// The inputs and the output are consecutive states (see Number).
void PlanCompiler::AppendFused(const Component& component) {
  Plan::Pull a;
  PullOf(*component.inputs[0], a);
  if (component.inputs.size() == 2) {
    Plan::Pull b;
    PullOf(*component.inputs[1], b);
    Append(plan_.fusedTwoInputs_, {a.source, b.source, a.port}, Plan::StepType::FusedTwoInput,
           component.kind);
  } else {
    Append(plan_.fusedUnaries_, {a.source, a.port}, Plan::StepType::FusedUnary, component.kind);
  }
}

bool PlanCompiler::UpdateInputs(Component& component) {
  if (!Pulls(component.inputs)) {
    return false;
  }
  if (auto* circuit = As<SubCircuit>(component)) {
    for (auto& inner : circuit->components) {
      if (!UpdateInputs(*inner)) {
        return false;
      }
    }
  }
  return true;
}

bool PlanCompiler::Pulls(const PortList& ports) {
  for (const auto& port : ports) {
    Plan::Pull pull;
    if (!PullOf(*port, pull)) {
      return false;
    }
    Append(plan_.pulls_, pull, Plan::StepType::Pulls);
  }
  return true;
}

bool PlanCompiler::Junctions(SubCircuit& circuit) {
  if (circuit.junctions.empty()) {
    return true;
  }
  const auto count = static_cast<std::int32_t>(circuit.junctions.size());
  const std::int32_t first = IndexOf(circuit.junctions.front()->port);
  Plan::JunctionBlock block{static_cast<std::uint32_t>(plan_.junctionPulls_.size()), count, {}};
  for (const auto& junction : circuit.junctions) {
    Plan::Pull pull;
    if (!PullOf(junction->port, pull)) {
      return false;
    }
    plan_.junctionPulls_.push_back(pull);
  }
  // The junctions of a circuit are numbered one after the other.
  const Plan::Pull* pulls = plan_.junctionPulls_.data() + block.firstPull;
  block.graph.Build(count, [pulls, first, count](int index) {
    const std::int32_t source = pulls[index].source - first;
    return source >= 0 && source < count ? source : -1;
  });
  const std::size_t at = plan_.junctionBlocks_.size();
  plan_.junctionBlocks_.push_back(std::move(block));
  AddStep(Plan::StepType::Junctions, 0, at, at + 1);
  return true;
}

bool PlanCompiler::Evaluate(Component& component) {
  if (auto* circuit = As<SubCircuit>(component)) {
    return CircuitPass(*circuit);
  }
  if (!Kernel(component)) {
    Object(component);
  }
  return true;
}

bool PlanCompiler::Kernel(Component& component) {
  const std::size_t inputs = component.inputs.size();
  if (component.outputs.size() != 1) {
    return false;
  }
  const std::int32_t out = IndexOf(*component.outputs[0]);
  const auto input = [this, &component](std::size_t i) { return IndexOf(*component.inputs[i]); };
  if (As<TwoInputOperator>(component) != nullptr && inputs == 2) {
    Append(plan_.twoInputs_, {input(0), input(1), out}, Plan::StepType::TwoInput, component.kind);
  } else if (As<UnaryFunction>(component) != nullptr && inputs == 1) {
    Append(plan_.unaries_, {input(0), out}, Plan::StepType::Unary, component.kind);
  } else if (auto* delay = As<DelayLine>(component); delay != nullptr && inputs == 1) {
    const std::size_t slots = delay->length > 1 ? static_cast<std::size_t>(delay->length - 1) : 0;
    if (delay->length < 1 || delay->buffer.size() != slots || delay->position < 0 ||
        (slots > 0 && static_cast<std::size_t>(delay->position) >= slots)) {
      return false;
    }
    const auto ring = static_cast<std::uint32_t>(plan_.rings_.size());
    plan_.rings_.resize(plan_.rings_.size() + slots);
    Append(plan_.delays_, {input(0), out, ring, delay->length, delay->position},
           Plan::StepType::Delays);
    plan_.delayObjects_.push_back(delay);
  } else if (auto* hazard = As<HazardFilter>(component); hazard != nullptr && inputs == 1) {
    Append(plan_.hazards_, {input(0), out, hazard->count, hazard->lastValue, hazard->holdTicks},
           Plan::StepType::Hazards);
    plan_.hazardObjects_.push_back(hazard);
  } else if (As<Constant>(component) != nullptr && inputs == 0) {
    // Only an edit changes the label, and any edit compiles the plan anew.
    Append(plan_.constants_, {out, ConstantValue(component.label)}, Plan::StepType::Constants);
  } else {
    return false;
  }
  return true;
}

void PlanCompiler::Object(Component& component) {
  const std::int32_t first = !component.inputs.empty()    ? IndexOf(*component.inputs[0])
                             : !component.outputs.empty() ? IndexOf(*component.outputs[0])
                                                          : 0;
  Append(plan_.objects_, {&component, first}, Plan::StepType::Objects);
}

template <class Record>
void PlanCompiler::Append(std::vector<Record>& table, Record record, Plan::StepType type,
                          int kindCode) {
  table.push_back(record);
  AddStep(type, kindCode, table.size() - 1, table.size());
}

void PlanCompiler::AddStep(Plan::StepType type, int kindCode, std::size_t begin, std::size_t end) {
  if (!plan_.steps_.empty()) {
    Plan::Step& last = plan_.steps_.back();
    if (last.type == type && last.kindCode == kindCode && last.end == begin) {
      last.end = static_cast<std::uint32_t>(end);
      return;
    }
  }
  plan_.steps_.push_back(
      {type, kindCode, static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(end)});
}

}  // namespace trivenor
