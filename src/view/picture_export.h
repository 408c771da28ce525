#pragma once

#include <QString>
#include <optional>

#include "document/trivenor_doc.h"

namespace trivenor {

enum class PictureFormat { Png, Svg };

/// What a picture of the circuit shows besides the circuit itself.
struct PictureLook {
  bool worksheet = false;   ///< "?" in place of the results
  bool wireValues = false;  ///< values at the wires' middles (never on a worksheet)
};

/// The format a picture file's name asks for: ".svg" (in any case) for SVG, ".png" for PNG,
/// nothing for any other name.
std::optional<PictureFormat> PictureFormatOf(const QString& path);

/// Writes the used part of the canvas with a small margin, on white, as the screen shows it at
/// the original size but without the editing's feedback (selection, rubber wire, typed value):
/// a PNG drawn at twice the screen's resolution, or an SVG. A file that exists stays as it was
/// when writing fails. Returns the German message to report, an empty text on success.
QString ExportPicture(CTrivenorDoc& document, const QString& path, PictureFormat format,
                      const PictureLook& look);

}  // namespace trivenor
