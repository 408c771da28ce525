#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace trivenor {

/// The checks a dialog runs on its fields when "OK" is pressed, and the warnings they give.
/// Qt-free so that the rules are tested without a window; the dialogs only show the result.

/// The warning of a refused field; no value means the field passed.
using FieldWarning = std::optional<std::string>;

/// The ends of a whole-number field's range, both allowed.
struct WholeNumberRange {
  int low;
  int high;
};

/// A whole-number field is read from this many characters at most; the rest is ignored.
inline constexpr int kWholeNumberFieldCharacters = 63;

/// Reads a field as scanf's "%d" does in the "C" locale: white space, an optional sign, then
/// decimal digits up to the first other character ("12abc" gives 12), looking only at the first
/// kWholeNumberFieldCharacters characters. No digits give nothing. Digits beyond the range of
/// int also give nothing: scanf's result is undefined there, and refusing the field is safer
/// than silently taking a saturated or wrapped value.
std::optional<int> ReadWholeNumber(std::string_view field_text);

/// What "OK" decides for a whole-number field: the value, or the warning to show.
struct WholeNumberCheck {
  std::optional<int> value;
  FieldWarning warning;
};

/// The field read as a whole number, then checked against `range`.
WholeNumberCheck CheckWholeNumberField(std::string_view field_text, WholeNumberRange range);

/// A warning when the UTF-8 text holds more than `max_characters` characters.
FieldWarning CheckTextLength(std::string_view field_text, int max_characters);

/// The warnings, word for word.
std::string NotAWholeNumberWarning();
std::string OutOfRangeWarning(WholeNumberRange range);
std::string TooLongWarning(int max_characters);

}  // namespace trivenor
