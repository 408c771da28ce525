#include "view/page_printing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "view/font_record.h"
#include "view/paper_context.h"
#include "view/print_painting.h"

namespace trivenor {
namespace {

// Byte offsets of the height and width in the LOGFONTA record; little-endian integers.
constexpr std::size_t kHeightField = 0;
constexpr std::size_t kWidthField = 4;

// 10 points are 10/72 inch, 35 tenths of a millimetre once rounded.
constexpr double kDefaultPointSize = 10.0;
constexpr double kTenthsOfMillimetrePerPoint = 254.0 / 72.0;

std::int32_t ReadField(const FontRecord& record, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= static_cast<std::uint32_t>(record[offset + i]) << (8 * i);
  }
  return static_cast<std::int32_t>(value);
}

void WriteField(FontRecord& record, std::size_t offset, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (std::size_t i = 0; i < 4; ++i) {
    record[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
  }
}

// Restores the painter even when printing is cut short by an exception.
class PainterStateGuard {
 public:
  explicit PainterStateGuard(QPainter& painter) : painter_(painter) { painter_.save(); }
  ~PainterStateGuard() { painter_.restore(); }
  PainterStateGuard(const PainterStateGuard&) = delete;
  PainterStateGuard& operator=(const PainterStateGuard&) = delete;

 private:
  QPainter& painter_;
};

}  // namespace

FontRecord PrinterFontRecord(const FontRecord& canvasFont) {
  FontRecord printed = canvasFont;
  // Heights come from files: doubled in 64 bits and held to the record's range, never wrapped.
  const std::int64_t doubled = 2 * std::int64_t{ReadField(canvasFont, kHeightField)};
  WriteField(printed, kHeightField,
             static_cast<std::int32_t>(
                 std::clamp<std::int64_t>(doubled, std::numeric_limits<std::int32_t>::min(),
                                          std::numeric_limits<std::int32_t>::max())));
  WriteField(printed, kWidthField, 0);
  return printed;
}

QFont PrinterFont(const DocumentSettings& settings) {
  if (settings.canvasFont) {
    return FontFromRecord(PrinterFontRecord(*settings.canvasFont));
  }
  QFont font = DefaultCanvasFont();  // the same face request, and so the same substitute
  font.setPixelSize(static_cast<int>(std::lround(kDefaultPointSize * kTenthsOfMillimetrePerPoint)));
  return font;
}

std::optional<CanvasMetrics> PrintDocumentPage(QPainter& painter, CTrivenorDoc& document,
                                               const EditState& edit) {
  if (document.loading) {
    return std::nullopt;
  }
  PainterStateGuard guard(painter);
  painter.setFont(PrinterFont(document.settings));
  PaperContext paper(painter);
  return PrintCanvas(paper, document, edit);
}

}  // namespace trivenor
