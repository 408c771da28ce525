#pragma once

#include <string>
#include <string_view>

namespace trivenor {

/// Circuit files store text in the 8-bit Windows-1252 code page; in memory text is UTF-8.
/// The five bytes Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) map to the C1
/// controls of the same number, so every byte survives a read and a write.
std::string CodePageToUtf8(std::string_view bytes);

/// Characters the code page cannot hold, and bytes that are not valid UTF-8, become "?". A
/// malformed stretch gives one "?" per maximal subpart, as Unicode recommends: a truncated
/// character one "?", an overlong form, an encoded surrogate or a stray byte one "?" per byte.
std::string Utf8ToCodePage(std::string_view utf8);

/// The wide string form some writers use: UTF-16 units to code-page bytes; unpaired surrogates
/// and characters the code page cannot hold become "?".
std::string Utf16ToCodePage(std::u16string_view units);

}  // namespace trivenor
