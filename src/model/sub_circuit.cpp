#include "model/sub_circuit.h"

#include <algorithm>
#include <unordered_map>

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
  ProcessRandom().RestartFromClock();
}

// Wires are pointers between ports, so every port that can feed a wire inside is paired with
// its copy first; then each copied sink takes the copy of its source. A source outside this
// circuit (only the wires into the input terminals have one) is the copier's to connect.
SubCircuit::SubCircuit(const SubCircuit& other)
    : Component(other),
      owner(other.owner),
      path(other.path),
      password(other.password),
      dynamic(other.dynamic) {
  std::unordered_map<const Port*, Port*> copyOf;
  auto pair = [&copyOf](const PortList& ports, const PortList& copies) {
    for (std::size_t i = 0; i < ports.size(); ++i) {
      copyOf.emplace(ports[i].get(), copies[i].get());
    }
  };
  auto rewire = [&copyOf](const Port& port, Port& copy) {
    if (port.source != nullptr) {
      const auto found = copyOf.find(port.source);
      copy.source = found != copyOf.end() ? found->second : nullptr;
    }
  };

  copyOf.reserve(inputs.size() + other.components.size() + other.junctions.size());
  pair(other.inputs, inputs);
  components.reserve(other.components.size());
  for (const auto& component : other.components) {
    pair(component->outputs, components.emplace_back(component->Clone())->outputs);
  }
  junctions.reserve(other.junctions.size());
  for (const auto& junction : other.junctions) {
    Port& copy = junctions.emplace_back(std::make_unique<Junction>())->port;
    CopyPortState(junction->port, copy);
    copyOf.emplace(&junction->port, &copy);
  }

  for (std::size_t i = 0; i < components.size(); ++i) {
    const PortList& sinks = other.components[i]->inputs;
    for (std::size_t j = 0; j < sinks.size(); ++j) {
      rewire(*sinks[j], *components[i]->inputs[j]);
    }
  }
  for (std::size_t i = 0; i < junctions.size(); ++i) {
    rewire(other.junctions[i]->port, junctions[i]->port);
  }
  for (std::size_t i = 0; i < outputs.size(); ++i) {
    rewire(*other.outputs[i], *outputs[i]);
  }
}

std::unique_ptr<SubCircuit> SubCircuit::CloneCircuit() const {
  // The copying constructor is private: a circuit is copied whole, with its wires, or not at all.
  return std::unique_ptr<SubCircuit>(new SubCircuit(*this));
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
