#pragma once

#include <string_view>

namespace trivenor {

/// Characters, not bytes, of UTF-8 text: what a text of the 8-bit code page counted.
inline int CharacterCount(std::string_view utf8) {
  int count = 0;
  for (const char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0u) != 0x80u) {
      ++count;
    }
  }
  return count;
}

}  // namespace trivenor
