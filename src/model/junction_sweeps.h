#pragma once

#include <algorithm>
#include <functional>
#include <memory>
#include <utility>
#include <vector>

#include "model/port.h"

namespace trivenor {

/// Which junctions each junction feeds, in compressed form: the junctions fed by junction f are
/// dependents[start[f]] ... dependents[start[f + 1] - 1], in list order.
struct JunctionGraph {
  /// `feederOf(i)` names the junction that feeds junction i, or -1.
  template <class FeederOf>
  void Build(int count, FeederOf feederOf);

  std::vector<int> start;
  std::vector<int> dependents;
};

/// Carries values along the junctions of one circuit within one pass.
///
/// The rule is: sweep the whole list as many times as it has junctions, pulling every
/// junction's port in list order, so a value crosses a chain of n junctions whatever their order.
/// Most of those pulls change nothing, and a pull that changed nothing changes nothing again
/// until its source changes. So after a first full sweep only the junctions that changed, and
/// those fed by a junction that changed, are pulled again, in the order and in the sweep in which
/// the full rule would reach them. Values and flags end exactly as after the n full sweeps.
///
/// The scratch buffers are kept between passes so that a pass allocates nothing once warm.
class JunctionSweeps {
 public:
  /// The junctions of a circuit's object model.
  void Run(const std::vector<std::unique_ptr<Junction>>& junctions);

  /// The same over any list of `count` junctions: `pullChanges(i)` pulls junction i and tells
  /// whether anything changed, `graphOf()` gives their JunctionGraph; it is asked for only
  /// when a sweep after the first has work to do.
  template <class PullChanges, class GraphOf>
  void Sweep(int count, PullChanges pullChanges, GraphOf graphOf);

 private:
  const JunctionGraph& GraphOfList(const std::vector<std::unique_ptr<Junction>>& junctions);

  std::vector<std::pair<const Port*, int>> portIndex_;
  JunctionGraph graph_;
  std::vector<int> queuedFor_;
  std::vector<int> current_;
  std::vector<int> next_;
};

template <class FeederOf>
void JunctionGraph::Build(int count, FeederOf feederOf) {
  start.assign(static_cast<std::size_t>(count) + 1, 0);
  for (int i = 0; i < count; ++i) {
    const int feeder = feederOf(i);
    if (feeder >= 0) {
      ++start[feeder + 1];
    }
  }
  for (int i = 0; i < count; ++i) {
    start[i + 1] += start[i];
  }
  dependents.resize(static_cast<std::size_t>(start[count]));
  // Fill with start[f] as the cursor of feeder f, then shift the cursors back.
  for (int i = 0; i < count; ++i) {
    const int feeder = feederOf(i);
    if (feeder >= 0) {
      dependents[start[feeder]++] = i;
    }
  }
  for (int i = count; i > 0; --i) {
    start[i] = start[i - 1];
  }
  start[0] = 0;
}

template <class PullChanges, class GraphOf>
void JunctionSweeps::Sweep(int count, PullChanges pullChanges, GraphOf graphOf) {
  if (count == 0) {
    return;
  }
  // The first sweep pulls every junction. In a settled circuit it changes nothing, and then no
  // later sweep would either.
  current_.clear();
  for (int i = 0; i < count; ++i) {
    if (pullChanges(i)) {
      current_.push_back(i);
    }
  }
  if (current_.empty() || count == 1) {
    return;
  }
  const JunctionGraph& graph = graphOf();
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
    for (int k = graph.start[changed]; k < graph.start[changed + 1]; ++k) {
      if (graph.dependents[k] < changed) {
        queueForNextSweep(graph.dependents[k], 1);
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
      if (!pullChanges(index)) {
        continue;
      }
      queueForNextSweep(index, sweep);
      for (int k = graph.start[index]; k < graph.start[index + 1]; ++k) {
        const int dependent = graph.dependents[k];
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

}  // namespace trivenor
