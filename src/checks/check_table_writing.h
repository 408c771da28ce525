#pragma once

#include <string>
#include <vector>

namespace trivenor {

/// A table as a teacher fills it in the editor's grid: a column per input and per output of the
/// circuit, the cells as typed.
struct CheckTableDraft {
  std::string task;
  int inputCount = 0;
  int outputCount = 0;
  /// Each row holds inputCount + outputCount cells, inputs first.
  std::vector<std::vector<std::string>> rows;
};

/// Rows of cells as lines of a table file, separated by ";" as German spreadsheets expect.
/// Cells holding ";" or a quote are quoted; line breaks in a cell become blanks.
std::string WriteTableRows(const std::vector<std::vector<std::string>>& rows);

/// The draft as a table file: the task as the first comment, then "E1;…;A1;…" and the rows.
/// Rows stay on the lines they have in the draft (the first row is on line 3), empty ones too,
/// so the reader's line numbers lead back to the grid.
std::string WriteCheckTable(const CheckTableDraft& draft);

/// The line the reader gives the draft row `row` (counted from 0).
inline int LineOfDraftRow(int row) {
  return row + 3;
}

}  // namespace trivenor
