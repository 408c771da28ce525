#include "checks/check_table.h"

#include <string_view>

#include "checks/table_cells.h"
#include "model/c_locale_chars.h"

namespace trivenor {

namespace {

std::string Quoted(std::string_view text) {
  return "„" + std::string(text) + "“";
}

char LowerAscii(char c) {
  return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameLetters(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) {
    return false;
  }
  for (std::size_t i = 0; i < a.size(); ++i) {
    if (LowerAscii(a[i]) != LowerAscii(b[i])) {
      return false;
    }
  }
  return true;
}

/// "E12" gives 12 for the letter 'e'; nullopt for anything else, leading zeros and numbers past
/// any sensible circuit included.
std::optional<int> TerminalNumber(std::string_view title, char letter) {
  constexpr int kMaxTerminalNumber = 9999;
  if (title.size() < 2 || LowerAscii(title[0]) != letter || title[1] == '0') {
    return std::nullopt;
  }
  int number = 0;
  for (const char c : title.substr(1)) {
    if (!IsDecimalDigit(c) || number > kMaxTerminalNumber / 10) {
      return std::nullopt;
    }
    number = number * 10 + (c - '0');
  }
  if (number > kMaxTerminalNumber) {
    return std::nullopt;
  }
  return number;
}

bool IsUnchecked(std::string_view cell) {
  return cell.empty() || cell == "?";
}

/// The lines of the text with their numbers, the last one without its line break.
std::vector<std::string_view> SplitLines(std::string_view text) {
  std::vector<std::string_view> lines;
  while (true) {
    const std::size_t end = text.find('\n');
    lines.push_back(text.substr(0, end));
    if (end == std::string_view::npos) {
      return lines;
    }
    text.remove_prefix(end + 1);
  }
}

bool IsComment(std::string_view line) {
  const std::string_view trimmed = TrimBlanks(line);
  return trimmed.starts_with('#') || trimmed.starts_with("\"#");
}

/// A line holding nothing but blanks and separators: spreadsheets write those for empty rows.
bool IsEmptyLine(std::string_view line) {
  for (const char c : line) {
    if (c != ';' && c != ',' && c != ' ' && c != '\t' && c != '\r') {
      return false;
    }
  }
  return true;
}

class TableReader {
  enum class Column { None, Input, Output, Steps, Continue };
  /// What a header cell makes of the cells below it; `index` among the inputs or outputs.
  struct HeaderCell {
    Column kind = Column::None;
    std::size_t index = 0;
  };

 public:
  explicit TableReader(std::string text) : text_(std::move(text)), lines_(SplitLines(text_)) {}

  CheckTableReading Read() {
    if (text_.find('\0') != std::string::npos) {
      Fail(0, 0, "Die Prüftabelle ist keine Textdatei.");
      return std::move(result_);
    }
    std::size_t header = 0;
    while (header < lines_.size() && (IsComment(lines_[header]) || IsEmptyLine(lines_[header]))) {
      ++header;
    }
    if (header == lines_.size()) {
      Fail(0, 0, "Die Prüftabelle hat keine Kopfzeile mit E1, E2, … und A1, A2, ….");
      return std::move(result_);
    }
    // A comma in the header can only separate; without any separator there is one column, and
    // ";" lets its numbers keep a decimal comma.
    separator_ = lines_[header].find(';') == std::string_view::npos &&
                         lines_[header].find(',') != std::string_view::npos
                     ? ','
                     : ';';
    result_.table.headerLine = static_cast<int>(header) + 1;
    for (std::size_t i = 0; i < lines_.size() && !result_.error; ++i) {
      const int line = static_cast<int>(i) + 1;
      if (IsComment(lines_[i])) {
        ReadComment(lines_[i]);
      } else if (i == header) {
        ReadHeader(line, lines_[i]);
      } else if (i > header && !IsEmptyLine(lines_[i])) {
        ReadRow(line, lines_[i]);
      }
    }
    if (result_.table.rows.empty()) {
      Fail(0, 0, "Die Prüftabelle hat keine Prüfzeilen.");
    }
    return std::move(result_);
  }

