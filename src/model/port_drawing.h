#pragma once

#include "model/drawing_context.h"
#include "model/port.h"

namespace trivenor {

/// The blue of selection marks (0x00BBGGRR).
inline constexpr Colour kSelectionBlue = 0xFF0000;

/// Under dynamic lines a wire whose source carries 0 is drawn lighter: every colour part is
/// raised to at least 128, so black turns mid-grey and blue a pale blue.
Colour LightenedWireColour(Colour colour);

// Port tips are chevrons drawn with the current pen (the editor and the components leave the
// stock black pen selected), both pointing at the body. The editor draws the circuit terminals
// with the same calls.

/// The tip of an input port, a second chevron when it is `selectedPort`, then the wire to its
/// source if it has one.
void DrawAsInput(const Port& port, DrawingContext& dc, const Port* selectedPort, bool dynamicLines);
/// The tip of an output port, with a second chevron drawn first when it is `selectedPort`.
void DrawAsOutput(const Port& port, DrawingContext& dc, const Port* selectedPort);
/// Paper versions: doubled with y negated, no selection, wires in their own colour.
void PrintAsInput(const Port& port, DrawingContext& dc);
void PrintAsOutput(const Port& port, DrawingContext& dc);

// The editor draws all junction wires first and all marks afterwards, so every mark lies above
// every wire.

/// The wire from the junction to its source, if it has one.
void DrawWire(const Junction& junction, DrawingContext& dc, const Port* selectedPort,
              bool dynamicLines);
/// A 4-unit square, with a 2-unit square inside when the junction's port is `selectedPort`.
void DrawMark(const Junction& junction, DrawingContext& dc, const Port* selectedPort);
void PrintWire(const Junction& junction, DrawingContext& dc);
void PrintMark(const Junction& junction, DrawingContext& dc);

}  // namespace trivenor
