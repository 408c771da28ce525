#include "shell/field_rules.h"

#include <cstdint>
#include <limits>

#include "model/c_locale_chars.h"
#include "model/utf8_text.h"

namespace trivenor {

std::optional<int> ReadWholeNumber(std::string_view field_text) {
  // Everything the reading accepts is ASCII and any other byte ends it, so up to where reading
  // stops bytes and characters coincide and the character limit is a byte limit.
  const std::string_view text =
      field_text.substr(0, static_cast<std::size_t>(kWholeNumberFieldCharacters));
  std::size_t i = 0;
  while (i < text.size() && IsBlank(text[i])) {
    ++i;
  }
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  if (i == text.size() || !IsDecimalDigit(text[i])) {
    return std::nullopt;
  }
  // The magnitude is gathered in 64 bits and stops as soon as it leaves the int range, so any
  // number of digits is safe.
  const std::int64_t limit = negative ? -static_cast<std::int64_t>(std::numeric_limits<int>::min())
                                      : std::numeric_limits<int>::max();
  std::int64_t magnitude = 0;
  for (; i < text.size() && IsDecimalDigit(text[i]); ++i) {
    magnitude = magnitude * 10 + (text[i] - '0');
    if (magnitude > limit) {
      return std::nullopt;
    }
  }
  return static_cast<int>(negative ? -magnitude : magnitude);
}

WholeNumberCheck CheckWholeNumberField(std::string_view field_text, WholeNumberRange range) {
  const std::optional<int> number = ReadWholeNumber(field_text);
  if (!number) {
    return {std::nullopt, NotAWholeNumberWarning()};
  }
  if (*number < range.low || *number > range.high) {
    return {std::nullopt, OutOfRangeWarning(range)};
  }
  return {number, std::nullopt};
}

FieldWarning CheckTextLength(std::string_view field_text, int max_characters) {
  if (CharacterCount(field_text) > max_characters) {
    return TooLongWarning(max_characters);
  }
  return std::nullopt;
}

std::string NotAWholeNumberWarning() {
  return "Geben Sie eine ganze Zahl ein.";
}

// std::to_string of an int writes plain decimal digits whatever the process locale.
std::string OutOfRangeWarning(WholeNumberRange range) {
  return "Geben Sie eine ganze Zahl zwischen " + std::to_string(range.low) + " und " +
         std::to_string(range.high) + " ein.";
}

std::string TooLongWarning(int max_characters) {
  return "Geben Sie nicht mehr als " + std::to_string(max_characters) + " Zeichen ein.";
}

}  // namespace trivenor
