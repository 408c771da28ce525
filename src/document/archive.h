#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <span>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace trivenor {

/// A circuit file that ends early or holds something no writer produces. Every such file is
/// reported to the user the same way.
class FormatError : public std::runtime_error {
 public:
  FormatError() : std::runtime_error("Unerwartetes Dateiformat.") {}
};

/// The 32-bit number stored little-endian at `bytes`.
inline std::uint32_t Le32(const std::uint8_t* bytes) {
  return static_cast<std::uint32_t>(bytes[0]) | static_cast<std::uint32_t>(bytes[1]) << 8 |
         static_cast<std::uint32_t>(bytes[2]) << 16 | static_cast<std::uint32_t>(bytes[3]) << 24;
}

/// Where a loading archive takes its bytes when it does not hold them all at once.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  /// Reads up to `size` bytes into `into` and returns how many; 0 only at the end. A source that
  /// fails throws (its own exception, which ends the load).
  virtual std::size_t Read(std::uint8_t* into, std::size_t size) = 0;
};

/// The little-endian byte archive of circuit files. One object either stores (appends to its
/// own buffer) or loads (reads from a span that must outlive it, or from a ByteSource). Every
/// record is written and read by one routine that calls the same exchange operations in both
/// directions, so the writer and the reader cannot drift apart.
///
/// Strings: a length prefix, then that many code-page bytes. Lengths 0 to 254 take one byte,
/// up to 65533 the byte 0xFF and 16 bits, longer ones 0xFF, 0xFFFF and 32 bits. A reader also
/// takes the wide form (0xFF, 0xFFFE, then a length of 16-bit units in the same scheme and that
/// many UTF-16LE units), converted to the code page; the writer never produces it.
///
/// A load that needs more bytes than are left throws FormatError and leaves its argument as it
/// was (the archive's position is then unspecified: the whole load ends there); nothing is
/// allocated for a length before the bytes it announces are known to be there. A wide-form length
/// that announces the wide form again is malformed and throws as well.
class Archive {
 public:
  /// An archive that stores.
  Archive() = default;
  /// An archive that loads from `data`.
  explicit Archive(std::span<const std::uint8_t> data)
      : storing_(false), data_(data), size_(data.size()) {}
  /// An archive that loads the `size` bytes `source` gives, a window of them at a time: a large
  /// file then never lies in memory whole next to the circuit built from it. Bytes the source
  /// lacks count as the end of the data.
  Archive(ByteSource& source, std::size_t size) : storing_(false), source_(&source), size_(size) {}
  /// The archive keeps only a view, so a temporary buffer would be gone before the first read.
  explicit Archive(const std::vector<std::uint8_t>&& data) = delete;

  bool IsStoring() const { return storing_; }

  // Numbers make up most of a file, so their loading is inline.
  void Int32(std::int32_t& value) {
    if (storing_) {
      Store32(static_cast<std::uint32_t>(value));
    } else {
      value = static_cast<std::int32_t>(Le32(Take(4)));
    }
  }
  /// The four bytes of the IEEE 754 bit pattern, as Int32 writes them (NaN payloads included).
  void Float(float& value) {
    auto bits = std::bit_cast<std::int32_t>(value);
    Int32(bits);
    if (!storing_) {
      value = std::bit_cast<float>(bits);
    }
  }
  /// Code-page bytes with a length prefix (see above). Storing more than 2^32 - 1 bytes throws
  /// std::length_error: the prefix has no form for it.
  void Bytes(std::string& bytes);
  /// UTF-8 text, stored as code-page bytes; characters the code page lacks are stored as "?".
  void Text(std::string& utf8);
  /// Exactly `size` bytes, as they are.
  void Raw(std::uint8_t* bytes, std::size_t size);

  /// Loading: bytes not yet read.
  std::size_t Remaining() const { return size_ - consumed_ - position_; }
  /// Storing: everything written so far.
  const std::vector<std::uint8_t>& Written() const { return buffer_; }
  /// Storing: hands over everything written so far and starts an empty buffer.
  std::vector<std::uint8_t> TakeWritten() { return std::exchange(buffer_, {}); }

 private:
  void Store32(std::uint32_t value);
  /// Loading: the next `count` bytes, valid until the next call; moves past them. The check
  /// comes first so that no caller ever sizes a buffer from a length the data cannot back up.
  const std::uint8_t* Take(std::size_t count) {
    if (count > data_.size() - position_) {
      Refill(count);
    }
    const std::uint8_t* bytes = data_.data() + position_;
    position_ += count;
    return bytes;
  }
  /// Loading from a source: moves the unread bytes to the front of the window and reads until
  /// at least `count` bytes lie there.
  void Refill(std::size_t count);

  bool storing_ = true;
  std::vector<std::uint8_t> buffer_;    ///< storing: everything written; loading: the window
  std::span<const std::uint8_t> data_;  ///< loading: the bytes at hand
  std::size_t position_ = 0;            ///< in data_
  ByteSource* source_ = nullptr;
  std::size_t size_ = 0;      ///< loading: all the bytes to read
  std::size_t consumed_ = 0;  ///< loading: bytes read before data_ begins
};

}  // namespace trivenor
