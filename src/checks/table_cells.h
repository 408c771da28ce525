#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace trivenor {

/// The text of a table file as UTF-8: taken as it is when it is valid UTF-8 (a leading byte
/// order mark dropped), otherwise read as Windows-1252, what older spreadsheets write.
std::string DecodeTableText(std::span<const std::uint8_t> bytes);

/// One cell of a line, trimmed of blanks, with the quotes of a quoted cell removed.
struct TableCell {
  std::string text;
  int column = 0;  ///< counted from 1, as a spreadsheet numbers its columns
};

/// Splits one line at `separator`. A cell in double quotes may hold the separator, and "" stands
/// for one quote inside it, as spreadsheets write them. nullopt when a quote is not closed.
std::optional<std::vector<TableCell>> SplitTableLine(std::string_view line, char separator);

/// A cell as a number: an optional sign, digits with at most one decimal mark ("," or "."), an
/// optional exponent, nothing else. nullopt for anything that is not exactly that.
std::optional<double> ReadTableNumber(std::string_view text);

/// `text` without blanks, tabs and carriage returns at either end.
std::string_view TrimBlanks(std::string_view text);

}  // namespace trivenor
