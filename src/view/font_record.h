#pragma once

#include <QFont>

#include "document/document_serializer.h"

namespace trivenor {

/// The canvas font is stored in circuit files as the 60-byte Windows LOGFONTA record the format
/// was made with. Heights there are pixels of a 96-dpi screen, which is what one canvas unit is.

/// Reads a record as a Qt font. The bytes come from a file and may be anything: sizes and
/// weights are held to sane ranges, a face name without its terminating NUL ends with the
/// record. Needs the application object (a cell height is turned into a pixel size by measuring).
/// Rotation (escapement, orientation), character set and precision fields have no counterpart
/// and are not read: the canvas draws upright text.
QFont FontFromRecord(const FontRecord& record);

/// Writes a font as a record, with the values the Windows font dialog gives for the fields Qt
/// has no counterpart for.
FontRecord RecordFromFont(const QFont& font);

/// The canvas font when the document names none: 10-point "Courier New", which is 13 pixels on
/// a 96-dpi screen (fontconfig maps the name to the metric-compatible Liberation Mono).
QFont DefaultCanvasFont();

/// The document's font if it has one, else the default.
QFont CanvasFont(const DocumentSettings& settings);

/// The canvas font as a font dialog should offer it: sized in whole points at the canvas's 96 dpi
/// (the default as its 10 points) and named by the installed family that stands in for it. Left
/// in pixels, the dialog would convert with the screen's own resolution.
QFont CanvasFontForDialog(const DocumentSettings& settings);

/// The record the canvas is painted with: the document's, or one describing the default.
FontRecord CanvasFontRecord(const DocumentSettings& settings);

}  // namespace trivenor
