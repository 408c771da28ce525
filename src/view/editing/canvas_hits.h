#pragma once

#include <functional>
#include <optional>

#include "model/sub_circuit.h"

namespace trivenor {

/// The parts of the circuit a point on the canvas can hit.
enum class PartKind {
  ComponentInput,
  ComponentOutput,
  ComponentBody,
  Junction,
  InputTerminal,
  OutputTerminal,
};

struct PartHit {
  PartKind kind;
  Port* port = nullptr;            ///< null for a body
  Component* component = nullptr;  ///< set for a component's ports and its body
};

/// The one hit search of the editing: offers `accept` every part under (x, y) and returns the
/// first it takes. The order is the same for every search: for each component whose body holds
/// the point (newest first) its inputs, its outputs, then the body itself; then the junctions;
/// then the input terminals; then the output terminals. Ports are wide targets (less than 10
/// across and 5 up or down from their tip), junctions small squares (less than 5 either way).
/// Hits use the geometry of the last paint.
std::optional<PartHit> FindPartAt(SubCircuit& circuit, int x, int y,
                                  const std::function<bool(const PartHit&)>& accept);

}  // namespace trivenor
