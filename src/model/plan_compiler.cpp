#include <algorithm>
#include <functional>
#include <optional>
#include <typeinfo>
#include <utility>

#include "model/constant.h"
#include "model/delay_line.h"
#include "model/evaluation_plan.h"
#include "model/hazard_filter.h"
#include "model/kind_rules.h"
#include "model/operators.h"
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

  void Number(Component& component);
  void NumberCircuit(SubCircuit& circuit);
  void Add(Port& port);
  std::int32_t IndexOf(const Port& port) const;
  /// The pull of `port`; false when its source is not in the plan.
  bool PullOf(const Port& port, Plan::Pull& pull) const;

  bool CircuitPass(SubCircuit& circuit);
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
  /// Every port with its state index, sorted by address.
  std::vector<std::pair<const Port*, std::int32_t>> index_;
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

bool ByPort(const std::pair<const Port*, std::int32_t>& a,
            const std::pair<const Port*, std::int32_t>& b) {
  return std::less<const Port*>()(a.first, b.first);
}

}  // namespace

bool PlanCompiler::Compile(SubCircuit& top) {
  NumberCircuit(top);
  std::sort(index_.begin(), index_.end(), ByPort);
  plan_.states_.resize(plan_.ports_.size());
  plan_.given_.resize(plan_.ports_.size());
  for (const auto& port : top.inputs) {
    plan_.typedInputs_.push_back(IndexOf(*port));
  }
  plan_.hasOutputs_ = !top.outputs.empty();
  return CircuitPass(top);
}

// A circuit's ports: input terminals, the components in list order (each with its inputs before
// its outputs, which lets an object call find them together), the junctions, output terminals.
void PlanCompiler::NumberCircuit(SubCircuit& circuit) {
  for (auto& port : circuit.inputs) {
    Add(*port);
  }
  for (auto& component : circuit.components) {
    Number(*component);
  }
  for (auto& junction : circuit.junctions) {
    Add(junction->port);
  }
  for (auto& port : circuit.outputs) {
    Add(*port);
  }
}

void PlanCompiler::Number(Component& component) {
  if (auto* circuit = As<SubCircuit>(component)) {
    NumberCircuit(*circuit);
    return;
  }
  for (auto& port : component.inputs) {
    Add(*port);
  }
  for (auto& port : component.outputs) {
    Add(*port);
  }
}

void PlanCompiler::Add(Port& port) {
  index_.emplace_back(&port, static_cast<std::int32_t>(plan_.ports_.size()));
  plan_.ports_.push_back(&port);
}

std::int32_t PlanCompiler::IndexOf(const Port& port) const {
  const auto found =
      std::lower_bound(index_.begin(), index_.end(), std::make_pair(&port, 0), ByPort);
  return found != index_.end() && found->first == &port ? found->second : Plan::kUnconnected;
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

// The steps of SubCircuit::Evaluate, in its order.
bool PlanCompiler::CircuitPass(SubCircuit& circuit) {
  plan_.circuits_.push_back(&circuit);
  if (!Pulls(circuit.inputs) || !Junctions(circuit)) {
    return false;
  }
  for (auto& component : circuit.components) {
    if (!UpdateInputs(*component)) {
      return false;
    }
  }
  for (auto& component : circuit.components) {
    if (!Evaluate(*component)) {
      return false;
    }
  }
  return Pulls(circuit.outputs);
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
