#pragma once

namespace trivenor {

/// Character classes of the "C" locale, whatever the process locale: numbers in circuits and
/// dialogs are read the same everywhere.
inline bool IsBlank(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

inline bool IsDecimalDigit(char c) {
  return c >= '0' && c <= '9';
}

}  // namespace trivenor