 private:
  void Fail(int line, int column, std::string message) {
    if (!result_.error) {
      result_.error = TableError{line, column, std::move(message)};
    }
  }

  void ReadComment(std::string_view line) {
    if (haveTask_) {
      return;
    }
    haveTask_ = true;
    std::string_view text = TrimBlanks(line);
    std::string unquoted;
    if (text.starts_with('"')) {
      // A spreadsheet quotes a first cell that holds the separator.
      const auto cells = SplitTableLine(text, separator_);
      unquoted = cells ? cells->front().text : std::string(text.substr(1));
      text = unquoted;
    } else {
      // Spreadsheets pad a comment row with empty cells.
      while (!text.empty() && (text.back() == separator_ || text.back() == ' ')) {
        text.remove_suffix(1);
      }
    }
    result_.table.task = std::string(TrimBlanks(text.substr(1)));
  }

  std::optional<std::vector<TableCell>> Cells(int line, std::string_view text) {
    auto cells = SplitTableLine(text, separator_);
    if (!cells) {
      Fail(line, 0, "Ein Anführungszeichen wird nicht geschlossen.");
    }
    return cells;
  }

  void ReadHeader(int line, std::string_view text) {
    const auto cells = Cells(line, text);
    if (!cells) {
      return;
    }
    kinds_.assign(cells->size(), HeaderCell{});
    for (const TableCell& cell : *cells) {
      HeaderCell& kind = kinds_[cell.column - 1];
      if (cell.text.empty()) {
        continue;
      }
      if (const auto input = TerminalNumber(cell.text, 'e')) {
        kind = {Column::Input, result_.table.inputs.size()};
        AddTerminalColumn(result_.table.inputs, seenInputs_, *input, cell, line);
      } else if (const auto output = TerminalNumber(cell.text, 'a')) {
        kind = {Column::Output, result_.table.outputs.size()};
        AddTerminalColumn(result_.table.outputs, seenOutputs_, *output, cell, line);
      } else if (SameLetters(cell.text, "Schritte")) {
        kind.kind = Column::Steps;
        AddNamedColumn(stepsColumn_, cell, line);
      } else if (SameLetters(cell.text, "Weiter")) {
        kind.kind = Column::Continue;
        AddNamedColumn(continueColumn_, cell, line);
      } else {
        Fail(line, cell.column,
             "Unbekannte Spalte " + Quoted(cell.text) +
                 " (es gibt E1, E2, … für Eingänge, A1, A2, … für Ausgänge, "
                 "„Schritte“ und „Weiter“).");
        return;
      }
    }
    if (result_.table.outputs.empty()) {
      Fail(line, 0, "Die Kopfzeile hat keine Spalte A1, A2, … für die Ausgänge.");
    }
  }

  void AddTerminalColumn(std::vector<TableColumn>& columns, std::vector<bool>& seen, int number,
                         const TableCell& cell, int line) {
    if (seen.size() <= static_cast<std::size_t>(number)) {
      seen.resize(static_cast<std::size_t>(number) + 1);
    }
    if (seen[number]) {
      Fail(line, cell.column, "Die Spalte " + Quoted(cell.text) + " kommt zweimal vor.");
    }
    seen[number] = true;
    columns.push_back(TableColumn{number, cell.column});
  }

  void AddNamedColumn(int& where, const TableCell& cell, int line) {
    if (where != 0) {
      Fail(line, cell.column, "Die Spalte " + Quoted(cell.text) + " kommt zweimal vor.");
    }
    where = cell.column;
  }

