#pragma once

#include <string>
#include <vector>

#include "model/port_list.h"

namespace trivenor {

/// The terminals of `terminals` as the canvas shows them from the top down: by slot, list order
/// among equal slots. Check tables count inputs and outputs this way ("E1" is the topmost).
std::vector<Port*> TerminalsFromTop(const PortList& terminals);

/// What a terminal shows: its value as the editor writes numbers, or "xxx" when it is invalid.
std::string TerminalText(const Port& terminal);

}  // namespace trivenor
