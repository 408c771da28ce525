#include "view/editing/terminal_clicks.h"

#include "document/undo_step_names.h"

namespace trivenor {

namespace {

/// Terminal row under y; negative above the first row. Integer division truncates toward zero,
/// so y = 3 still gives row 0.
int TerminalRowAt(int y) {
  return (y - 5) / canvas::kTerminalPitch;
}

Port* TerminalInRow(const PortList& terminals, int row) {
  for (const auto& port : terminals) {
    if (port->row == row) {
      return port.get();
    }
  }
  return nullptr;
}

}  // namespace

// Terminals added or removed by a click are saved with the circuit, so they are undo steps and
// mark the document modified like every other structural edit: closing must not drop them
// without asking.
bool TerminalClicks::Click(int x, int y) {
  const int row = TerminalRowAt(y);
  if (row < 0) {
    return true;
  }
  SubCircuit& top = context_.circuit();
  CTrivenorDoc& document = context_.document;
  const int rightBorder = context_.RightBorder();
  if (x < canvas::kTerminalColumn) {
    if (Port* input = TerminalInRow(top.inputs, row)) {
      typing_.Start(*input);  // also in a locked document
      return false;
    }
    if (!context_.Editable()) {
      context_.host.ReportLocked();
      return true;
    }
    context_.edit().AddTerminal(PortRole::CircuitInput, row, canvas::kTerminalColumn,
                                canvas::TerminalY(row));
    document.SetModifiedFlag();
    document.RecordStep(undo_step::kAddInput);
  } else if (x > rightBorder && !context_.Editable()) {
    context_.host.ReportLocked();
  } else if (x > rightBorder) {
    Port* output = TerminalInRow(top.outputs, row);
    if (output == nullptr) {
      context_.edit().AddTerminal(PortRole::CircuitOutput, row, rightBorder,
                                  canvas::TerminalY(row));
      document.SetModifiedFlag();
      document.RecordStep(undo_step::kAddOutput);
    } else if (x > rightBorder + 10) {
      context_.edit().RemoveTerminal(*output);
      document.SetModifiedFlag();
      document.RecordStep(undo_step::kDeleteOutput);
    } else {
      wires_.Start(*output, wire_start::kAtSink);
    }
  }
  return true;
}

}  // namespace trivenor
