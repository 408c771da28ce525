#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "model/recording_context.h"
#include "support/circuit_building.h"
#include "view/print_painting.h"

namespace trivenor {
namespace {

using test_support::AddInputTerminal;
using test_support::AddOutputTerminal;
using test_support::Connect;
using Calls = std::vector<std::string>;

/// The recording context stands for the printer: 8 units per character, 16 high, so values are
/// placed with a quarter height of 4. The canvas is 600 wide, which paper ignores.
class PrintPaintingTest : public ::testing::Test {
 protected:
  Calls Print() {
    dc.Take();
    metrics = PrintCanvas(dc, document, edit);
    return dc.Take();
  }
  static std::ptrdiff_t IndexOf(const Calls& calls, const std::string& call) {
    const auto found = std::find(calls.begin(), calls.end(), call);
    return found == calls.end() ? -1 : found - calls.begin();
  }
  static bool Has(const Calls& calls, const std::string& call) { return IndexOf(calls, call) >= 0; }

  test_support::RecordingContext dc;
  CTrivenorDoc document;
  EditState edit;
  std::optional<CanvasMetrics> metrics;
};

TEST_F(PrintPaintingTest, FooterIsTitleVonOwnerAndOnlyWithAnOwner) {
  document.circuit().label = "Ampel";
  EXPECT_EQ(Print(), (Calls{"Move 180,0", "Line 180,-1998", "Move 1820,0", "Line 1820,-1998"}));
  ASSERT_TRUE(metrics);
  EXPECT_EQ(metrics->lineHeight, 16);

  document.circuit().owner = "Frau Berg";
  EXPECT_EQ(Print().back(), "Text 100,-2000 Ampel von Frau Berg");

  document.loading = true;
  EXPECT_TRUE(Print().empty());
}

TEST_F(PrintPaintingTest, TerminalsAreDoubledWithOutputsInTheFixedRightColumn) {
  Port& input = AddInputTerminal(document.circuit(), 1);
  input.value = 1.5f;
  Port& output = AddOutputTerminal(document.circuit(), 0);
  output.valid = false;
  output.thickness = 2;
  output.colour = 0x0000FF;
  Connect(output, input);
  document.settings.canvasWidth = 1200;

  const Calls calls = Print();
  EXPECT_EQ(input.x, 90);
  EXPECT_EQ(input.y, 50);
  // The chevron at (180, -100), the value ending at 170 and lifted by half its height.
  EXPECT_TRUE(Has(calls, "Line 180,-100"));
  EXPECT_TRUE(Has(calls, "Text 146,-92 1.5"));
  // The output stays at canvas x 910 in the model until the next paint.
  EXPECT_EQ(output.x, 910);
  EXPECT_EQ(output.y, 20);
  EXPECT_TRUE(Has(calls, "Text 1830,-32 xxx"));
  const auto pen = IndexOf(calls, "Pen Solid 2 0000FF");
  ASSERT_GE(pen, 0);
  EXPECT_EQ(Calls(calls.begin() + pen + 1, calls.begin() + pen + 4),
            (Calls{"Move 1820,-40", "Line 180,-100", "BlackPen"}));
}

TEST_F(PrintPaintingTest, InputBeingTypedIsLeftOutWithoutATypingBox) {
  Port& edited = AddInputTerminal(document.circuit(), 0);
  edited.value = 3.0f;
  AddInputTerminal(document.circuit(), 1).value = 4.0f;
  edit.mode = EditMode::EditingInputValue;
  edit.valueText = "12";
  document.editedInput = &edited;

  Calls calls = Print();
  EXPECT_FALSE(Has(calls, "Line 180,-40"));
  EXPECT_FALSE(Has(calls, "Text 162,-32 3"));
  EXPECT_TRUE(Has(calls, "Text 162,-92 4"));
  EXPECT_TRUE(std::none_of(calls.begin(), calls.end(), [](const std::string& call) {
    return call.starts_with("Rect") || call.ends_with(" 12");
  }));

  edit.mode = EditMode::Idle;
  EXPECT_TRUE(Has(Print(), "Text 162,-32 3"));
}

}  // namespace
}  // namespace trivenor
