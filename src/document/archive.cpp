#include "document/archive.h"

#include <algorithm>
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

/// A file is read in pieces of this size (larger only for a string that does not fit).
constexpr std::size_t kWindowBytes = std::size_t{64} << 10;

std::uint16_t Le16(const std::uint8_t* bytes) {
  return static_cast<std::uint16_t>(bytes[0] | bytes[1] << 8);
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

template <typename Take>
LengthPrefix TakeLengthPrefix(Take take) {
  const std::uint8_t first = *take(1);
  if (first != kEscape) {
    return {first, false};
  }
  const std::uint16_t second = Le16(take(2));
  if (second == kWideMarker) {
    return {0, true};
  }
  if (second != kLongMarker) {
    return {second, false};
  }
  return {Le32(take(4)), false};
}

}  // namespace

void Archive::Refill(std::size_t count) {
  if (source_ == nullptr || count > Remaining()) {
    throw FormatError();
  }
  const std::size_t kept = data_.size() - position_;
  if (kept > 0) {
    std::memmove(buffer_.data(), data_.data() + position_, kept);
  }
  buffer_.resize(std::max({buffer_.size(), kWindowBytes, count}));
  const std::size_t wanted = std::min(buffer_.size(), Remaining());
  std::size_t filled = kept;
  while (filled < wanted) {
    const std::size_t got = source_->Read(buffer_.data() + filled, wanted - filled);
    if (got == 0) {
      break;
    }
    filled += got;
  }
  consumed_ += position_;
  data_ = std::span<const std::uint8_t>(buffer_.data(), filled);
  position_ = 0;
  if (filled < count) {
    throw FormatError();  // the source ended before the size it was announced with
  }
}

void Archive::Store32(std::uint32_t value) {
  AppendLe32(buffer_, value);
}

void Archive::Bytes(std::string& bytes) {
  if (storing_) {
    AppendLengthPrefix(buffer_, bytes.size());
    buffer_.insert(buffer_.end(), bytes.begin(), bytes.end());
    return;
  }
  auto take = [this](std::size_t count) { return Take(count); };
  LengthPrefix prefix = TakeLengthPrefix(take);
  if (!prefix.wide) {
    const std::uint8_t* text = Take(prefix.length);
    bytes.assign(reinterpret_cast<const char*>(text), prefix.length);
    return;
  }
  prefix = TakeLengthPrefix(take);
  // Checked before doubling: the byte count of a 32-bit unit count can overflow a 32-bit size_t.
  if (prefix.wide || prefix.length > Remaining() / 2) {
    throw FormatError();
  }
  const std::uint8_t* units_le = Take(std::size_t{prefix.length} * 2);
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
    std::memcpy(bytes, Take(size), size);
  }
}

}  // namespace trivenor
