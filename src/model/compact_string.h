#pragma once

#include <bit>
#include <cstdint>
#include <cstring>
#include <new>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace trivenor {

/// Text of 8 bytes that keeps up to 6 bytes in itself, for the labels of components: a large
/// circuit has hundreds of thousands of them, nearly all a character or two ("+", "sin", a
/// short number), and the library's string takes 32 bytes for the same. Longer texts live in a
/// block of their own, which the 8 bytes then point to. Reads as a std::string_view and
/// converts to a std::string.
class CompactString {
 public:
  CompactString() noexcept { SetInlineSize(0); }
  CompactString(std::string_view text) { Assign(text); }  // NOLINT: converts as a string does
  CompactString(const char* text) : CompactString(std::string_view(text)) {}         // NOLINT
  CompactString(const std::string& text) : CompactString(std::string_view(text)) {}  // NOLINT
  CompactString(const CompactString& other) : CompactString(other.view()) {}
  CompactString(CompactString&& other) noexcept {
    std::memcpy(bytes_, other.bytes_, sizeof bytes_);
    other.SetInlineSize(0);
  }
  CompactString& operator=(const CompactString& other) {
    if (this != &other) {
      *this = other.view();
    }
    return *this;
  }
  CompactString& operator=(CompactString&& other) noexcept {
    if (this != &other) {
      Release();
      std::memcpy(bytes_, other.bytes_, sizeof bytes_);
      other.SetInlineSize(0);
    }
    return *this;
  }
  CompactString& operator=(std::string_view text) {
    // The text may lie in this string's own block, so the new one is made before the old goes.
    CompactString copy(text);
    return *this = std::move(copy);
  }
  CompactString& operator=(const char* text) { return *this = std::string_view(text); }
  CompactString& operator=(const std::string& text) { return *this = std::string_view(text); }
  ~CompactString() { Release(); }

  const char* data() const noexcept { return OnHeap() ? HeapBlock() + kSizeBytes : InlineText(); }
  /// Always followed by a 0 byte.
  const char* c_str() const noexcept { return data(); }
  std::size_t size() const noexcept {
    if (!OnHeap()) {
      return static_cast<unsigned char>(bytes_[kTagByte]) >> 1;
    }
    std::uint32_t size = 0;
    std::memcpy(&size, HeapBlock(), sizeof size);
    return size;
  }
  bool empty() const noexcept { return size() == 0; }
  std::string_view view() const noexcept { return {data(), size()}; }
  operator std::string_view() const noexcept { return view(); }  // NOLINT: reads as a view
  operator std::string() const { return str(); }                 // NOLINT: as a copy
  std::string str() const { return std::string(view()); }
  void clear() noexcept {
    Release();
    SetInlineSize(0);
  }

  friend bool operator==(const CompactString& a, const CompactString& b) noexcept {
    return a.view() == b.view();
  }
  friend bool operator==(const CompactString& a, std::string_view b) noexcept {
    return a.view() == b;
  }
  friend bool operator==(const CompactString& a, const std::string& b) noexcept {
    return a.view() == b;
  }
  friend bool operator==(const CompactString& a, const char* b) noexcept {
    return a.view() == std::string_view(b);
  }
  friend std::ostream& operator<<(std::ostream& out, const CompactString& text) {
    return out << text.view();
  }

 private:
  static constexpr std::size_t kInlineCapacity = 6;
  /// The byte that holds the lowest bit of the 8 bytes read as a number. A block's address is
  /// even, so that bit is clear for a text in a block; a text kept inline sets it and keeps its
  /// length in the byte's other bits. The text follows in the other 7 bytes, ended by a 0.
  static constexpr std::size_t kTagByte = std::endian::native == std::endian::little ? 0 : 7;
  static constexpr std::size_t kTextByte = kTagByte == 0 ? 1 : 0;
  /// A block holds the length, then the text and its 0.
  static constexpr std::size_t kSizeBytes = sizeof(std::uint32_t);
  static_assert(std::endian::native == std::endian::little ||
                std::endian::native == std::endian::big);
  static_assert(sizeof(char*) <= sizeof(std::uint64_t));

  bool OnHeap() const noexcept { return (static_cast<unsigned char>(bytes_[kTagByte]) & 1) == 0; }
  const char* InlineText() const noexcept { return bytes_ + kTextByte; }
  char* HeapBlock() const noexcept {
    std::uint64_t word = 0;
    std::memcpy(&word, bytes_, sizeof word);
    return reinterpret_cast<char*>(static_cast<std::uintptr_t>(word));
  }
  void SetInlineSize(std::size_t size) noexcept {
    bytes_[kTextByte + size] = '\0';
    bytes_[kTagByte] = static_cast<char>(size << 1 | 1);
  }
  void Assign(std::string_view text) {
    if (text.size() <= kInlineCapacity) {
      if (!text.empty()) {
        std::memcpy(bytes_ + kTextByte, text.data(), text.size());
      }
      SetInlineSize(text.size());
      return;
    }
    if (text.size() > UINT32_MAX - kSizeBytes - 1) {
      throw std::length_error("CompactString");
    }
    // Memory from operator new is aligned for a number of the block's size, so its address is
    // even.
    auto* block = static_cast<char*>(::operator new(kSizeBytes + text.size() + 1));
    const auto size = static_cast<std::uint32_t>(text.size());
    std::memcpy(block, &size, sizeof size);
    std::memcpy(block + kSizeBytes, text.data(), text.size());
    block[kSizeBytes + text.size()] = '\0';
    const auto word = static_cast<std::uint64_t>(reinterpret_cast<std::uintptr_t>(block));
    std::memcpy(bytes_, &word, sizeof word);
  }
  void Release() noexcept {
    if (OnHeap()) {
      ::operator delete(HeapBlock());
    }
  }

  char bytes_[8];
};

static_assert(sizeof(CompactString) == 8);

}  // namespace trivenor
