#pragma once

#include "document/trivenor_doc.h"
#include "view/tick_repaint.h"

namespace trivenor {

/// The part of the canvas the circuit occupies after the last paint, with `margin` more on
/// every side: the terminal columns that hold terminals (with their values), every component's
/// body and every junction. An empty circuit occupies the whole canvas.
CanvasRect UsedArea(const CTrivenorDoc& document, int margin);

}  // namespace trivenor
