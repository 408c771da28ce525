#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <random>
#include <vector>

#include "model/component_kind.h"
#include "model/operators.h"
#include "model/sub_circuit.h"
#include "support/circuit_building.h"

namespace trivenor {
namespace {

using test_support::AddInputTerminal;
using test_support::AddJunction;
using test_support::Append;
using test_support::Connect;

using JunctionList = std::vector<std::unique_ptr<Junction>>;

TEST(JunctionSweeps, AChainListedAgainstTheFlowCarriesAValueInOnePass) {
  SubCircuit circuit;
  Port& in = AddInputTerminal(circuit, 0);
  in.value = 4;
  Junction& last = AddJunction(circuit);
  Junction& middle = AddJunction(circuit);
  Junction& first = AddJunction(circuit);
  Connect(first.port, in);
  Connect(middle.port, first.port);
  Connect(last.port, middle.port);
  auto& sum = Append<TwoInputOperator>(circuit, kind::Plus);
  Connect(*sum.inputs[0], last.port);
  circuit.Evaluate();
  EXPECT_EQ(4.0f, last.port.value);
  EXPECT_EQ(4.0f, sum.outputs[0]->value);
}

TEST(JunctionSweeps, AJunctionOnlyLoopKeepsItsValues) {
  SubCircuit circuit;
  Junction& a = AddJunction(circuit);
  Junction& b = AddJunction(circuit);
  Junction& c = AddJunction(circuit);
  Connect(a.port, b.port);
  Connect(b.port, c.port);
  Connect(c.port, a.port);
  for (Junction* junction : {&a, &b, &c}) {
    junction->port.value = 3;
    junction->port.fresh = false;
  }
  for (int pass = 0; pass < 5; ++pass) {
    circuit.Evaluate();
    for (const Junction* junction : {&a, &b, &c}) {
      EXPECT_EQ(3.0f, junction->port.value);
      EXPECT_TRUE(junction->port.valid);
      EXPECT_TRUE(junction->port.unchanged);
    }
  }
}

// The rule as written, with nothing skipped: the terminals in, then the whole junction list
// swept as many times as it has junctions.
void ReferencePass(const PortList& inputs, const JunctionList& junctions) {
  for (const auto& port : inputs) {
    PullFromSource(*port);
  }
  for (std::size_t sweep = 0; sweep < junctions.size(); ++sweep) {
    for (const auto& junction : junctions) {
      PullFromSource(junction->port);
    }
  }
}

// One random network built twice: inside a circuit, which runs its own pass, and as plain
// lists for the reference. Junction i of one is junction i of the other.
class TwinNetworks {
 public:
  explicit TwinNetworks(std::mt19937& random) : random_(random) {
    const int terminals = Pick(0, 3);
    for (int row = 0; row < terminals; ++row) {
      AddInputTerminal(circuit_, row);
      reference_inputs_.push_back(std::make_unique<Port>(PortRole::CircuitInput, row));
    }
    const int count = Pick(0, 60);
    for (int i = 0; i < count; ++i) {
      circuit_.junctions.push_back(std::make_unique<Junction>());
      reference_junctions_.push_back(std::make_unique<Junction>());
    }
    for (int i = 0; i < count; ++i) {
      Rewire(i);
      RandomiseState(i);
    }
    ChangeInputs();
  }

  void Pass() {
    circuit_.Evaluate();
    ReferencePass(reference_inputs_, reference_junctions_);
  }

  // New values on every source outside the junction list, and now and then an edit.
  void ChangeInputs() {
    for (std::size_t i = 0; i < circuit_.inputs.size(); ++i) {
      if (Chance(0.7)) {
        circuit_.inputs[i]->value = reference_inputs_[i]->value = RandomValue();
      }
    }
    component_output_.value = reference_component_output_.value = RandomValue();
    component_output_.valid = reference_component_output_.valid = Chance(0.7);
    if (Chance(0.3) && !circuit_.junctions.empty()) {
      Rewire(Pick(0, static_cast<int>(circuit_.junctions.size()) - 1));
    }
    if (Chance(0.2)) {
      // The editor puts a new junction at the head of the list.
      circuit_.junctions.insert(circuit_.junctions.begin(), std::make_unique<Junction>());
      reference_junctions_.insert(reference_junctions_.begin(), std::make_unique<Junction>());
      Rewire(0);
    }
  }

