#pragma once

#include "document/document_serializer.h"
#include "document/trivenor_doc.h"
#include "model/port.h"

namespace trivenor {

/// The colours of the "Darstellung" menu, as 0x00BBGGRR.
inline constexpr Colour kBlue = 0xFF0000;
inline constexpr Colour kRed = 0x0000FF;
inline constexpr Colour kYellow = 0x00FFFF;
inline constexpr Colour kGreen = 0x00FF00;
inline constexpr Colour kBlack = 0x000000;

/// Recolours the selected component's outline, or else the wire into the selected port. The
/// document counts as modified whatever was selected, also with structural changes locked:
/// looks are not structure. A colour that changes is one undo step.
void ApplyColour(CTrivenorDoc& document, Colour colour);

/// The same for the line thickness (pen width).
void ApplyThickness(CTrivenorDoc& document, int thickness);

/// Makes `record` the canvas font and marks the document modified; a font that changes is one
/// undo step.
void ApplyCanvasFont(CTrivenorDoc& document, const FontRecord& record);

}  // namespace trivenor
