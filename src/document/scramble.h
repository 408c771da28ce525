#pragma once

#include <cstdint>
#include <string>

namespace trivenor {

/// Owner names and passwords are stored scrambled: a position-dependent substitution on the
/// bytes 1 to 255 of the code-page text. It keeps casual readers out, nothing more.
///
/// Encoding appends the check marker "QZV" and then scrambles; decoding unscrambles and removes
/// the marker if it is there (a text without it stays as decoded, without complaint). A byte 0
/// is scrambled like 255 and so comes back as 255; names and passwords never hold one.
void ScrambleText(std::string& text, std::int32_t key, bool encode);

/// The scrambler's fixed modulus: keys are taken modulo this number. Files are exchangeable
/// only between builds that agree on it.
inline constexpr int kScrambleModulus = 173;

}  // namespace trivenor
