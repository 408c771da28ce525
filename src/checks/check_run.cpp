#include "checks/check_run.h"

#include "checks/circuit_terminals.h"
#include "checks/settling.h"
#include "document/document_snapshot.h"
#include "model/number_text.h"

namespace trivenor {

namespace {

std::optional<TableError> CheckColumns(const std::vector<TableColumn>& columns, std::size_t count,
                                       int headerLine, char letter, const char* noun) {
  for (const TableColumn& column : columns) {
    if (static_cast<std::size_t>(column.number) > count) {
      const std::string title = letter + std::to_string(column.number);
      return TableError{headerLine, column.column,
                        "Der Schaltkreis hat " + std::to_string(count) + " " + noun + ", „" +
                            title + "“ gibt es nicht."};
    }
  }
  return std::nullopt;
}

std::string ExpectedText(const ExpectedOutput& expected) {
  switch (expected.kind) {
    case ExpectedOutput::Kind::Invalid:
      return "xxx";
    case ExpectedOutput::Kind::Value:
      return FormatValue(expected.value);
    case ExpectedOutput::Kind::Unchecked:
      break;
  }
  return "?";
}

bool Matches(const ExpectedOutput& expected, const std::string& expectedText, const Port& output,
             const std::string& obtained) {
  switch (expected.kind) {
    case ExpectedOutput::Kind::Invalid:
      return !output.valid;
    case ExpectedOutput::Kind::Value:
      return output.valid && obtained == expectedText;
    case ExpectedOutput::Kind::Unchecked:
      break;
  }
  return true;
}

}  // namespace

const RowOutcome* CheckOutcome::FirstWrong() const {
  for (const RowOutcome& row : rows) {
    if (!row.right) {
      return &row;
    }
  }
  return nullptr;
}

std::optional<TableError> CheckTableFits(const CheckTable& table, const SubCircuit& circuit) {
  if (auto error =
          CheckColumns(table.inputs, circuit.inputs.size(), table.headerLine, 'E', "Eingänge")) {
    return error;
  }
  return CheckColumns(table.outputs, circuit.outputs.size(), table.headerLine, 'A', "Ausgänge");
}

CheckOutcome RunCheckTable(const CheckTable& table, SubCircuit& circuit) {
  const std::vector<Port*> inputs = TerminalsFromTop(circuit.inputs);
  const std::vector<Port*> outputs = TerminalsFromTop(circuit.outputs);
  std::vector<Port*> checked;
  for (const TableColumn& column : table.outputs) {
    checked.push_back(outputs[column.number - 1]);
  }
  CheckOutcome outcome;
  for (const CheckRow& row : table.rows) {
    RowOutcome& result = outcome.rows.emplace_back();
    result.line = row.line;
    if (!row.continues) {
      circuit.Reset();
    }
    for (std::size_t i = 0; i < row.inputs.size(); ++i) {
      const auto& value = row.inputs[i];
      if (value) {
        inputs[table.inputs[i].number - 1]->value = *value;
      }
      result.inputs.push_back(value ? FormatValue(*value) : "");
    }
    if (row.steps) {
      for (int pass = 0; pass < *row.steps; ++pass) {
        circuit.Evaluate();
      }
    } else {
      RunUntilSettled(circuit);
    }
    for (std::size_t i = 0; i < row.outputs.size(); ++i) {
      result.expected.push_back(ExpectedText(row.outputs[i]));
      result.obtained.push_back(TerminalText(*checked[i]));
      const bool right =
          Matches(row.outputs[i], result.expected.back(), *checked[i], result.obtained.back());
      result.outputRight.push_back(right);
      result.right = result.right && right;
    }
    outcome.rightCount += result.right ? 1 : 0;
  }
  return outcome;
}

std::unique_ptr<SubCircuit> CopyForChecks(SubCircuit& circuit, DocumentSettings& settings) {
  auto copy = std::make_unique<SubCircuit>();
  DocumentSettings copySettings;
  if (!RestoreSnapshot(TakeSnapshot(circuit, settings), *copy, copySettings)) {
    return nullptr;
  }
  return copy;
}

std::string RightCountText(const CheckOutcome& outcome) {
  return std::to_string(outcome.rightCount) + " von " + std::to_string(outcome.rows.size()) +
         " richtig";
}

std::string DescribeRow(const CheckTable& table, const RowOutcome& row) {
  std::string inputs;
  for (std::size_t i = 0; i < row.inputs.size(); ++i) {
    if (!row.inputs[i].empty()) {
      inputs += (inputs.empty() ? " E" : ", E") + std::to_string(table.inputs[i].number) + " = " +
                row.inputs[i];
    }
  }
  std::string outputs;
  for (std::size_t i = 0; i < row.expected.size(); ++i) {
    if (!row.outputRight[i]) {
      outputs += (outputs.empty() ? " A" : ", A") + std::to_string(table.outputs[i].number) +
                 " soll " + row.expected[i] + " sein, ist " + row.obtained[i];
    }
  }
  return "Zeile " + std::to_string(row.line) + ":" + inputs + (inputs.empty() ? "" : ";") + outputs;
}

}  // namespace trivenor
