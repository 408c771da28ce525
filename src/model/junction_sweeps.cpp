#include "model/junction_sweeps.h"

namespace trivenor {

namespace {

bool ByPort(const std::pair<const Port*, int>& a, const std::pair<const Port*, int>& b) {
  return std::less<const Port*>()(a.first, b.first);
}

}  // namespace

void JunctionSweeps::Run(const std::vector<std::unique_ptr<Junction>>& junctions) {
  Sweep(
      static_cast<int>(junctions.size()),
      [&junctions](int index) {
        Port& port = junctions[index]->port;
        return PullRuleChanges(port, const_cast<const Port*>(port.source),
                               port.role == PortRole::CircuitInput);
      },
      [this, &junctions]() -> const JunctionGraph& { return GraphOfList(junctions); });
}

const JunctionGraph& JunctionSweeps::GraphOfList(
    const std::vector<std::unique_ptr<Junction>>& junctions) {
  const int count = static_cast<int>(junctions.size());
  portIndex_.clear();
  for (int i = 0; i < count; ++i) {
    portIndex_.emplace_back(&junctions[i]->port, i);
  }
  std::sort(portIndex_.begin(), portIndex_.end(), ByPort);
  graph_.Build(count, [this, &junctions](int index) {
    const Port* source = junctions[index]->port.source;
    if (source == nullptr) {
      return -1;
    }
    const auto found =
        std::lower_bound(portIndex_.begin(), portIndex_.end(), std::make_pair(source, 0), ByPort);
    return found != portIndex_.end() && found->first == source ? found->second : -1;
  });
  return graph_;
}

}  // namespace trivenor
