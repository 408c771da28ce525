#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/component.h"
#include "model/junction_sweeps.h"

namespace trivenor {

/// A circuit: the document's own, or one placed inside another as a component. Its `inputs`
/// and `outputs` are its terminals; the components inside read the input terminals directly.
class SubCircuit final : public Component {
 public:
  SubCircuit();

  std::unique_ptr<Component> Clone() const override { return CloneCircuit(); }
  /// Clone, typed as a circuit.
  std::unique_ptr<SubCircuit> CloneCircuit() const;
  void Clear() override;
  /// Pulls the terminals and, recursively, every inner input.
  void UpdateInputs() override;
  /// One pass: terminals in, junction sweeps, every inner input, every inner component, terminals
  /// out. True when the circuit has output terminals.
  bool Evaluate() override;
  void Reset() override;

  std::string owner;
  std::string path;  ///< file a dynamic sub-circuit is read again from; empty otherwise
  std::string password;
  bool dynamic = false;
  /// Raised by every edit (see CircuitEdit); what is derived from the circuit compares it.
  std::uint64_t structureVersion = 0;
  /// Newest first when placed by the editor, file order when loaded.
  std::vector<std::unique_ptr<Component>> components;
  std::vector<std::unique_ptr<Junction>> junctions;

 private:
  SubCircuit(const SubCircuit& other);

  JunctionSweeps sweeps_;
};

}  // namespace trivenor
