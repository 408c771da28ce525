#pragma once

#include <QFont>
#include <QPainter>
#include <optional>

#include "document/trivenor_doc.h"
#include "view/canvas_painting.h"
#include "view/edit_state.h"

namespace trivenor {

/// The record the printer font is made from: the canvas font's with the height doubled (a
/// canvas unit is two tenths of a millimetre on paper, so text keeps its size relative to the
/// drawing) and the width 0 (the face's own proportions). The document keeps its own record
/// untouched: printing never changes the font the user chose.
FontRecord PrinterFontRecord(const FontRecord& canvasFont);

/// The font a page is printed in, sized in tenths of a millimetre: the document's canvas font
/// through PrinterFontRecord, else "Courier New" at 10 points (35 tenths of a millimetre).
QFont PrinterFont(const DocumentSettings& settings);

/// One page on the device `painter` is open on (a printer, the preview, a PDF file): the
/// circuit in tenths of a millimetre from the printable area's top-left corner, in the printer
/// font; the painter's own state is left as it was. A worksheet hides the results (see
/// PrintCanvas). Returns what the printer font measured, nothing (having drawn nothing) while
/// the document is loading.
std::optional<CanvasMetrics> PrintDocumentPage(QPainter& painter, CTrivenorDoc& document,
                                               const EditState& edit, bool worksheet = false);

}  // namespace trivenor
