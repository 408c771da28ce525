#include "checks/circuit_terminals.h"

#include <algorithm>

#include "model/number_text.h"

namespace trivenor {

std::vector<Port*> TerminalsFromTop(const PortList& terminals) {
  std::vector<Port*> ordered;
  ordered.reserve(terminals.size());
  for (const auto& terminal : terminals) {
    ordered.push_back(terminal.get());
  }
  std::stable_sort(ordered.begin(), ordered.end(),
                   [](const Port* a, const Port* b) { return a->row < b->row; });
  return ordered;
}

std::string TerminalText(const Port& terminal) {
  return terminal.valid ? FormatValue(terminal.value) : "xxx";
}

}  // namespace trivenor