  ::testing::AssertionResult Agree() const {
    for (std::size_t i = 0; i < circuit_.junctions.size(); ++i) {
      const Port& got = circuit_.junctions[i]->port;
      const Port& want = reference_junctions_[i]->port;
      if (std::bit_cast<std::uint32_t>(got.value) != std::bit_cast<std::uint32_t>(want.value) ||
          got.valid != want.valid || got.fresh != want.fresh || got.unchanged != want.unchanged) {
        return ::testing::AssertionFailure()
               << "junction " << i << " of " << circuit_.junctions.size() << ": value " << got.value
               << " valid " << got.valid << " fresh " << got.fresh << " unchanged " << got.unchanged
               << ", the rule gives " << want.value << " valid " << want.valid << " fresh "
               << want.fresh << " unchanged " << want.unchanged;
      }
    }
    return ::testing::AssertionSuccess();
  }

 private:
  int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
  bool Chance(double p) { return std::bernoulli_distribution(p)(random_); }

  // Few distinct values, so that equal values (and -0 against 0) meet often.
  float RandomValue() {
    constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
    const float values[] = {0.0f,  -0.0f, 1.0f,  -2.5f,
                            1e30f, kNaN,  -kNaN, std::numeric_limits<float>::infinity()};
    if (Chance(0.2)) {
      return std::uniform_real_distribution<float>(-100, 100)(random_);
    }
    return values[Pick(0, static_cast<int>(std::size(values)) - 1)];
  }

  // Connects junction i to the same randomly chosen source in both networks.
  void Rewire(int i) {
    const int count = static_cast<int>(circuit_.junctions.size());
    const int kindOfSource = Pick(0, 9);
    Port* source = nullptr;
    Port* referenceSource = nullptr;
    if (kindOfSource < 5) {
      const int feeder = Pick(0, count - 1);  // may be i itself
      source = &circuit_.junctions[feeder]->port;
      referenceSource = &reference_junctions_[feeder]->port;
    } else if (kindOfSource < 7 && !circuit_.inputs.empty()) {
      const int terminal = Pick(0, static_cast<int>(circuit_.inputs.size()) - 1);
      source = circuit_.inputs[terminal].get();
      referenceSource = reference_inputs_[terminal].get();
    } else if (kindOfSource < 9) {
      source = &component_output_;
      referenceSource = &reference_component_output_;
    }
    circuit_.junctions[i]->port.source = source;
    reference_junctions_[i]->port.source = referenceSource;
    circuit_.junctions[i]->port.fresh = reference_junctions_[i]->port.fresh = true;
  }

  void RandomiseState(int i) {
    Port& port = circuit_.junctions[i]->port;
    Port& twin = reference_junctions_[i]->port;
    port.value = twin.value = RandomValue();
    port.valid = twin.valid = Chance(0.5);
    port.fresh = twin.fresh = Chance(0.5);
    port.unchanged = twin.unchanged = Chance(0.5);
  }

  std::mt19937& random_;
  SubCircuit circuit_;
  Port component_output_{PortRole::ComponentOutput};
  PortList reference_inputs_;
  JunctionList reference_junctions_;
  Port reference_component_output_{PortRole::ComponentOutput};
};

TEST(JunctionSweeps, EndsExactlyWhereTheFullSweepsEnd) {
  std::mt19937 random(20240611u);  // fixed, so that a failure repeats
  for (int network = 0; network < 400; ++network) {
    TwinNetworks twins(random);
    for (int pass = 0; pass < 6; ++pass) {
      twins.Pass();
      ASSERT_TRUE(twins.Agree()) << "network " << network << ", pass " << pass;
      twins.ChangeInputs();
    }
  }
}

}  // namespace
}  // namespace trivenor
