#include "document/undo_history.h"

#include <gtest/gtest.h>

#include <string>

#include "document/trivenor_doc.h"

namespace trivenor {
namespace {

DocumentSnapshot StateOf(std::size_t bytes) {
  return {std::vector<std::uint8_t>(bytes), {}};
}

// Whatever the size of the states, the history never holds more than its budget and drops the
// oldest first; it keeps a hundred states of 600 KB, more than twice a 2000-component circuit.
// A state larger than the budget on its own leaves nothing to undo.
TEST(UndoHistory, KeepsAHundredLargeStepsWithinTheBudgetDroppingTheOldest) {
  struct Case {
    std::size_t budget;
    std::size_t stateBytes;
    std::size_t fewestSteps;
  };
  for (const Case c : {Case{UndoHistory::kDefaultBudget, 16, 150},
                       Case{UndoHistory::kDefaultBudget, 600u << 10, 100}, Case{1000, 2000, 0}}) {
    UndoHistory history(c.budget);
    history.Restart(StateOf(c.stateBytes));
    for (int step = 1; step <= 150; ++step) {
      history.Record(std::to_string(step), StateOf(c.stateBytes));
      ASSERT_LE(history.Footprint(), c.budget) << c.stateBytes;
    }
    ASSERT_GE(history.StepCount(), c.fewestSteps) << c.stateBytes;
    std::string oldest;
    while (history.CanUndo()) {
      oldest = history.UndoName();
      history.Undo();
    }
    EXPECT_EQ(oldest, c.fewestSteps == 0 ? "" : std::to_string(151 - history.StepCount()));
  }
}

TEST(UndoHistory, ForgetsTheSavedStateOnceAStepReplacesIt) {
  UndoHistory history;
  history.Restart(StateOf(1));
  history.Record("a", StateOf(2));
  history.MarkSaved();
  history.Undo();
  EXPECT_FALSE(history.AtSaved());
  history.Redo();
  EXPECT_TRUE(history.AtSaved());
  history.Undo();
  history.Record("b", StateOf(3));  // the saved state "a" is gone
  EXPECT_FALSE(history.AtSaved());
  history.Undo();
  EXPECT_FALSE(history.AtSaved());
  EXPECT_EQ(history.RedoName(), "b");
}

// A circuit nested deeper than the reader allows can be built, but not read back: undoing to it
// keeps the document as it is rather than leaving it empty.
TEST(UndoHistory, AStateTheReaderRefusesLeavesTheDocumentAsItIs) {
  CTrivenorDoc document;
  SubCircuit* innermost = &document.circuit();
  for (int depth = 0; depth <= 100; ++depth) {
    innermost = static_cast<SubCircuit*>(
        innermost->components.emplace_back(std::make_unique<SubCircuit>()).get());
  }
  document.RecordStep("tief");
  document.edit().AddTerminal(PortRole::CircuitInput, 0, 90, 20);
  document.RecordStep("Eingang einfügen");
  document.Undo();
  EXPECT_EQ(document.circuit().inputs.size(), 1u);
  EXPECT_EQ(document.history().UndoName(), "Eingang einfügen");
}

}  // namespace
}  // namespace trivenor
