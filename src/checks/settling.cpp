#include "checks/settling.h"

#include <cstdint>
#include <cstring>
#include <utility>
#include <vector>

#include "checks/check_table.h"
#include "model/component_kind.h"
#include "model/delay_line.h"
#include "model/hazard_filter.h"

namespace trivenor {

namespace {

/// The passes in a row that must change nothing.
constexpr int kSettledPasses = 3;

/// Everything that decides the next passes, as raw bits, so that a NaN equals itself.
class StateRecord {
 public:
  void Clear() { bits_.clear(); }
  const std::vector<std::uint32_t>& bits() const { return bits_; }

  void AddCircuit(const SubCircuit& circuit) {
    AddPorts(circuit.inputs);
    AddPorts(circuit.outputs);
    for (const auto& junction : circuit.junctions) {
      AddPort(junction->port);
    }
    for (const auto& component : circuit.components) {
      AddComponent(*component);
    }
  }

 private:
  void AddComponent(const Component& component) {
    if (component.kind == kind::SubCircuit) {
      AddCircuit(static_cast<const SubCircuit&>(component));
      return;
    }
    AddPorts(component.inputs);
    AddPorts(component.outputs);
    if (component.kind == kind::DelayLine) {
      // The values still on their way; the position turns in every pass and is left out.
      for (const float value : static_cast<const DelayLine&>(component).buffer) {
        AddValue(value);
      }
    } else if (component.kind == kind::HazardFilter) {
      const auto& filter = static_cast<const HazardFilter&>(component);
      bits_.push_back(static_cast<std::uint32_t>(filter.count));
      AddValue(filter.lastValue);
    }
  }

  void AddPorts(const PortList& ports) {
    for (const auto& port : ports) {
      AddPort(*port);
    }
  }

  void AddPort(const Port& port) {
    AddValue(port.value);
    bits_.push_back(port.valid ? 1u : 0u);
  }

  void AddValue(float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    bits_.push_back(bits);
  }

  std::vector<std::uint32_t> bits_;
};

}  // namespace

void RunUntilSettled(SubCircuit& circuit) {
  StateRecord before;
  StateRecord after;
  after.AddCircuit(circuit);
  int unchanged = 0;
  for (int pass = 0; pass < kMaxCheckPasses && unchanged < kSettledPasses; ++pass) {
    std::swap(before, after);
    circuit.Evaluate();
    after.Clear();
    after.AddCircuit(circuit);
    unchanged = after.bits() == before.bits() ? unchanged + 1 : 0;
  }
}

}  // namespace trivenor
