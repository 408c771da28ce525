#include "checks/table_cells.h"

#include "document/code_page.h"
#include "model/c_locale_chars.h"
#include "model/number_text.h"

namespace trivenor {

namespace {

/// Strict UTF-8: no overlong forms, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view text) {
  std::size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    int length = 0;
    unsigned int low = 0x80;
    unsigned int high = 0xBF;
    if (lead < 0x80) {
      ++i;
      continue;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3;
      low = lead == 0xE0 ? 0xA0 : 0x80;
      high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4;
      low = lead == 0xF0 ? 0x90 : 0x80;
      high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
      return false;
    }
    if (i + length > text.size()) {
      return false;
    }
    for (int k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if (next < (k == 1 ? low : 0x80) || next > (k == 1 ? high : 0xBF)) {
        return false;
      }
    }
    i += length;
  }
  return true;
}

bool IsCellBlank(char c) {
  return c == ' ' || c == '\t' || c == '\r';
}

}  // namespace

std::string DecodeTableText(std::span<const std::uint8_t> bytes) {
  std::string_view text(reinterpret_cast<const char*>(bytes.data()), bytes.size());
  if (!IsValidUtf8(text)) {
    return CodePageToUtf8(text);
  }
  constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
  if (text.starts_with(kByteOrderMark)) {
    text.remove_prefix(kByteOrderMark.size());
  }
  return std::string(text);
}

std::string_view TrimBlanks(std::string_view text) {
  while (!text.empty() && IsCellBlank(text.front())) {
    text.remove_prefix(1);
  }
  while (!text.empty() && IsCellBlank(text.back())) {
    text.remove_suffix(1);
  }
  return text;
}

std::optional<std::vector<TableCell>> SplitTableLine(std::string_view line, char separator) {
  std::vector<TableCell> cells;
  std::size_t i = 0;
  while (true) {
    TableCell cell;
    cell.column = static_cast<int>(cells.size()) + 1;
    while (i < line.size() && IsCellBlank(line[i])) {
      ++i;
    }
    if (i < line.size() && line[i] == '"') {
      ++i;
      bool closed = false;
      while (i < line.size()) {
        if (line[i] == '"') {
          if (i + 1 < line.size() && line[i + 1] == '"') {
            cell.text += '"';
            i += 2;
            continue;
          }
          ++i;
          closed = true;
          break;
        }
        cell.text += line[i++];
      }
      if (!closed) {
        return std::nullopt;
      }
      // Blanks may follow the closing quote; anything else up to the separator belongs to it.
      const std::size_t end = line.find(separator, i);
      cell.text += TrimBlanks(line.substr(i, end - i));
      i = end;
      cell.text = std::string(TrimBlanks(cell.text));
    } else {
      const std::size_t end = line.find(separator, i);
      cell.text = std::string(TrimBlanks(line.substr(i, end - i)));
      i = end;
    }
    cells.push_back(std::move(cell));
    if (i == std::string_view::npos) {
      return cells;
    }
    ++i;  // the separator
  }
}

std::optional<double> ReadTableNumber(std::string_view text) {
  std::string plain;
  std::size_t i = 0;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    plain += text[i++];
  }
  int digits = 0;
  bool haveMark = false;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    if (IsDecimalDigit(c)) {
      ++digits;
      plain += c;
    } else if ((c == ',' || c == '.') && !haveMark) {
      haveMark = true;
      plain += '.';
    } else {
      break;
    }
  }
  if (digits == 0) {
    return std::nullopt;
  }
  if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
    plain += text[i++];
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
      plain += text[i++];
    }
    const std::size_t exponentStart = i;
    while (i < text.size() && IsDecimalDigit(text[i])) {
      plain += text[i++];
    }
    if (i == exponentStart) {
      return std::nullopt;
    }
  }
  if (i != text.size()) {
    return std::nullopt;
  }
  // Read as the editor reads a typed value, so the table and the canvas agree on every number.
  return ReadNumber(plain);
}

}  // namespace trivenor
