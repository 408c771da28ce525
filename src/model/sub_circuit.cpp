#include "model/sub_circuit.h"

#include <algorithm>

#include "model/component_kind.h"
#include "model/random.h"

namespace trivenor {

namespace {

/// Large circuits do not fit the cache. A pass walks the component list twice, and each
/// component leads to its port list and from there to its ports. Asking for these three levels
/// some components ahead, each level once the one before it has arrived, keeps the memory
/// busy while the pass computes.
constexpr std::size_t kPrefetchDistance = 8;

inline void Prefetch(const void* address) {
#if defined(__GNUC__)
  __builtin_prefetch(address);
#else
  (void)address;
#endif
}

inline void PrefetchPorts(const PortList& ports) {
  for (const auto& port : ports) {
    Prefetch(port.get());
  }
}

/// Prefetches for the component at `index` of a pass over `list`: the object itself three
/// distances ahead, its port lists two ahead, its ports one ahead.
inline void PrefetchAhead(const std::vector<std::unique_ptr<Component>>& list, std::size_t index) {
  const std::size_t count = list.size();
  if (index + 3 * kPrefetchDistance < count) {
    Prefetch(list[index + 3 * kPrefetchDistance].get());
  }
  if (index + 2 * kPrefetchDistance < count) {
    const Component& component = *list[index + 2 * kPrefetchDistance];
    Prefetch(component.inputs.data());
    Prefetch(component.outputs.data());
  }
  if (index + kPrefetchDistance < count) {
    const Component& component = *list[index + kPrefetchDistance];
    PrefetchPorts(component.inputs);
    PrefetchPorts(component.outputs);
  }
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
    PrefetchAhead(components, i);
    components[i]->UpdateInputs();
  }
  for (std::size_t i = 0; i < count; ++i) {
    PrefetchAhead(components, i);
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
