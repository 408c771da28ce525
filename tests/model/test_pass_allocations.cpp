// A pass runs every 50 ms for as long as a circuit is shown, so a warm pass must not touch the
// heap. This file is a test program of its own: it replaces the global allocation functions to
// count calls, which must not affect any other test.

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdlib>
#include <new>

#include "model/component_kind.h"
#include "model/constant.h"
#include "model/delay_line.h"
#include "model/graph_plot.h"
#include "model/hazard_filter.h"
#include "model/operators.h"
#include "model/sub_circuit.h"
#include "support/circuit_building.h"
#include "support/heap_accounting.h"

namespace trivenor {
namespace {

using test_support::AddInputTerminal;
using test_support::AddJunction;
using test_support::AddOutputTerminal;
using test_support::Append;
using test_support::Connect;

template <typename Work>
int AllocationsDuring(Work work) {
  const std::size_t before = test_support::HeapAllocations();
  work();
  return static_cast<int>(test_support::HeapAllocations() - before);
}

// Passes in which the circuit input takes a different value each time.
void RunPasses(SubCircuit& circuit, Port& changingInput, int passes) {
  for (int pass = 0; pass < passes; ++pass) {
    changingInput.value = changingInput.value == 6 ? 0 : changingInput.value + 1;
    circuit.Evaluate();
  }
}

TEST(PassAllocations, TheCountSeesTheAllocationsOfTheModel) {
  EXPECT_LT(0, AllocationsDuring([] { DelayLine delay(5); }));
}

TEST(PassAllocations, AWarmPassAllocatesNothing) {
  SubCircuit circuit;
  Port& in = AddInputTerminal(circuit, 0);

  // A junction network fed by the changing input: a chain listed against the flow with a branch
  // and a loop, so that several sweeps do work in every pass.
  Junction* previous = nullptr;
  for (int i = 0; i < 12; ++i) {
    Junction& junction = AddJunction(circuit);
    if (previous != nullptr) {
      Connect(previous->port, junction.port);
    }
    previous = &junction;
  }
  Connect(previous->port, in);
  Junction& loopA = AddJunction(circuit);
  Junction& loopB = AddJunction(circuit);
  Connect(loopA.port, loopB.port);
  Connect(loopB.port, loopA.port);
  Port& networkEnd = circuit.junctions.front()->port;

  // Counters, delay lines, hazard filters and graphs of every sort downstream of it.
  auto& counter = Append<TwoInputOperator>(circuit, kind::Plus);
  Connect(*counter.inputs[0], *counter.outputs[0]);
  Connect(*counter.inputs[1], *Append<Constant>(circuit, "1.5").outputs[0]);
  auto& sum = Append<TwoInputOperator>(circuit, kind::Plus);
  Connect(*sum.inputs[0], networkEnd);
  Connect(*sum.inputs[1], *counter.outputs[0]);
  for (const int length : {1, 2, 5}) {
    Connect(*Append<DelayLine>(circuit, length).inputs[0], *sum.outputs[0]);
  }
  for (const int hold : {0, 3}) {
    Connect(*Append<HazardFilter>(circuit, hold).inputs[0], networkEnd);
  }
  for (const bool continuous : {true, false}) {
    for (const bool automatic : {true, false}) {
      GraphSettings settings;
      settings.continuous = continuous;
      settings.autoX = settings.autoY = automatic;
      settings.points = 5;
      settings.period = 2;
      auto& graph = Append<GraphPlot>(circuit, settings);
      Connect(*graph.inputs[0], *sum.outputs[0]);
      Connect(*graph.inputs[1], networkEnd);
    }
  }
  auto& nested = Append<SubCircuit>(circuit);
  Connect(AddInputTerminal(nested, 0, PortRole::SubCircuitInput), networkEnd);
  Connect(AddOutputTerminal(circuit, 0), *sum.outputs[0]);

  RunPasses(circuit, in, 20);
  EXPECT_EQ(0, AllocationsDuring([&] { RunPasses(circuit, in, 50); }));
}

}  // namespace
}  // namespace trivenor
