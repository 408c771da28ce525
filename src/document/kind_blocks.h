#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "document/archive.h"
#include "document/circuit_files.h"
#include "document/circuit_serializer.h"
#include "model/component_registry.h"

namespace trivenor {

/// The block a component record holds after its kind code: what the component is made from (a
/// delay's length, a constant's text, a display's table, a hazard filter's hold count, a graph's
/// settings, a placed circuit's whole record). Operators have none.
struct KindBlock {
  Archive& archive;
  /// Loading only: the budgets of the load and the files it reads.
  LoadContext* context;
  const ComponentKind& kind;
  /// Storing: the component written. Loading: receives the component made from the block.
  std::unique_ptr<Component>& component;
  /// A placed circuit: the numbers its record shares with the record around it.
  SharedNumbers terminals;
};

/// Writes or reads `block` as its kind's class stores it. Reading checks the values against the
/// file limits and charges delay and graph samples to the load's budget; it throws FormatError
/// where they do not hold.
void ExchangeKindBlock(KindBlock& block);

}  // namespace trivenor
