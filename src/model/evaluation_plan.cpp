#include "model/evaluation_plan.h"

#include <algorithm>
#include <bit>
#include <type_traits>

#include "model/component.h"
#include "model/delay_line.h"
#include "model/hazard_filter.h"
#include "model/kind_rules.h"
#include "model/sub_circuit.h"

namespace trivenor {

namespace {

// A run of operators of one kind is a loop with the kind fixed at compile time, so the rule's
// choice of kind disappears from the loop. Kinds without a loop of their own (codes that name
// no computation) take the loop that passes the kind as it is.

template <int Kind, class Record, class Rule>
void LoopOfKind(const Record* part, const Record* end, Rule rule) {
  for (; part != end; ++part) {
    rule(std::integral_constant<int, Kind>(), *part);
  }
}

template <int... Kinds, class Record, class Rule>
void LoopsByKind(int kindCode, const Record* part, const Record* end, Rule rule) {
  const bool known = ((kindCode == Kinds && (LoopOfKind<Kinds>(part, end, rule), true)) || ...);
  for (; !known && part != end; ++part) {
    rule(kindCode, *part);
  }
}

bool Differ(const PortState& a, const PortState& b) {
  return std::bit_cast<std::uint64_t>(a) != std::bit_cast<std::uint64_t>(b);
}

}  // namespace

bool EvaluationPlan::Run() {
  for (const std::int32_t index : typedInputs_) {
    states_[index].value = given_[index].value = ports_[index]->value;
  }
  for (const Step& step : steps_) {
    switch (step.type) {
      case StepType::Pulls:
        RunPulls(step);
        break;
      case StepType::Junctions:
        for (std::uint32_t block = step.begin; block < step.end; ++block) {
          RunJunctions(junctionBlocks_[block]);
        }
        break;
      case StepType::TwoInput:
        RunTwoInputs(step);
        break;
      case StepType::Unary:
        RunUnaries(step);
        break;
      case StepType::Delays:
        RunDelays(step);
        break;
      case StepType::Hazards:
        RunHazards(step);
        break;
      case StepType::Constants:
        RunConstants(step);
        break;
      case StepType::Objects:
        RunObjects(step);
        break;
      case StepType::FusedTwoInput:
        RunFusedTwoInputs(step);
        break;
      case StepType::FusedUnary:
        RunFusedUnaries(step);
        break;
    }
  }
  ++passesNotWritten_;
  return hasOutputs_;
}

// Most pulls have a source: for them the rule is left with the one test of its validity.
void EvaluationPlan::RunPulls(const Step& step) {
  PortState* states = states_.data();
  const Pull* end = pulls_.data() + step.end;
  for (const Pull* pull = pulls_.data() + step.begin; pull != end; ++pull) {
    const std::int32_t source = pull->source;
    if (source >= 0) {
      PullThroughWire(states[pull->port], states[source]);
    } else {
      PullRule<PortState>(states[pull->port], nullptr, source == kTypedInput);
    }
  }
}

void EvaluationPlan::RunJunctions(JunctionBlock& block) {
  PortState* states = states_.data();
  const Pull* pulls = junctionPulls_.data() + block.firstPull;
  sweeps_.Sweep(
      block.count,
      [states, pulls](int index) {
        const std::int32_t source = pulls[index].source;
        return PullRuleChanges(states[pulls[index].port], source >= 0 ? states + source : nullptr,
                               source == kTypedInput);
      },
      [&block]() -> const JunctionGraph& { return block.graph; });
}

void EvaluationPlan::RunTwoInputs(const Step& step) {
  using namespace kind;
  PortState* states = states_.data();
  LoopsByKind<Plus, Minus, Times, Divide, Power, And, Or, Equal, Less, Greater, IntegerDivide,
              Modulo, RandomInteger>(
      step.kindCode, twoInputs_.data() + step.begin, twoInputs_.data() + step.end,
      [states](auto kindCode, const TwoInput& part) {
        TwoInputRule(kindCode, states[part.a], states[part.b], states[part.out]);
      });
}

void EvaluationPlan::RunUnaries(const Step& step) {
  using namespace kind;
  PortState* states = states_.data();
  LoopsByKind<Not, Floor, Ceiling, Log, SquareRoot, Sine, Cosine, Absolute, Tangent, Truncate, Sign,
              RandomFraction, Exp, ArcTangent, Log10>(
      step.kindCode, unaries_.data() + step.begin, unaries_.data() + step.end,
      [states](auto kindCode, const Unary& part) {
        UnaryRule(kindCode, states[part.in], states[part.out]);
      });
}

// The random kinds are never fused, and leaving them out of these lists is not only shorter:
// their loops in the same function made the compiler give the others worse code (about a fifth
// slower in the chain benchmark).
void EvaluationPlan::RunFusedTwoInputs(const Step& step) {
  using namespace kind;
  PortState* states = states_.data();
  LoopsByKind<Plus, Minus, Times, Divide, Power, And, Or, Equal, Less, Greater, IntegerDivide,
              Modulo>(step.kindCode, fusedTwoInputs_.data() + step.begin,
                      fusedTwoInputs_.data() + step.end,
                      [states](auto kindCode, const FusedTwoInput& part) {
                        PortState* ports = states + part.first;
                        PullThroughWire(ports[0], states[part.sourceA]);
                        PullThroughWire(ports[1], states[part.sourceB]);
                        TwoInputRule(kindCode, ports[0], ports[1], ports[2]);
                      });
}

void EvaluationPlan::RunFusedUnaries(const Step& step) {
  using namespace kind;
  PortState* states = states_.data();
  LoopsByKind<Not, Floor, Ceiling, Log, SquareRoot, Sine, Cosine, Absolute, Tangent, Truncate, Sign,
              Exp, ArcTangent, Log10>(step.kindCode, fusedUnaries_.data() + step.begin,
                                      fusedUnaries_.data() + step.end,
                                      [states](auto kindCode, const FusedUnary& part) {
                                        PortState* ports = states + part.first;
                                        PullThroughWire(ports[0], states[part.source]);
                                        UnaryRule(kindCode, ports[0], ports[1]);
                                      });
}

void EvaluationPlan::RunDelays(const Step& step) {
  for (std::uint32_t i = step.begin; i < step.end; ++i) {
    Delay& delay = delays_[i];
    DelayRule(states_[delay.in], states_[delay.out], rings_.data() + delay.ring, delay.length,
              delay.position);
  }
}

void EvaluationPlan::RunHazards(const Step& step) {
  for (std::uint32_t i = step.begin; i < step.end; ++i) {
    Hazard& hazard = hazards_[i];
    HazardRule(states_[hazard.in], states_[hazard.out], hazard.count, hazard.lastValue,
               hazard.holdTicks);
  }
}

void EvaluationPlan::RunConstants(const Step& step) {
  for (std::uint32_t i = step.begin; i < step.end; ++i) {
    states_[constants_[i].out].value = constants_[i].value;
  }
}

// The component reads and writes its own ports, so they are brought up to date before and
// taken back after.
void EvaluationPlan::RunObjects(const Step& step) {
  for (std::uint32_t i = step.begin; i < step.end; ++i) {
    Component& component = *objects_[i].component;
    const auto first = static_cast<std::size_t>(objects_[i].firstPort);
    const std::size_t end = first + component.inputs.size() + component.outputs.size();
    for (std::size_t index = first; index < end; ++index) {
      GiveState(index);
    }
    component.Evaluate();
    for (std::size_t index = first; index < end; ++index) {
      PortToState(index);
    }
  }
}

void EvaluationPlan::WriteBack() {
  if (passesNotWritten_ == 0) {
    return;  // the objects hold what the plan holds; even the rows are as the last pass set them
  }
  const std::size_t count = states_.size();
  for (std::size_t index = 0; index < count; ++index) {
    if (Differ(states_[index], given_[index])) {
      GiveState(index);
    }
  }
  for (std::size_t i = 0; i < delays_.size(); ++i) {
    const Delay& delay = delays_[i];
    DelayLine& object = *delayObjects_[i];
    object.position = delay.position;
    if (passesNotWritten_ > 1) {
      std::copy_n(rings_.begin() + delay.ring, object.buffer.size(), object.buffer.begin());
    } else if (passesNotWritten_ == 1 && delay.length > 1) {
      // A pass writes one slot: the one just before the position it leaves.
      const int written = (delay.position == 0 ? delay.length - 1 : delay.position) - 1;
      object.buffer[static_cast<std::size_t>(written)] = rings_[delay.ring + written];
    }
  }
  for (std::size_t i = 0; i < hazards_.size(); ++i) {
    hazardObjects_[i]->count = hazards_[i].count;
    hazardObjects_[i]->lastValue = hazards_[i].lastValue;
  }
  for (SubCircuit* circuit : circuits_) {
    int rows = 1;
    for (const auto& port : circuit->inputs) {
      rows = std::max(rows, port->row);
    }
    for (const auto& port : circuit->outputs) {
      rows = std::max(rows, port->row);
    }
    circuit->lastRow = rows;
  }
  passesNotWritten_ = 0;
}

void EvaluationPlan::LoadState() {
  for (std::size_t index = 0; index < states_.size(); ++index) {
    PortToState(index);
  }
  for (std::size_t i = 0; i < delays_.size(); ++i) {
    const DelayLine& object = *delayObjects_[i];
    delays_[i].position = object.position;
    std::copy(object.buffer.begin(), object.buffer.end(), rings_.begin() + delays_[i].ring);
  }
  for (std::size_t i = 0; i < hazards_.size(); ++i) {
    hazards_[i].count = hazardObjects_[i]->count;
    hazards_[i].lastValue = hazardObjects_[i]->lastValue;
  }
  passesNotWritten_ = 0;
}

void EvaluationPlan::GiveState(std::size_t index) {
  const PortState& state = states_[index];
  Port& port = *ports_[index];
  port.value = state.value;
  port.valid = state.valid;
  port.fresh = state.fresh;
  port.unchanged = state.unchanged;
  given_[index] = state;
}

void EvaluationPlan::PortToState(std::size_t index) {
  const Port& port = *ports_[index];
  states_[index] = {port.value, port.valid, port.fresh, port.unchanged, 0};
  given_[index] = states_[index];
}

}  // namespace trivenor
