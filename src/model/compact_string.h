#pragma once

#include <cstdint>
#include <cstring>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace trivenor {

/// Text of 16 bytes that keeps up to 15 bytes in itself, for the labels of components: a large
/// circuit has hundreds of thousands of them, nearly all a character or two ("+", "sin", a
/// number), and the library's string takes 32 bytes for the same. Longer texts live in a block
/// of their own. Reads as a std::string_view and converts to a std::string.
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

  const char* data() const noexcept { return OnHeap() ? HeapBlock() : bytes_; }
  /// Always followed by a 0 byte.
  const char* c_str() const noexcept { return data(); }
  std::size_t size() const noexcept {
    if (!OnHeap()) {
      return kInlineCapacity - static_cast<unsigned char>(bytes_[kTagByte]);
    }
    std::uint32_t size = 0;
    std::memcpy(&size, bytes_ + sizeof(char*), sizeof size);
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
  static constexpr std::size_t kInlineCapacity = 15;
  /// The last byte: kInlineCapacity less the length for a text kept inline (so a text of 15
  /// bytes ends in the 0 it needs), kOnHeap for one in a block.
  static constexpr std::size_t kTagByte = 15;
  static constexpr unsigned char kOnHeap = 0xFF;

  bool OnHeap() const noexcept { return static_cast<unsigned char>(bytes_[kTagByte]) == kOnHeap; }
  char* HeapBlock() const noexcept {
    char* block = nullptr;
    std::memcpy(&block, bytes_, sizeof block);
    return block;
  }
  void SetInlineSize(std::size_t size) noexcept {
    bytes_[size] = '\0';
    bytes_[kTagByte] = static_cast<char>(kInlineCapacity - size);
  }
  void Assign(std::string_view text) {
    if (text.size() <= kInlineCapacity) {
      if (!text.empty()) {
        std::memcpy(bytes_, text.data(), text.size());
      }
      SetInlineSize(text.size());
      return;
    }
    if (text.size() > UINT32_MAX) {
      throw std::length_error("CompactString");
    }
    char* block = new char[text.size() + 1];
    std::memcpy(block, text.data(), text.size());
    block[text.size()] = '\0';
    const auto size = static_cast<std::uint32_t>(text.size());
    std::memcpy(bytes_, &block, sizeof block);
    std::memcpy(bytes_ + sizeof block, &size, sizeof size);
    bytes_[kTagByte] = static_cast<char>(kOnHeap);
  }
  void Release() noexcept {
    if (OnHeap()) {
      delete[] HeapBlock();
    }
  }

  char bytes_[16];
};

static_assert(sizeof(CompactString) == 16);

}  // namespace trivenor
