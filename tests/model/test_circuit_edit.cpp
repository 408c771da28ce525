#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <vector>

#include "model/circuit_edit.h"
#include "model/component_kind.h"
#include "model/operators.h"

namespace trivenor {
namespace {

std::vector<Port*> AllPorts(SubCircuit& circuit) {
  std::vector<Port*> ports;
  for (auto* list : {&circuit.inputs, &circuit.outputs}) {
    for (auto& port : *list) {
      ports.push_back(port.get());
    }
  }
  for (auto& component : circuit.components) {
    for (auto* list : {&component->inputs, &component->outputs}) {
      for (auto& port : *list) {
        ports.push_back(port.get());
      }
    }
  }
  for (auto& junction : circuit.junctions) {
    ports.push_back(&junction->port);
  }
  return ports;
}

template <typename T>
T& Pick(std::mt19937& random, const std::vector<T*>& from) {
  return *from[std::uniform_int_distribution<std::size_t>(0, from.size() - 1)(random)];
}

// Random edits, wires drawn between any two ports and the references pointing anywhere: after
// every edit each wire and each reference leads to a port of the circuit, and the structure
// version has gone up.
TEST(CircuitEdit, RemovingNeverLeavesAWireOrAReferenceDangling) {
  std::mt19937 random(20261209);
  for (int round = 0; round < 200; ++round) {
    SubCircuit circuit;
    CircuitEdit edit(circuit);
    Port* selectedPort = nullptr;
    Port* wireTarget = nullptr;
    Component* selectedComponent = nullptr;
    edit.Track(selectedPort);
    edit.Track(wireTarget);
    edit.Track(selectedComponent);

    for (int step = 0; step < 40; ++step) {
      const std::uint64_t versionBefore = circuit.structureVersion;
      std::vector<Port*> ports = AllPorts(circuit);
      std::vector<Component*> components;
      for (auto& component : circuit.components) {
        components.push_back(component.get());
      }
      switch (std::uniform_int_distribution<int>(0, 6)(random)) {
        case 0:
          if (step % 3 == 0) {
            // A placed circuit's ports are its terminals, which disconnect differently.
            auto placed = std::make_unique<SubCircuit>();
            placed->inputs.push_back(std::make_unique<Port>(PortRole::SubCircuitInput));
            placed->outputs.push_back(std::make_unique<Port>(PortRole::SubCircuitOutput));
            edit.Place(std::move(placed), 100, 10 * step);
          } else {
            edit.Place(std::make_unique<TwoInputOperator>(kind::Plus), 100, 10 * step);
          }
          break;
        case 1:
          edit.AddJunction(200, 10 * step);
          break;
        case 2:
          edit.AddTerminal(step % 2 == 0 ? PortRole::CircuitInput : PortRole::CircuitOutput,
                           step % 5, 90, 20);
          break;
        case 3:
          if (ports.size() >= 2) {
            edit.Connect(Pick(random, ports), Pick(random, ports));
          }
          break;
        case 4:
          if (!components.empty()) {
            selectedComponent = &Pick(random, components);
            Component& doomed = Pick(random, components);
            selectedPort = doomed.inputs[0].get();
            edit.Remove(doomed);
          }
          break;
        case 5:
          if (!circuit.junctions.empty()) {
            Junction& doomed = *circuit.junctions.back();
            wireTarget = &doomed.port;
            edit.RemoveJunction(doomed);
          }
          break;
        default:
          if (!ports.empty()) {
            Port& port = Pick(random, ports);
            if (port.role == PortRole::CircuitInput || port.role == PortRole::CircuitOutput) {
              selectedPort = &port;
              edit.RemoveTerminal(port);
            } else {
              edit.Disconnect(port);
            }
          }
      }
      if (circuit.structureVersion == versionBefore) {
        continue;  // an edit without anything to act on
      }
      const std::vector<Port*> after = AllPorts(circuit);
      const std::set<const Port*> alive(after.begin(), after.end());
      for (const Port* port : after) {
        ASSERT_TRUE(port->source == nullptr || alive.contains(port->source)) << round;
      }
      for (const Port* reference : {selectedPort, wireTarget}) {
        ASSERT_TRUE(reference == nullptr || alive.contains(reference)) << round;
      }
      ASSERT_TRUE(selectedComponent == nullptr ||
                  std::any_of(circuit.components.begin(), circuit.components.end(),
                              [&](const auto& c) { return c.get() == selectedComponent; }));
    }
  }
}

TEST(CircuitEdit, PlacingGoesToTheHeadAndTerminalsStayInRowOrder) {
  SubCircuit circuit;
  CircuitEdit edit(circuit);
  Component& first = edit.Place(std::make_unique<UnaryFunction>(kind::Not), 100, 15);
  Component& second = edit.Place(std::make_unique<UnaryFunction>(kind::Sine), 200, 25);
  EXPECT_EQ(circuit.components[0].get(), &second);
  EXPECT_EQ(std::tie(first.x, first.y), std::make_tuple(100, 15));
  for (int row : {3, 0, 5, 1}) {
    edit.AddTerminal(PortRole::CircuitInput, row, 90, 20 + 30 * row);
  }
  std::vector<int> rows;
  for (const auto& port : circuit.inputs) {
    rows.push_back(port->row);
  }
  EXPECT_EQ(rows, (std::vector<int>{0, 1, 3, 5}));
}

}  // namespace
}  // namespace trivenor
