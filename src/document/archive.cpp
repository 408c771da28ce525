#include "document/archive.h"

#include <bit>
#include <cstring>
#include <limits>

#include "document/code_page.h"

namespace trivenor {
namespace {

// After the 0xFF escape byte, these 16-bit values are markers, not lengths.
constexpr std::uint16_t kWideMarker = 0xFFFE;
constexpr std::uint16_t kLongMarker = 0xFFFF;
constexpr std::uint8_t kEscape = 0xFF;

// Returns the next `count` bytes and moves past them. The check comes first so that no caller
// ever sizes a buffer from a length the data cannot back up.
const std::uint8_t* Take(std::span<const std::uint8_t> data, std::size_t& position,
                         std::size_t count) {
  if (count > data.size() - position) {
    throw FormatError();
  }
  const std::uint8_t* bytes = data.data() + position;
  position += count;
  return bytes;
}

std::uint16_t Le16(const std::uint8_t* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
}

std::uint32_t Le32(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

void AppendLe16(std::vector<std::uint8_t>& out, std::uint16_t value) {
  const std::uint8_t bytes[] = {static_cast<std::uint8_t>(value),
                                static_cast<std::uint8_t>(value >> 8)};
  out.insert(out.end(), bytes, bytes + sizeof bytes);
}

void AppendLe32(std::vector<std::uint8_t>& out, std::uint32_t value) {
  const std::uint8_t bytes[] = {
      static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
      static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
  out.insert(out.end(), bytes, bytes + sizeof bytes);
}

void AppendLengthPrefix(std::vector<std::uint8_t>& out, std::size_t length) {
  if (length < kEscape) {
    out.push_back(static_cast<std::uint8_t>(length));
  } else if (length < kWideMarker) {
    out.push_back(kEscape);
    AppendLe16(out, static_cast<std::uint16_t>(length));
  } else if (length <= std::numeric_limits<std::uint32_t>::max()) {
    out.push_back(kEscape);
    AppendLe16(out, kLongMarker);
    AppendLe32(out, static_cast<std::uint32_t>(length));
  } else {
    throw std::length_error("string too long for a circuit file");
  }
}

struct LengthPrefix {
  std::uint32_t length = 0;
  bool wide = false;  // the wide marker: a second prefix, counting UTF-16 units, follows
};

LengthPrefix TakeLengthPrefix(std::span<const std::uint8_t> data, std::size_t& position) {
  const std::uint8_t first = *Take(data, position, 1);
  if (first != kEscape) {
    return {first, false};
  }
  const std::uint16_t second = Le16(Take(data, position, 2));
  if (second == kWideMarker) {
    return {0, true};
  }
  if (second != kLongMarker) {
    return {second, false};
  }
  return {Le32(Take(data, position, 4)), false};
}

}  // namespace

void Archive::Int32(std::int32_t& value) {
  if (storing_) {
    AppendLe32(buffer_, static_cast<std::uint32_t>(value));
  } else {
    value = static_cast<std::int32_t>(Le32(Take(data_, position_, 4)));
  }
}

void Archive::Float(float& value) {
  auto bits = std::bit_cast<std::int32_t>(value);
  Int32(bits);
  if (!storing_) {
    value = std::bit_cast<float>(bits);
  }
}

void Archive::Bytes(std::string& bytes) {
  if (storing_) {
    AppendLengthPrefix(buffer_, bytes.size());
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    return;
  }
  LengthPrefix prefix = TakeLengthPrefix(data_, position_);
  if (!prefix.wide) {
    const std::uint8_t* text = Take(data_, position_, prefix.length);
    bytes.assign(reinterpret_cast<const char*>(text), prefix.length);
    return;
  }
  prefix = TakeLengthPrefix(data_, position_);
  // Checked before doubling: the byte count of a 32-bit unit count can overflow a 32-bit size_t.
  if (prefix.wide || prefix.length > Remaining() / 2) {
    throw FormatError();
  }
  const std::uint8_t* units_le = Take(data_, position_, std::size_t{prefix.length} * 2);
  std::u16string units(prefix.length, u'\0');
  for (std::size_t i = 0; i < units.size(); ++i) {
    units[i] = static_cast<char16_t>(Le16(units_le + 2 * i));
  }
  bytes = Utf16ToCodePage(units);
}

void Archive::Text(std::string& utf8) {
  if (storing_) {
    std::string bytes = Utf8ToCodePage(utf8);
    Bytes(bytes);
  } else {
    std::string bytes;
    Bytes(bytes);
    utf8 = CodePageToUtf8(bytes);
  }
}

void Archive::Raw(std::uint8_t* bytes, std::size_t size) {
  // A caller may pass a null pointer for an empty block, and memcpy must never see one.
  if (size == 0) {
    return;
  }
  if (storing_) {
    buffer_.insert(buffer_.end(), bytes, bytes + size);
  } else {
    std::memcpy(bytes, Take(data_, position_, size), size);
  }
}

}  // namespace trivenor