  void ReadRow(int line, std::string_view text) {
    const auto cells = Cells(line, text);
    if (!cells) {
      return;
    }
    CheckRow row;
    row.line = line;
    row.inputs.assign(result_.table.inputs.size(), std::nullopt);
    row.outputs.assign(result_.table.outputs.size(), ExpectedOutput{});
    for (const TableCell& cell : *cells) {
      const std::size_t index = static_cast<std::size_t>(cell.column) - 1;
      const HeaderCell kind = index < kinds_.size() ? kinds_[index] : HeaderCell{};
      if (kind.kind == Column::None) {
        if (!cell.text.empty()) {
          Fail(line, cell.column, "Der Wert " + Quoted(cell.text) + " steht in keiner Spalte.");
          return;
        }
      } else if (!ReadCell(kind, cell, line, row)) {
        return;
      }
    }
    if (row.continues && result_.table.rows.empty()) {
      Fail(line, continueColumn_,
           "Die erste Prüfzeile hat keine Zeile davor, mit der sie „Weiter“ machen könnte.");
      return;
    }
    result_.table.rows.push_back(std::move(row));
  }

  bool ReadCell(HeaderCell header, const TableCell& cell, int line, CheckRow& row) {
    switch (header.kind) {
      case Column::Input:
        if (!IsUnchecked(cell.text)) {
          const auto value = Number(cell, line);
          if (!value) {
            return false;
          }
          row.inputs[header.index] = static_cast<float>(*value);
        }
        return true;
      case Column::Output: {
        ExpectedOutput& expected = row.outputs[header.index];
        if (SameLetters(cell.text, "xxx")) {
          expected.kind = ExpectedOutput::Kind::Invalid;
        } else if (!IsUnchecked(cell.text)) {
          const auto value = Number(cell, line);
          if (!value) {
            return false;
          }
          expected = ExpectedOutput{ExpectedOutput::Kind::Value, *value};
        }
        return true;
      }
      case Column::Steps:
        return ReadSteps(cell, line, row);
      case Column::Continue:
        if (SameLetters(cell.text, "x")) {
          row.continues = true;
        } else if (!cell.text.empty()) {
          Fail(line, cell.column,
               "In der Spalte „Weiter“ steht „x“ oder nichts, nicht " + Quoted(cell.text) + ".");
          return false;
        }
        return true;
      case Column::None:
        break;
    }
    return true;
  }

  bool ReadSteps(const TableCell& cell, int line, CheckRow& row) {
    if (cell.text.empty()) {
      return true;
    }
    int steps = 0;
    for (const char c : cell.text) {
      if (!IsDecimalDigit(c) || steps > kMaxCheckPasses) {
        steps = kMaxCheckPasses + 1;
        break;
      }
      steps = steps * 10 + (c - '0');
    }
    if (steps > kMaxCheckPasses) {
      Fail(line, cell.column,
           "„Schritte“ ist eine ganze Zahl von 0 bis " + std::to_string(kMaxCheckPasses) +
               ", nicht " + Quoted(cell.text) + ".");
      return false;
    }
    row.steps = steps;
    return true;
  }

  std::optional<double> Number(const TableCell& cell, int line) {
    const auto value = ReadTableNumber(cell.text);
    if (!value) {
      Fail(line, cell.column, Quoted(cell.text) + " ist keine Zahl.");
    }
    return value;
  }

  std::string text_;
  std::vector<std::string_view> lines_;
  char separator_ = ';';
  std::vector<HeaderCell> kinds_;
  std::vector<bool> seenInputs_;  ///< by terminal number
  std::vector<bool> seenOutputs_;
  int stepsColumn_ = 0;
  int continueColumn_ = 0;
  bool haveTask_ = false;
  CheckTableReading result_;
};

}  // namespace

std::string TableError::Text() const {
  std::string place;
  if (line > 0) {
    place = "Zeile " + std::to_string(line);
    if (column > 0) {
      place += ", Spalte " + std::to_string(column);
    }
    place += ": ";
  }
  return place + message;
}

CheckTableReading ReadCheckTable(std::span<const std::uint8_t> bytes) {
  if (bytes.size() > kMaxCheckTableBytes) {
    CheckTableReading tooLarge;
    tooLarge.error = TableError{0, 0, "Die Prüftabelle ist zu groß (höchstens 1 MB)."};
    return tooLarge;
  }
  return TableReader(DecodeTableText(bytes)).Read();
}

}  // namespace trivenor
