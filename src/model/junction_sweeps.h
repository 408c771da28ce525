#pragma once

#include <memory>
#include <utility>
#include <vector>

#include "model/port.h"

namespace trivenor {

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
  void Run(const std::vector<std::unique_ptr<Junction>>& junctions);

 private:
  void BuildDependents(const std::vector<std::unique_ptr<Junction>>& junctions);

  std::vector<std::pair<const Port*, int>> portIndex_;
  std::vector<int> dependentStart_;
  std::vector<int> dependents_;
  std::vector<int> queuedFor_;
  std::vector<int> current_;
  std::vector<int> next_;
};

}  // namespace trivenor
