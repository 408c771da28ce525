#include "document/code_page.h"

#include <array>
#include <cstddef>

namespace trivenor {
namespace {

// Windows-1252 differs from Latin-1 only in 0x80 to 0x9F. The five bytes it leaves undefined
// keep their C1 control, so that every byte has a character and comes back unchanged.
constexpr std::array<char16_t, 32> kBytes80To9F = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  // 0x80
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  // 0x88
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  // 0x90
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,  // 0x98
};

constexpr char kReplacement = '?';

char32_t ByteToCodePoint(unsigned char byte) {
  if (byte >= 0x80 && byte < 0xA0) {
    return kBytes80To9F[byte - 0x80];
  }
  return byte;
}

char CodePointToByte(char32_t code_point) {
  if (code_point < 0x80 || (code_point >= 0xA0 && code_point <= 0xFF)) {
    return static_cast<char>(code_point);
  }
  for (std::size_t i = 0; i < kBytes80To9F.size(); ++i) {
    if (kBytes80To9F[i] == code_point) {
      return static_cast<char>(0x80 + i);
    }
  }
  return kReplacement;
}

void AppendUtf8(std::string& out, char32_t code_point) {
  if (code_point < 0x80) {
    out.push_back(static_cast<char>(code_point));
  } else if (code_point < 0x800) {
    out.push_back(static_cast<char>(0xC0 | code_point >> 6));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  } else {  // the code page holds nothing beyond the Basic Multilingual Plane
    out.push_back(static_cast<char>(0xE0 | code_point >> 12));
    out.push_back(static_cast<char>(0x80 | (code_point >> 6 & 0x3F)));
    out.push_back(static_cast<char>(0x80 | (code_point & 0x3F)));
  }
}

constexpr char32_t kMalformed = 0xFFFFFFFF;

struct Decoded {
  char32_t code_point;  // kMalformed if the bytes do not form a character
  std::size_t length;   // bytes consumed, at least one
};

// Decodes the sequence that starts with a byte of 0x80 or more. A malformed sequence consumes
// the longest start that could still have become a valid character, or else its first byte:
// the Unicode "maximal subpart" rule. So a truncated character costs one "?", while overlong
// forms, encoded surrogates and values above U+10FFFF, whose second byte is already out of
// range, cost one "?" per byte, and a byte that ends a bad sequence is never swallowed.
Decoded DecodeMultiByte(std::string_view utf8, std::size_t start) {
  const auto lead = static_cast<unsigned char>(utf8[start]);
  std::size_t continuation_count = 0;
  char32_t code_point = 0;
  // The allowed range of the second byte excludes overlong forms, surrogates and > U+10FFFF.
  unsigned char low = 0x80;
  unsigned char high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    continuation_count = 1;
    code_point = lead & 0x1F;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    continuation_count = 2;
    code_point = lead & 0x0F;
    low = lead == 0xE0 ? 0xA0 : 0x80;
    high = lead == 0xED ? 0x9F : 0xBF;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    continuation_count = 3;
    code_point = lead & 0x07;
    low = lead == 0xF0 ? 0x90 : 0x80;
    high = lead == 0xF4 ? 0x8F : 0xBF;
  } else {
    return {kMalformed, 1};
  }
  std::size_t length = 1;
  for (; length <= continuation_count; ++length) {
    if (start + length >= utf8.size()) {
      return {kMalformed, length};
    }
    const auto byte = static_cast<unsigned char>(utf8[start + length]);
    if (byte < low || byte > high) {
      return {kMalformed, length};
    }
    code_point = code_point << 6 | (byte & 0x3F);
    low = 0x80;
    high = 0xBF;
  }
  return {code_point, length};
}

bool IsHighSurrogate(char16_t unit) {
  return unit >= 0xD800 && unit <= 0xDBFF;
}
bool IsLowSurrogate(char16_t unit) {
  return unit >= 0xDC00 && unit <= 0xDFFF;
}

}  // namespace

std::string CodePageToUtf8(std::string_view bytes) {
  std::string utf8;
  utf8.reserve(bytes.size());
  for (const char byte : bytes) {
    AppendUtf8(utf8, ByteToCodePoint(static_cast<unsigned char>(byte)));
  }
  return utf8;
}

std::string Utf8ToCodePage(std::string_view utf8) {
  std::string bytes;
  bytes.reserve(utf8.size());
  for (std::size_t position = 0; position < utf8.size();) {
    const char byte = utf8[position];
    if (static_cast<unsigned char>(byte) < 0x80) {
      bytes.push_back(byte);
      ++position;
      continue;
    }
    const Decoded decoded = DecodeMultiByte(utf8, position);
    bytes.push_back(decoded.code_point == kMalformed ? kReplacement
                                                     : CodePointToByte(decoded.code_point));
    position += decoded.length;
  }
  return bytes;
}

std::string Utf16ToCodePage(std::u16string_view units) {
  std::string bytes;
  bytes.reserve(units.size());
  for (std::size_t i = 0; i < units.size(); ++i) {
    // A surrogate pair is one character beyond the code page: one "?" for both units. An
    // unpaired surrogate is no character at all and finds no byte either.
    if (IsHighSurrogate(units[i]) && i + 1 < units.size() && IsLowSurrogate(units[i + 1])) {
      ++i;
      bytes.push_back(kReplacement);
    } else {
      bytes.push_back(CodePointToByte(units[i]));
    }
  }
  return bytes;
}

}  // namespace trivenor
