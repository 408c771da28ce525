#pragma once

#include "document/document_serializer.h"
#include "model/sub_circuit.h"

namespace trivenor::examples {

/// The editor's canvas font, "Courier New" at 10 points, is Liberation Mono 13 pixels high once
/// fontconfig has substituted it: every character is 8 units wide and a line 15 high, without
/// external leading.
inline constexpr int kCanvasCharacterWidth = 8;
inline constexpr int kCanvasLineHeight = 15;

/// Leaves `circuit` as the editor would save it after showing it: every component has the label
/// the pass run on opening gives it (a display shows the text for its value only after a pass)
/// and the size the editor's layout gives that label in the canvas font, inside sub-circuits
/// too. Printing from the command line happens before any paint and uses exactly these sizes.
void LayOutAsOpened(SubCircuit& circuit, const DocumentSettings& settings);

}  // namespace trivenor::examples
