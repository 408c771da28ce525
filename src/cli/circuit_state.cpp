#include "cli/circuit_state.h"

#include <string>

#include "checks/circuit_terminals.h"
#include "model/component_kind.h"

namespace trivenor {

// Numbers go to the stream as finished text: the stream's own formatting would follow whatever
// locale it has been given.
void WriteCircuitState(std::ostream& out, const SubCircuit& circuit, std::uint64_t passes) {
  out << "pass " << std::to_string(passes) << '\n';
  for (const auto& terminal : circuit.inputs) {
    out << "in " << std::to_string(terminal->row) << ' ' << TerminalText(*terminal) << '\n';
  }
  for (const auto& terminal : circuit.outputs) {
    out << "out " << std::to_string(terminal->row) << ' ' << TerminalText(*terminal) << '\n';
  }
  int displayIndex = 0;
  for (const auto& component : circuit.components) {
    if (component->kind == kind::OutputDisplay) {
      out << "display " << std::to_string(displayIndex++) << ' ' << component->label << '\n';
    }
  }
}

}  // namespace trivenor
