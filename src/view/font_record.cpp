#include "view/font_record.h"

#include <QFontInfo>
#include <QFontMetrics>
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "document/code_page.h"
#include "view/font_record_layout.h"

namespace trivenor {
namespace {

// Field values as Windows defines them.
constexpr std::uint8_t kAnsiCharSet = 0;
constexpr std::uint8_t kOutStrokePrecision = 3;
constexpr std::uint8_t kClipStrokePrecision = 2;
constexpr std::uint8_t kDraftQuality = 1;
constexpr std::uint8_t kNonAntialiasedQuality = 3;
constexpr std::uint8_t kAntialiasedQuality = 4;
constexpr std::uint8_t kClearTypeNaturalQuality = 6;
constexpr std::uint8_t kFixedPitch = 1;
constexpr std::uint8_t kVariablePitch = 2;
constexpr std::uint8_t kFamilyMask = 0xF0;
constexpr std::uint8_t kRoman = 0x10;
constexpr std::uint8_t kSwiss = 0x20;
constexpr std::uint8_t kModern = 0x30;
constexpr std::uint8_t kScript = 0x40;
constexpr std::uint8_t kDecorative = 0x50;
constexpr std::int32_t kNormalWeight = 400;

constexpr int kDefaultPixelSize = 13;  // 10 points at 96 dpi
constexpr int kDefaultPointSize = 10;
constexpr double kPointsPerPixel = 72.0 / 96.0;
constexpr int kMinPixelSize = 1;
constexpr int kMaxPixelSize = 500;
constexpr int kMaxStretch = 4000;  // Qt's upper bound

int ClampedPixelSize(double pixels) {
  return static_cast<int>(std::lround(std::clamp<double>(pixels, kMinPixelSize, kMaxPixelSize)));
}

// A positive height is the cell (ascent + descent); Qt sizes by the character height, so the
// pixel size is scaled by how much taller the cell of this font is.
int PixelSizeForCellHeight(QFont font, int cellHeight) {
  const int guess = ClampedPixelSize(cellHeight);
  font.setPixelSize(guess);
  const int measured = QFontMetrics(font).height();
  if (measured <= 0) {
    return guess;
  }
  return ClampedPixelSize(static_cast<double>(guess) * guess / measured);
}

QFont::StyleHint StyleHintOf(std::uint8_t pitchAndFamily) {
  switch (pitchAndFamily & kFamilyMask) {
    case kRoman:
      return QFont::Serif;
    case kSwiss:
      return QFont::SansSerif;
    case kModern:
      return QFont::TypeWriter;
    case kScript:
      return QFont::Cursive;
    case kDecorative:
      return QFont::Decorative;
    default:
      return QFont::AnyStyle;
  }
}

std::uint8_t FamilyOf(QFont::StyleHint hint, bool fixedPitch) {
  switch (hint) {
    case QFont::Serif:
      return kRoman;
    case QFont::SansSerif:
      return kSwiss;
    case QFont::TypeWriter:
    case QFont::Monospace:
      return kModern;
    case QFont::Cursive:
      return kScript;
    case QFont::Decorative:
    case QFont::Fantasy:
      return kDecorative;
    default:
      return fixedPitch ? kModern : 0;
  }
}

std::string FaceName(const FontRecord& record) {
  const auto* first = reinterpret_cast<const char*>(record.data() + logfont::kFaceName);
  // A name filling all 32 bytes has no NUL: it ends with the record.
  const std::size_t length = strnlen(first, logfont::kFaceNameSize);
  return CodePageToUtf8(std::string_view(first, length));
}

}  // namespace

QFont FontFromRecord(const FontRecord& record) {
  QFont font;
  const std::uint8_t pitchAndFamily = record[logfont::kPitchAndFamily];
  font.setStyleHint(StyleHintOf(pitchAndFamily));
  // Without a name the family is chosen by pitch and family alone, as Windows does.
  const std::string face = FaceName(record);
  font.setFamily(face.empty() ? font.defaultFamily() : QString::fromStdString(face));
  if ((pitchAndFamily & 0x03) == kFixedPitch) {
    font.setFixedPitch(true);
  }

  // Widened before negating: the most negative 32-bit value has no positive counterpart.
  const std::int64_t height = logfont::ReadInt32(record, logfont::kHeight);
  if (height < 0) {
    font.setPixelSize(ClampedPixelSize(static_cast<double>(-height)));
  } else if (height > 0) {
    font.setPixelSize(PixelSizeForCellHeight(
        font, static_cast<int>(std::min<std::int64_t>(height, kMaxPixelSize))));
  } else {
    font.setPixelSize(kDefaultPixelSize);
  }

  const std::int32_t weight = logfont::ReadInt32(record, logfont::kWeight);
  font.setWeight(static_cast<QFont::Weight>(weight <= 0 ? kNormalWeight
                                                        : std::min<std::int32_t>(weight, 1000)));
  font.setItalic(record[logfont::kItalic] != 0);
  font.setUnderline(record[logfont::kUnderline] != 0);
  font.setStrikeOut(record[logfont::kStrikeOut] != 0);

  const std::uint8_t quality = record[logfont::kQuality];
  if (quality == kNonAntialiasedQuality) {
    font.setStyleStrategy(QFont::NoAntialias);
  } else if (quality >= kAntialiasedQuality && quality <= kClearTypeNaturalQuality) {
    font.setStyleStrategy(QFont::PreferAntialias);
  }

  // A width asks for characters of that average width: Qt stretches the font by the ratio.
  const std::int64_t width =
      std::abs(static_cast<std::int64_t>(logfont::ReadInt32(record, logfont::kWidth)));
  if (width != 0) {
    const int natural = QFontMetrics(font).averageCharWidth();
    if (natural > 0) {
      const double stretch = std::clamp(100.0 * static_cast<double>(width) / natural, 1.0,
                                        static_cast<double>(kMaxStretch));
      font.setStretch(static_cast<int>(std::lround(stretch)));
    }
  }
  return font;
}

FontRecord RecordFromFont(const QFont& font) {
  FontRecord record{};
  const QFontInfo info(font);
  const int pixelSize = font.pixelSize() > 0
                            ? font.pixelSize()
                            : static_cast<int>(std::lround(font.pointSizeF() * 96.0 / 72.0));
  logfont::WriteInt32(record, logfont::kHeight, -ClampedPixelSize(pixelSize));
  const int stretch = font.stretch();
  if (stretch > 0 && stretch != QFont::Unstretched) {
    QFont natural(font);
    natural.setStretch(QFont::Unstretched);
    const int average = QFontMetrics(natural).averageCharWidth();
    logfont::WriteInt32(record, logfont::kWidth,
                        static_cast<std::int32_t>(std::lround(average * stretch / 100.0)));
  }
  logfont::WriteInt32(record, logfont::kEscapement, 0);
  logfont::WriteInt32(record, logfont::kOrientation, 0);
  logfont::WriteInt32(record, logfont::kWeight, static_cast<std::int32_t>(font.weight()));
  record[logfont::kItalic] = font.italic() ? 1 : 0;
  record[logfont::kUnderline] = font.underline() ? 1 : 0;
  record[logfont::kStrikeOut] = font.strikeOut() ? 1 : 0;
  record[logfont::kCharSet] = kAnsiCharSet;
  record[logfont::kOutPrecision] = kOutStrokePrecision;
  record[logfont::kClipPrecision] = kClipStrokePrecision;
  const QFont::StyleStrategy strategy = font.styleStrategy();
  record[logfont::kQuality] = (strategy & QFont::NoAntialias)       ? kNonAntialiasedQuality
                              : (strategy & QFont::PreferAntialias) ? kAntialiasedQuality
                                                                    : kDraftQuality;
  const bool fixedPitch = info.fixedPitch();
  record[logfont::kPitchAndFamily] = static_cast<std::uint8_t>(
      (fixedPitch ? kFixedPitch : kVariablePitch) | FamilyOf(font.styleHint(), fixedPitch));
  // At most 31 bytes of the name, so the NUL always fits.
  const std::string face = Utf8ToCodePage(font.family().toStdString());
  std::memcpy(record.data() + logfont::kFaceName, face.data(),
              std::min(face.size(), logfont::kFaceNameSize - 1));
  return record;
}

QFont DefaultCanvasFont() {
  QFont font(QStringLiteral("Courier New"));
  font.setPixelSize(kDefaultPixelSize);
  return font;
}

QFont CanvasFont(const DocumentSettings& settings) {
  return settings.canvasFont ? FontFromRecord(*settings.canvasFont) : DefaultCanvasFont();
}

QFont CanvasFontForDialog(const DocumentSettings& settings) {
  QFont font;
  if (settings.canvasFont) {
    font = FontFromRecord(*settings.canvasFont);
    font.setPointSize(
        std::max(1, static_cast<int>(std::lround(font.pixelSize() * kPointsPerPixel))));
  } else {
    font = QFont(QStringLiteral("Courier New"), kDefaultPointSize);
  }
  // The dialog lists installed families only; a substituted name ("Courier New" on Linux) would
  // make it fall back to some other family.
  font.setFamily(QFontInfo(font).family());
  return font;
}

FontRecord CanvasFontRecord(const DocumentSettings& settings) {
  return settings.canvasFont ? *settings.canvasFont : RecordFromFont(DefaultCanvasFont());
}

}  // namespace trivenor
