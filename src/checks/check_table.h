#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace trivenor {

/// What is wrong with a check table, in German, and where.
struct TableError {
  int line = 0;    ///< counted from 1; 0 when the table as a whole is meant
  int column = 0;  ///< counted from 1; 0 when the whole line is meant
  std::string message;

  /// "Zeile 4, Spalte 2: „abc“ ist keine Zahl." (the place left out where there is none).
  std::string Text() const;
};

/// A column of inputs ("E3") or outputs ("A1") in the header.
struct TableColumn {
  int number = 0;  ///< 3 for "E3": the third terminal from the top
  int column = 0;  ///< where the header has it, counted from 1
};

/// What a row expects of one output.
struct ExpectedOutput {
  enum class Kind { Unchecked, Invalid, Value };
  Kind kind = Kind::Unchecked;
  double value = 0.0;
};

/// One row of checks.
struct CheckRow {
  int line = 0;  ///< in the file, counted from 1
  /// Per input column: the value to set; nullopt (an empty cell or "?") leaves it as it is.
  std::vector<std::optional<float>> inputs;
  std::vector<ExpectedOutput> outputs;  ///< per output column
  /// The passes to run; nullopt runs until the outputs settle.
  std::optional<int> steps;
  bool continues = false;  ///< "Weiter": no "Reset" before this row
};

/// A table as read, before it meets a circuit.
struct CheckTable {
  std::string task;  ///< the first comment line without its "#"
  int headerLine = 0;
  std::vector<TableColumn> inputs;
  std::vector<TableColumn> outputs;
  std::vector<CheckRow> rows;
};

/// Check tables are written by hand; anything larger is no table.
inline constexpr std::size_t kMaxCheckTableBytes = 1 << 20;
/// "Schritte" and the settling of the outputs both stop here, so every row costs at most this
/// many passes.
inline constexpr int kMaxCheckPasses = 1000;

struct CheckTableReading {
  CheckTable table;
  std::optional<TableError> error;
};

/// Reads the bytes of a table file. Any cell that does not fit is an error with its place:
/// a table is never half understood.
CheckTableReading ReadCheckTable(std::span<const std::uint8_t> bytes);

}  // namespace trivenor
