#include "checks/check_table_writing.h"

namespace trivenor {

namespace {

/// Line breaks would split the row; a cell is one line.
std::string OneLine(std::string text) {
  for (char& c : text) {
    if (c == '\n' || c == '\r') {
      c = ' ';
    }
  }
  return text;
}

std::string CellText(const std::string& cell) {
  if (cell.find_first_of(";\"") == std::string::npos) {
    return OneLine(cell);
  }
  std::string quoted = "\"";
  for (const char c : OneLine(cell)) {
    quoted += c;
    if (c == '"') {
      quoted += '"';
    }
  }
  return quoted + '"';
}

}  // namespace

std::string WriteTableRows(const std::vector<std::vector<std::string>>& rows) {
  std::string text;
  for (const auto& row : rows) {
    for (std::size_t i = 0; i < row.size(); ++i) {
      text += i == 0 ? "" : ";";
      text += CellText(row[i]);
    }
    text += '\n';
  }
  return text;
}

std::string WriteCheckTable(const CheckTableDraft& draft) {
  std::vector<std::string> header;
  for (int i = 1; i <= draft.inputCount; ++i) {
    header.push_back(std::string("E").append(std::to_string(i)));
  }
  for (int i = 1; i <= draft.outputCount; ++i) {
    header.push_back(std::string("A").append(std::to_string(i)));
  }
  std::vector<std::vector<std::string>> rows = {std::move(header)};
  rows.insert(rows.end(), draft.rows.begin(), draft.rows.end());
  return std::string("# ").append(OneLine(draft.task)).append("\n").append(WriteTableRows(rows));
}

}  // namespace trivenor
