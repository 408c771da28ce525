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

namespace trivenor {
namespace {

// Byte offsets of the LOGFONTA fields; all integers little-endian.
constexpr std::size_t kHeight = 0;
constexpr std::size_t kWidth = 4;
constexpr std::size_t kEscapement = 8;
constexpr std::size_t kOrientation = 12;
constexpr std::size_t kWeight = 16;
constexpr std::size_t kItalic = 20;
constexpr std::size_t kUnderline = 21;
constexpr std::size_t kStrikeOut = 22;
constexpr std::size_t kCharSet = 23;
constexpr std::size_t kOutPrecision = 24;
constexpr std::size_t kClipPrecision = 25;
constexpr std::size_t kQuality = 26;
constexpr std::size_t kPitchAndFamily = 27;
constexpr std::size_t kFaceName = 28;
constexpr std::size_t kFaceNameSize = 32;

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

std::int32_t ReadInt32(const FontRecord& record, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= static_cast<std::uint32_t>(record[offset + i]) << (8 * i);
  }
  return static_cast<std::int32_t>(value);
}

void WriteInt32(FontRecord& record, std::size_t offset, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (std::size_t i = 0; i < 4; ++i) {
    record[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
  }
}

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
  const auto* first = reinterpret_cast<const char*>(record.data() + kFaceName);
  // A name filling all 32 bytes has no NUL: it ends with the record.
  const std::size_t length = strnlen(first, kFaceNameSize);
  return CodePageToUtf8(std::string_view(first, length));
}

}  // namespace

QFont FontFromRecord(const FontRecord& record) {
  QFont font;
  const std::uint8_t pitchAndFamily = record[kPitchAndFamily];
  font.setStyleHint(StyleHintOf(pitchAndFamily));
  // Without a name the family is chosen by pitch and family alone, as Windows does.
  const std::string face = FaceName(record);
  font.setFamily(face.empty() ? font.defaultFamily() : QString::fromStdString(face));
  if ((pitchAndFamily & 0x03) == kFixedPitch) {
    font.setFixedPitch(true);
  }

  // Widened before negating: the most negative 32-bit value has no positive counterpart.
  const std::int64_t height = ReadInt32(record, kHeight);
  if (height < 0) {
    font.setPixelSize(ClampedPixelSize(static_cast<double>(-height)));
  } else if (height > 0) {
    font.setPixelSize(PixelSizeForCellHeight(
        font, static_cast<int>(std::min<std::int64_t>(height, kMaxPixelSize))));
  } else {
    font.setPixelSize(kDefaultPixelSize);
  }

  const std::int32_t weight = ReadInt32(record, kWeight);
  font.setWeight(static_cast<QFont::Weight>(weight <= 0 ? kNormalWeight
                                                        : std::min<std::int32_t>(weight, 1000)));
  font.setItalic(record[kItalic] != 0);
  font.setUnderline(record[kUnderline] != 0);
  font.setStrikeOut(record[kStrikeOut] != 0);

  const std::uint8_t quality = record[kQuality];
  if (quality == kNonAntialiasedQuality) {
    font.setStyleStrategy(QFont::NoAntialias);
  } else if (quality >= kAntialiasedQuality && quality <= kClearTypeNaturalQuality) {
    font.setStyleStrategy(QFont::PreferAntialias);
  }

  // A width asks for characters of that average width: Qt stretches the font by the ratio.
  const std::int64_t width = std::abs(static_cast<std::int64_t>(ReadInt32(record, kWidth)));
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
  WriteInt32(record, kHeight, -ClampedPixelSize(pixelSize));
  const int stretch = font.stretch();
  if (stretch > 0 && stretch != QFont::Unstretched) {
    QFont natural(font);
    natural.setStretch(QFont::Unstretched);
    const int average = QFontMetrics(natural).averageCharWidth();
    WriteInt32(record, kWidth, static_cast<std::int32_t>(std::lround(average * stretch / 100.0)));
  }
  WriteInt32(record, kEscapement, 0);
  WriteInt32(record, kOrientation, 0);
  WriteInt32(record, kWeight, static_cast<std::int32_t>(font.weight()));
  record[kItalic] = font.italic() ? 1 : 0;
  record[kUnderline] = font.underline() ? 1 : 0;
  record[kStrikeOut] = font.strikeOut() ? 1 : 0;
  record[kCharSet] = kAnsiCharSet;
  record[kOutPrecision] = kOutStrokePrecision;
  record[kClipPrecision] = kClipStrokePrecision;
  const QFont::StyleStrategy strategy = font.styleStrategy();
  record[kQuality] = (strategy & QFont::NoAntialias)       ? kNonAntialiasedQuality
                     : (strategy & QFont::PreferAntialias) ? kAntialiasedQuality
                                                           : kDraftQuality;
  const bool fixedPitch = info.fixedPitch();
  record[kPitchAndFamily] = static_cast<std::uint8_t>((fixedPitch ? kFixedPitch : kVariablePitch) |
                                                      FamilyOf(font.styleHint(), fixedPitch));
  // At most 31 bytes of the name, so the NUL always fits.
  const std::string face = Utf8ToCodePage(font.family().toStdString());
  std::memcpy(record.data() + kFaceName, face.data(), std::min(face.size(), kFaceNameSize - 1));
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
