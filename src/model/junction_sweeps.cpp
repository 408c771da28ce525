#include "model/junction_sweeps.h"

#include <algorithm>
#include <cstring>
#include <functional>

namespace trivenor {

namespace {

/// Pulls a junction's port and tells whether anything a later pull reads has changed. The
/// value is compared bit for bit: a NaN copied again leaves the port as it was.
bool PullChanges(Port& port) {
  std::uint32_t bitsBefore;
  std::memcpy(&bitsBefore, &port.value, sizeof bitsBefore);
  const bool validBefore = port.valid;
  const bool freshBefore = port.fresh;
  const bool unchangedBefore = port.unchanged;
  PullFromSource(port);
  std::uint32_t bitsAfter;
  std::memcpy(&bitsAfter, &port.value, sizeof bitsAfter);
  return bitsAfter != bitsBefore || port.valid != validBefore || port.fresh != freshBefore ||
         port.unchanged != unchangedBefore;
}

bool ByPort(const std::pair<const Port*, int>& a, const std::pair<const Port*, int>& b) {
  return std::less<const Port*>()(a.first, b.first);
}

}  // namespace

void JunctionSweeps::Run(const std::vector<std::unique_ptr<Junction>>& junctions) {
  const int count = static_cast<int>(junctions.size());
  if (count == 0) {
    return;
  }
  // The first sweep pulls every junction. In a settled circuit it changes nothing, and then no
  // later sweep would either.
  current_.clear();
  for (int i = 0; i < count; ++i) {
    if (PullChanges(junctions[i]->port)) {
      current_.push_back(i);
    }
  }
  if (current_.empty() || count == 1) {
    return;
  }
  BuildDependents(junctions);
  queuedFor_.assign(static_cast<std::size_t>(count), 0);

  // A pull in sweep s can change something only if the same junction changed in sweep s - 1, or
  // its source changed after its pull in sweep s - 1: later in the list during sweep s - 1, or
  // earlier in the list during sweep s.
  next_.clear();
  auto queueForNextSweep = [this](int index, int sweep) {
    if (queuedFor_[index] < sweep + 1) {
      queuedFor_[index] = sweep + 1;
      next_.push_back(index);
    }
  };
  for (const int changed : current_) {
    queueForNextSweep(changed, 1);
    for (int k = dependentStart_[changed]; k < dependentStart_[changed + 1]; ++k) {
      if (dependents_[k] < changed) {
        queueForNextSweep(dependents_[k], 1);
      }
    }
  }

  const auto later = std::greater<int>();
  for (int sweep = 2; sweep <= count && !next_.empty(); ++sweep) {
    current_.swap(next_);
    next_.clear();
    std::make_heap(current_.begin(), current_.end(), later);
    while (!current_.empty()) {
      std::pop_heap(current_.begin(), current_.end(), later);
      const int index = current_.back();
      current_.pop_back();
      if (!PullChanges(junctions[index]->port)) {
        continue;
      }
      queueForNextSweep(index, sweep);
      for (int k = dependentStart_[index]; k < dependentStart_[index + 1]; ++k) {
        const int dependent = dependents_[k];
        if (dependent <= index) {
          queueForNextSweep(dependent, sweep);
        } else if (queuedFor_[dependent] < sweep) {
          queuedFor_[dependent] = sweep;
          current_.push_back(dependent);
          std::push_heap(current_.begin(), current_.end(), later);
        }
      }
    }
  }
}

void JunctionSweeps::BuildDependents(const std::vector<std::unique_ptr<Junction>>& junctions) {
  const int count = static_cast<int>(junctions.size());
  portIndex_.clear();
  for (int i = 0; i < count; ++i) {
    portIndex_.emplace_back(&junctions[i]->port, i);
  }
  std::sort(portIndex_.begin(), portIndex_.end(), ByPort);
  auto junctionFeeding = [this](const Junction& junction) {
    const Port* source = junction.port.source;
    if (source == nullptr) {
      return -1;
    }
    const auto found =
        std::lower_bound(portIndex_.begin(), portIndex_.end(), std::make_pair(source, 0), ByPort);
    return found != portIndex_.end() && found->first == source ? found->second : -1;
  };
  // Compressed adjacency: the junctions fed by junction f are
  // dependents_[dependentStart_[f]] ... dependents_[dependentStart_[f + 1] - 1].
  dependentStart_.assign(static_cast<std::size_t>(count) + 1, 0);
  for (const auto& junction : junctions) {
    const int feeder = junctionFeeding(*junction);
    if (feeder >= 0) {
      ++dependentStart_[feeder + 1];
    }
  }
  for (int i = 0; i < count; ++i) {
    dependentStart_[i + 1] += dependentStart_[i];
  }
  dependents_.resize(static_cast<std::size_t>(dependentStart_[count]));
  // Fill with dependentStart_[f] as the cursor of feeder f, then shift the cursors back.
  for (int i = 0; i < count; ++i) {
    const int feeder = junctionFeeding(*junctions[i]);
    if (feeder >= 0) {
      dependents_[dependentStart_[feeder]++] = i;
    }
  }
  for (int i = count; i > 0; --i) {
    dependentStart_[i] = dependentStart_[i - 1];
  }
  dependentStart_[0] = 0;
}

}  // namespace trivenor
