#include "model/sub_circuit.h"

#include <algorithm>

#include "model/component_kind.h"
#include "model/random.h"

namespace trivenor {

namespace {

/// Large circuits do not fit the cache; asking for the component a few places ahead lets the
/// memory catch up with the pass.
constexpr std::size_t kPrefetchDistance = 8;

inline void Prefetch(const std::vector<std::unique_ptr<Component>>& list, std::size_t index) {
#if defined(__GNUC__)
  if (index < list.size()) {
    __builtin_prefetch(list[index].get());
  }
#else
  (void)list;
  (void)index;
#endif
}

}  // namespace

SubCircuit::SubCircuit() : Component(kind::SubCircuit) {
  Evaluate();
  RestartRandomFromClock();
}

void SubCircuit::Clear() {
  components.clear();
  junctions.clear();
  owner.clear();
  label.clear();
  path.clear();
  password.clear();
  Component::Clear();
}

void SubCircuit::UpdateInputs() {
  Component::UpdateInputs();
  for (auto& component : components) {
    component->UpdateInputs();
  }
}

bool SubCircuit::Evaluate() {
  lastRow = 1;
  for (auto& port : inputs) {
    PullFromSource(*port);
    lastRow = std::max(lastRow, port->row);
  }
  sweeps_.Run(junctions);
  // Every component reads inputs filled before any component ran, so each one adds one pass of
  // latency whatever the list order.
  const std::size_t count = components.size();
  for (std::size_t i = 0; i < count; ++i) {
    Prefetch(components, i + kPrefetchDistance);
    components[i]->UpdateInputs();
  }
  for (std::size_t i = 0; i < count; ++i) {
    Prefetch(components, i + kPrefetchDistance);
    components[i]->Evaluate();
  }
  for (auto& port : outputs) {
    lastRow = std::max(lastRow, port->row);
    PullFromSource(*port);
  }
  return !outputs.empty();
}

void SubCircuit::Reset() {
  Component::Reset();
  for (auto& component : components) {
    component->Reset();
  }
}

}  // namespace trivenor
