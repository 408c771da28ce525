#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "checks/check_table.h"
#include "document/document_serializer.h"
#include "model/sub_circuit.h"

namespace trivenor {

/// How one row of checks went.
struct RowOutcome {
  int line = 0;                       ///< of the row in the table file
  std::vector<std::string> inputs;    ///< per input column: the value set, "" for none
  std::vector<std::string> expected;  ///< per output column: the number, "xxx" or "?"
  std::vector<std::string> obtained;  ///< per output column: what the output showed
  std::vector<bool> outputRight;      ///< per output column; unchecked ones are right
  bool right = true;
};

/// How a circuit did against a whole table.
struct CheckOutcome {
  std::vector<RowOutcome> rows;
  int rightCount = 0;

  bool AllRight() const { return rightCount == static_cast<int>(rows.size()); }
  /// nullptr when every row is right.
  const RowOutcome* FirstWrong() const;
};

/// Why `table` cannot run on `circuit`: a column names a terminal the circuit does not have.
std::optional<TableError> CheckTableFits(const CheckTable& table, const SubCircuit& circuit);

/// Runs every row on `circuit`, which the table must fit: "Reset" unless the row goes on
/// ("Weiter"), the inputs set, the passes run, the outputs compared by the text the editor would
/// show for them. The circuit is left in the state of the last row.
CheckOutcome RunCheckTable(const CheckTable& table, SubCircuit& circuit);

/// A copy of `circuit` for the checks to run on, made through the bytes saving would write, so
/// the circuit on the screen and its running state stay as they are. nullptr when the copy
/// cannot be read back (a circuit built past the reader's limits). Not const: writing numbers
/// the ports.
std::unique_ptr<SubCircuit> CopyForChecks(SubCircuit& circuit, DocumentSettings& settings);

/// "4 von 5 richtig".
std::string RightCountText(const CheckOutcome& outcome);

/// A row for one line of text: "Zeile 7: E1 = 3, E2 = 4; A1 soll 7 sein, ist 12".
std::string DescribeRow(const CheckTable& table, const RowOutcome& row);

}  // namespace trivenor
