#include "cli/circuit_state.h"

#include <string>

#include "model/component_kind.h"
#include "model/number_text.h"

namespace trivenor {

// Numbers go to the stream as finished text: the stream's own formatting would follow whatever
// locale it has been given.
void WriteCircuitState(std::ostream& out, const SubCircuit& circuit, std::uint64_t passes) {
  out << "pass " << std::to_string(passes) << '\n';
  for (const auto& terminal : circuit.outputs) {
    const std::string value = terminal->valid ? FormatValue(terminal->value) : "xxx";
    out << "out " << std::to_string(terminal->row) << ' ' << value << '\n';
  }
  int displayIndex = 0;
  for (const auto& component : circuit.components) {
    if (component->kind == kind::OutputDisplay) {
      out << "display " << std::to_string(displayIndex++) << ' ' << component->label << '\n';
    }
  }
}

}  // namespace trivenor
