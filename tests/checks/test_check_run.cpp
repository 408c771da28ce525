#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "checks/check_run.h"
#include "model/component_kind.h"
#include "model/delay_line.h"
#include "model/operators.h"
#include "support/circuit_building.h"

namespace trivenor {
namespace {

using test_support::AddInputTerminal;
using test_support::AddOutputTerminal;
using test_support::Append;
using test_support::Connect;

using Builder = std::function<void(SubCircuit&)>;

/// E1 (slot 0) and E2 (slot 1) through `kindCode` to the one output. The terminals are listed
/// bottom first, so the table must count them by slot.
Builder Operator(int kindCode) {
  return [kindCode](SubCircuit& circuit) {
    Port& second = AddInputTerminal(circuit, 1);
    Port& first = AddInputTerminal(circuit, 0);
    auto& op = Append<TwoInputOperator>(circuit, kindCode);
    Connect(*op.inputs[0], first);
    Connect(*op.inputs[1], second);
    Connect(AddOutputTerminal(circuit, 0), *op.outputs[0]);
  };
}

/// E1 straight to the output, or through a delay line of `length`.
Builder Delayed(int length) {
  return [length](SubCircuit& circuit) {
    Port& in = AddInputTerminal(circuit, 0);
    auto& delay = Append<DelayLine>(circuit, length);
    Connect(*delay.inputs[0], in);
    Connect(AddOutputTerminal(circuit, 0), *delay.outputs[0]);
  };
}

/// Adds E1 to its own sum in every pass: a counter that only a kept state lets count on.
void Counter(SubCircuit& circuit) {
  Port& in = AddInputTerminal(circuit, 0);
  auto& plus = Append<TwoInputOperator>(circuit, kind::Plus);
  Connect(*plus.inputs[0], *plus.outputs[0]);
  Connect(*plus.inputs[1], in);
  Connect(AddOutputTerminal(circuit, 0), *plus.outputs[0]);
}

CheckTable ReadTable(std::string_view text) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  CheckTableReading reading = ReadCheckTable({bytes, text.size()});
  EXPECT_FALSE(reading.error) << reading.error->Text();
  return std::move(reading.table);
}

CheckOutcome RunOn(const CheckTable& table, const Builder& build) {
  SubCircuit circuit;
  build(circuit);
  EXPECT_FALSE(CheckTableFits(table, circuit));
  return RunCheckTable(table, circuit);
}

TEST(CheckRun, EachKindOfCheckTellsTheSolutionFromAWrongCircuit) {
  struct Case {
    const char* kind;
    const char* table;
    Builder solution;
    Builder wrong;
    const char* firstWrong;  ///< the wrong circuit's first wrong row
  };
  const std::vector<Case> cases = {
      {"plain", "E1;E2;A1\n7;2;9\n0,5;0.25;0,75\n1;2;?\n", Operator(kind::Plus),
       Operator(kind::Minus), "Zeile 2: E1 = 7, E2 = 2; A1 soll 9 sein, ist 5"},
      // 1/3 shows as 0.333333 however many digits the table gives.
      {"rounded text", "E1;E2;A1\n1;3;0,3333333\n2;3;0.666667\n", Operator(kind::Divide),
       Operator(kind::Times), "Zeile 2: E1 = 1, E2 = 3; A1 soll 0.333333 sein, ist 3"},
      {"Schritte", "E1;A1;Schritte\n5;0;1\n5;5;4\n", Delayed(3), Delayed(1),
       "Zeile 2: E1 = 5; A1 soll 0 sein, ist 5"},
      {"Weiter", "E1;A1;Schritte;Weiter\n1;1;1;\n1;2;1;x\n2;4;1;x\n", Counter, Delayed(1),
       "Zeile 3: E1 = 1; A1 soll 2 sein, ist 1"},
      {"xxx", "E1;E2;A1\n1;0;xxx\n1;2;0,5\n", Operator(kind::Divide), Operator(kind::Times),
       "Zeile 2: E1 = 1, E2 = 0; A1 soll xxx sein, ist 0"},
  };
  for (const Case& test : cases) {
    const CheckTable table = ReadTable(test.table);
    const CheckOutcome right = RunOn(table, test.solution);
    EXPECT_TRUE(right.AllRight()) << test.kind << ": " << RightCountText(right);
    const CheckOutcome wrong = RunOn(table, test.wrong);
    ASSERT_NE(wrong.FirstWrong(), nullptr) << test.kind;
    EXPECT_EQ(DescribeRow(table, *wrong.FirstWrong()), test.firstWrong) << test.kind;
  }
}

TEST(CheckRun, RowsWithoutStepsWaitUntilTheWholeCircuitSettles) {
  // The output stays 0 for more than three passes while the value travels down a chain of six
  // components, or through a delay line of 9: it is still on its way, not settled.
  const Builder chain = [](SubCircuit& circuit) {
    Port* previous = &AddInputTerminal(circuit, 0);
    for (int i = 0; i < 6; ++i) {
      auto& plus = Append<TwoInputOperator>(circuit, kind::Plus);
      Connect(*plus.inputs[0], *previous);
      previous = plus.outputs[0].get();
    }
    Connect(AddOutputTerminal(circuit, 0), *previous);
  };
  EXPECT_TRUE(RunOn(ReadTable("E1;A1\n4;4\n"), chain).AllRight());
  EXPECT_TRUE(RunOn(ReadTable("E1;A1\n4;4\n"), Delayed(9)).AllRight());
  // A counter never settles: the row ends after the most passes a row may take.
  const CheckOutcome endless = RunOn(ReadTable("E1;A1\n1;1000\n"), Counter);
  EXPECT_TRUE(endless.AllRight()) << endless.rows[0].obtained[0];
}

TEST(CheckRun, ColumnsBeyondTheCircuitAreNamed) {
  const CheckTable table = ReadTable("# Aufgabe\nE1;E3;A1\n1;2;3\n");
  SubCircuit circuit;
  Operator(kind::Plus)(circuit);
  const auto misfit = CheckTableFits(table, circuit);
  ASSERT_TRUE(misfit);
  EXPECT_EQ(misfit->Text(),
            "Zeile 2, Spalte 2: Der Schaltkreis hat 2 Eingänge, „E3“ gibt es nicht.");
}

}  // namespace
}  // namespace trivenor
