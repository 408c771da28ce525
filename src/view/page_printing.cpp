#include "view/page_printing.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>

#include "view/font_record.h"
#include "view/font_record_layout.h"
#include "view/paper_context.h"
#include "view/print_painting.h"

namespace trivenor {
namespace {

// 10 points are 10/72 inch, 35 tenths of a millimetre once rounded.
constexpr double kDefaultPointSize = 10.0;
constexpr double kTenthsOfMillimetrePerPoint = 254.0 / 72.0;

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
  const std::int64_t doubled = 2 * std::int64_t{logfont::ReadInt32(canvasFont, logfont::kHeight)};
  logfont::WriteInt32(printed, logfont::kHeight,
                      static_cast<std::int32_t>(std::clamp<std::int64_t>(
                          doubled, std::numeric_limits<std::int32_t>::min(),
                          std::numeric_limits<std::int32_t>::max())));
  logfont::WriteInt32(printed, logfont::kWidth, 0);
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
                                               const EditState& edit, bool worksheet) {
  if (document.loading) {
    return std::nullopt;
  }
  PainterStateGuard guard(painter);
  painter.setFont(PrinterFont(document.settings));
  PaperContext paper(painter);
  return PrintCanvas(paper, document, edit, worksheet);
}

}  // namespace trivenor
