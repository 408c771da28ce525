#include "view/display_commands.h"

#include <gtest/gtest.h>

#include "model/constant.h"
#include "support/circuit_building.h"

namespace trivenor {
namespace {

using test_support::AddJunction;
using test_support::Append;

class DisplayCommandsTest : public ::testing::Test {
 protected:
  CTrivenorDoc document;
  Constant& component = Append<Constant>(document.circuit(), "1");
  Junction& junction = AddJunction(document.circuit());
};

TEST_F(DisplayCommandsTest, ComponentIsChangedBeforeThePort) {
  document.selectedComponent = &component;
  document.selectedPort = &junction.port;
  ApplyColour(document, kBlue);
  ApplyThickness(document, 4);
  EXPECT_EQ(component.colour, 0xFF0000u);
  EXPECT_EQ(component.thickness, 4);
  EXPECT_EQ(junction.port.colour, kBlack);
  EXPECT_EQ(junction.port.thickness, 1);
  EXPECT_TRUE(document.IsModified());
}

TEST_F(DisplayCommandsTest, PortIsChangedWhenNoComponentIsSelected) {
  document.selectedPort = &junction.port;
  ApplyColour(document, kYellow);
  ApplyThickness(document, 2);
  EXPECT_EQ(junction.port.colour, 0x00FFFFu);
  EXPECT_EQ(junction.port.thickness, 2);
  EXPECT_EQ(component.colour, kBlack);
  EXPECT_TRUE(document.IsModified());
}

TEST_F(DisplayCommandsTest, NothingSelectedChangesNothingButMarksModified) {
  ApplyColour(document, kRed);
  EXPECT_TRUE(document.IsModified());
  document.SetModifiedFlag(false);
  ApplyThickness(document, 4);
  EXPECT_TRUE(document.IsModified());
  EXPECT_EQ(component.colour, kBlack);
  EXPECT_EQ(component.thickness, 1);
  EXPECT_EQ(junction.port.colour, kBlack);
  EXPECT_EQ(junction.port.thickness, 1);
}

// The lock forbids structural changes only: colours and thicknesses stay the user's.
TEST_F(DisplayCommandsTest, LockedDocumentIsStillRecoloured) {
  document.settings.editable = false;
  document.selectedComponent = &component;
  ApplyColour(document, kGreen);
  ApplyThickness(document, 2);
  EXPECT_EQ(component.colour, 0x00FF00u);
  EXPECT_EQ(component.thickness, 2);
  EXPECT_TRUE(document.IsModified());
}

}  // namespace
}  // namespace trivenor
