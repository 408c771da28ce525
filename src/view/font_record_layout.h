#pragma once

#include <cstddef>
#include <cstdint>

#include "document/document_serializer.h"

/// Where the fields of a FontRecord lie: the Windows LOGFONTA record, whose 32-bit integers are
/// little-endian. The fonts of the screen and of the printer both read and write records by it.
namespace trivenor::logfont {

inline constexpr std::size_t kHeight = 0;
inline constexpr std::size_t kWidth = 4;
inline constexpr std::size_t kEscapement = 8;
inline constexpr std::size_t kOrientation = 12;
inline constexpr std::size_t kWeight = 16;
inline constexpr std::size_t kItalic = 20;
inline constexpr std::size_t kUnderline = 21;
inline constexpr std::size_t kStrikeOut = 22;
inline constexpr std::size_t kCharSet = 23;
inline constexpr std::size_t kOutPrecision = 24;
inline constexpr std::size_t kClipPrecision = 25;
inline constexpr std::size_t kQuality = 26;
inline constexpr std::size_t kPitchAndFamily = 27;
inline constexpr std::size_t kFaceName = 28;
inline constexpr std::size_t kFaceNameSize = 32;

inline std::int32_t ReadInt32(const FontRecord& record, std::size_t offset) {
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    value |= static_cast<std::uint32_t>(record[offset + i]) << (8 * i);
  }
  return static_cast<std::int32_t>(value);
}

inline void WriteInt32(FontRecord& record, std::size_t offset, std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  for (std::size_t i = 0; i < 4; ++i) {
    record[offset + i] = static_cast<std::uint8_t>(bits >> (8 * i));
  }
}

}  // namespace trivenor::logfont
