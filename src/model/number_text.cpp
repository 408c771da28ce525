#include "model/number_text.h"

#include <array>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <system_error>

#include "model/c_locale_chars.h"

namespace trivenor {
namespace {

bool IsHexDigit(char c) {
  return IsDecimalDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

// from_chars reports a result beyond the range of double without a value, so the sign of the
// overall scale decides between infinity and zero. `number` is the text from_chars matched
// (digits, optional point and fraction, optional exponent); the out-of-range results lie so far
// from 1 that "is the value above 1" is all that needs to be known. Exponent digits are summed
// with saturation because a label may carry any number of them.
bool LiesAboveOne(std::string_view number, bool hex) {
  constexpr std::int64_t kExponentLimit = std::int64_t{1} << 40;
  const char exponent_marker = hex ? 'p' : 'e';
  std::size_t i = 0;
  while (i < number.size() && number[i] == '0')
    ++i;
  // Digits before the point, or for "0.000d" minus the zeros after it.
  std::int64_t leading_position = 0;
  while (i < number.size() && number[i] != '.' && (number[i] | 0x20) != exponent_marker) {
    ++leading_position;
    ++i;
  }
  if (leading_position == 0 && i < number.size() && number[i] == '.') {
    ++i;
    while (i < number.size() && number[i] == '0') {
      --leading_position;
      ++i;
    }
  }
  while (i < number.size() && (number[i] | 0x20) != exponent_marker)
    ++i;

  std::int64_t exponent = 0;
  bool negative_exponent = false;
  if (i < number.size()) {
    ++i;
    if (i < number.size() && (number[i] == '+' || number[i] == '-')) {
      negative_exponent = number[i++] == '-';
    }
    for (; i < number.size() && exponent < kExponentLimit; ++i) {
      exponent = exponent * 10 + (number[i] - '0');
    }
  }
  if (negative_exponent)
    exponent = -exponent;
  const std::int64_t bits_per_digit = hex ? 4 : 1;  // a hex exponent counts powers of two
  return leading_position * bits_per_digit + exponent > 0;
}

// Reads an unsigned number that starts at `first` in the given format; false when none starts
// there.
bool ReadUnsigned(const char* first, const char* last, std::chars_format format, double& value) {
  const auto [end, error] = std::from_chars(first, last, value, format);
  if (error == std::errc::result_out_of_range) {
    const bool above_one =
        LiesAboveOne(std::string_view(first, end - first), format == std::chars_format::hex);
    value = above_one ? HUGE_VAL : 0.0;
    return true;
  }
  return error == std::errc{};
}

// The end of the hexadecimal number that starts after "0x" at `first` (digits with an optional
// point, then a binary exponent only when a digit follows its sign), or `first` when it has no
// digit. from_chars is handed exactly this range because libstdc++ 12 reads the text "1p+-5" as
// 2^-5 where strtod stops after the "1".
const char* HexNumberEnd(const char* first, const char* last) {
  const char* p = first;
  bool has_digit = false;
  for (; p != last && IsHexDigit(*p); ++p)
    has_digit = true;
  if (p != last && *p == '.') {
    for (++p; p != last && IsHexDigit(*p); ++p)
      has_digit = true;
  }
  if (!has_digit)
    return first;
  if (p != last && (*p | 0x20) == 'p') {
    const char* exponent = p + 1;
    if (exponent != last && (*exponent == '+' || *exponent == '-'))
      ++exponent;
    if (exponent != last && IsDecimalDigit(*exponent)) {
      p = exponent;
      while (p != last && IsDecimalDigit(*p))
        ++p;
    }
  }
  return p;
}

// Reads the magnitude that follows the optional sign; false when no number starts there.
bool ReadMagnitude(const char* first, const char* last, double& value) {
  // from_chars takes no "0x" prefix. Without a hexadecimal digit after the prefix strtod reads
  // the "0" alone, which the decimal reading below does as well.
  if (last - first > 2 && first[0] == '0' && (first[1] | 0x20) == 'x') {
    const char* hex_end = HexNumberEnd(first + 2, last);
    if (hex_end != first + 2) {
      return ReadUnsigned(first + 2, hex_end, std::chars_format::hex, value);
    }
  }
  // from_chars accepts a minus sign of its own; after the sign already read it is no number.
  if (first == last || *first == '-')
    return false;
  return ReadUnsigned(first, last, std::chars_format::general, value);
}

}  // namespace

std::string FormatValue(double value) {
  // The longest "%g" text with six digits is "-1.23457e+308" (13 characters); to_chars with
  // general format and a precision is defined as printf in the "C" locale, "nan" and "inf"
  // included.
  std::array<char, 32> buffer;
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                                    std::chars_format::general, 6);
  return std::string(buffer.data(), result.ptr);
}

double ReadNumber(std::string_view text) {
  const char* first = text.data();
  const char* const last = first + text.size();
  while (first != last && IsBlank(*first))
    ++first;
  bool negative = false;
  if (first != last && (*first == '+' || *first == '-')) {
    negative = *first == '-';
    ++first;
  }
  double magnitude = 0.0;
  // Nothing readable gives +0 even after a minus sign, as strtod does.
  if (!ReadMagnitude(first, last, magnitude))
    return 0.0;
  return negative ? -magnitude : magnitude;
}

}  // namespace trivenor
