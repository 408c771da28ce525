#pragma once

#include <string>
#include <string_view>

namespace trivenor {

/// A value as printf's "%g" writes it in the "C" locale (six significant digits, fixed or
/// exponent form, trailing zeros dropped), always with "." whatever the process locale; zero
/// keeps its sign ("-0") and the special values read "nan", "-nan", "inf" and "-inf" as glibc
/// writes them.
std::string FormatValue(double value);

/// Reads text as the C library's strtod/atof does in the "C" locale, whatever the process locale:
/// leading white space, an optional sign, then the longest prefix that forms a decimal number
/// (with "." as decimal separator and an optional exponent), a hexadecimal number ("0x1.8p3"),
/// "inf", "infinity", "nan" or "nan(chars)", letters in either case. No number at all gives +0;
/// overflow gives an infinity, underflow 0 or the nearest subnormal. Only the characters of the
/// view are read (it needs no terminating NUL), and nothing is allocated, since every constant
/// is read again in every evaluation pass.
double ReadNumber(std::string_view text);

}  // namespace trivenor
