#include <gtest/gtest.h>

#include <Qt>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/circuit_file_support.h"
#include "document/trivenor_doc.h"
#include "model/component_kind.h"
#include "model/operators.h"
#include "model/output_display.h"
#include "view/edit_controller.h"
#include "view/virtual_keys.h"

namespace trivenor {
namespace {

using test_support::MemoryFiles;

/// Records the dialogs asked for and answers them with what a test put in.
class FakeHost final : public EditorHost, public EditorDialogs {
 public:
  EditorDialogs& dialogs() override { return *this; }
  std::optional<int> AskDelay(int preset) override {
    calls.push_back("Delay " + std::to_string(preset));
    return delay;
  }
  std::optional<std::string> AskConstantText() override {
    calls.push_back("Wert Eingeben");
    return constantText;
  }
  std::optional<int> AskHazardHold(int preset) override {
    calls.push_back("HAZARD " + std::to_string(preset));
    return hold;
  }
  std::optional<GraphSettings> AskGraphSettings(const GraphSettings&) override {
    calls.push_back("Graphenfenster");
    return graph;
  }
  void EditOutputTexts(std::vector<OutputText>& texts) override {
    calls.push_back("Ausgabetexte");
    texts.push_back({1.0f, "eins"});
  }
  void InvalidateAll() override { ++wholeRepaints; }
  void InvalidateRect(const CanvasRect& rect) override { rects.push_back(rect); }

  std::optional<int> delay = 1;
  std::optional<std::string> constantText = "2.5";
  std::optional<int> hold = 1;
  std::optional<GraphSettings> graph = GraphSettings{};
  std::vector<std::string> calls;
  int wholeRepaints = 0;
  std::vector<CanvasRect> rects;
};

class EditControllerTest : public ::testing::Test {
 protected:
  SubCircuit& top() { return doc.circuit(); }

  /// An operator as the editor keeps it (newest first), laid out as the last paint left it;
  /// at (200, 105), 40 x 30: inputs at (200, 110) and (200, 120), output at (240, 110).
  TwoInputOperator& Operator(int x = 200, int y = 105) {
    auto component = std::make_unique<TwoInputOperator>(kind::Plus);
    TwoInputOperator& placed = *component;
    placed.x = x;
    placed.y = y;
    placed.width = 40;
    placed.height = 30;
    placed.LayoutPorts();
    top().components.insert(top().components.begin(), std::move(component));
    return placed;
  }
  Port& Terminal(PortList& list, PortRole role, int row, int x) {
    Port& port = *list.emplace_back(std::make_unique<Port>(role, row));
    port.x = x;
    port.y = 30 * row + 20;
    return port;
  }
  Port& Input(int row) { return Terminal(top().inputs, PortRole::CircuitInput, row, 90); }
  Port& Output(int row) { return Terminal(top().outputs, PortRole::CircuitOutput, row, 510); }
  Junction& AddJunction(int x, int y) {
    Junction& junction = *top().junctions.emplace_back(std::make_unique<Junction>());
    junction.port.x = x;
    junction.port.y = y;
    return junction;
  }
  void Drag(int fromX, int fromY, int toX, int toY) {
    edit.LeftButtonDown(fromX, fromY);
    edit.MouseMove(toX, toY);
    edit.LeftButtonUp(toX, toY);
  }
  void Keys(const std::vector<int>& keys) {
    for (const int key : keys) {
      edit.KeyDown(key);
    }
  }
  /// Every editing reference still points into the circuit.
  void ExpectNoDanglingReferences() {
    std::vector<const Port*> ports;
    test_support::CollectPorts(top(), ports);
    for (const Port* reference : {doc.selectedPort, doc.wireTarget, doc.editedInput}) {
      if (reference != nullptr) {
        EXPECT_NE(std::find(ports.begin(), ports.end(), reference), ports.end());
      }
    }
    if (doc.selectedComponent != nullptr) {
      const auto& list = top().components;
      EXPECT_TRUE(std::any_of(list.begin(), list.end(), [this](const auto& component) {
        return component.get() == doc.selectedComponent;
      }));
    }
    test_support::ExpectNoForeignSources(top());
  }

  CTrivenorDoc doc;
  EditState state;
  FakeHost host;
  EditController edit{doc, state, host};
};

TEST_F(EditControllerTest, PlacingSnapsAndAsksEachKindsDialog) {
  struct Case {
    int kind;
    std::vector<std::string> calls;
  };
  const std::vector<Case> cases = {
      {kind::Plus, {}},
      {kind::Sine, {}},
      {kind::DelayLine, {"Delay 1"}},
      {kind::Constant, {"Wert Eingeben"}},
      {kind::OutputDisplay, {"Ausgabetexte"}},
      {kind::HazardFilter, {"HAZARD 1"}},
      {kind::GraphPlot, {"Graphenfenster"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    host.calls.clear();
    doc.SetModifiedFlag(false);
    edit.ArmPlacing(c.kind);
    edit.LeftButtonDown(127, 48);
    EXPECT_EQ(host.calls, c.calls);
    ASSERT_FALSE(top().components.empty());
    const Component& placed = *top().components.front();  // newest at the head
    EXPECT_EQ(placed.kind, c.kind);
    EXPECT_EQ(placed.x, 120);
    EXPECT_EQ(placed.y, 45);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(state.mode, EditMode::Idle);
  }
  EXPECT_EQ(top().components.size(), cases.size());
  EXPECT_EQ(top().components[3]->label, "2.5");  // the constant's text
  const auto& display = static_cast<const OutputDisplay&>(*top().components[2]);
  ASSERT_EQ(display.texts.size(), 1u);
  EXPECT_EQ(display.texts[0].text, "eins");
}

TEST_F(EditControllerTest, CancelledOrUnknownKindsPlaceNothingButModifyAndDisarm) {
  host.delay.reset();
  host.constantText.reset();
  host.hold.reset();
  host.graph.reset();
  for (const int kind : {kind::DelayLine, kind::Constant, kind::HazardFilter, kind::GraphPlot, 200,
                         205, 250, 301, kind::SubCircuit}) {
    SCOPED_TRACE(kind);
    doc.SetModifiedFlag(false);
    edit.ArmPlacing(kind);
    edit.LeftButtonDown(300, 300);
    EXPECT_TRUE(doc.IsModified());
    EXPECT_EQ(state.mode, EditMode::Idle);
  }
  EXPECT_TRUE(top().components.empty());
  // Left of the column and above the canvas: not clamped, divisions truncate toward zero.
  edit.ArmPlacing(kind::Plus);
  edit.LeftButtonDown(-7, -12);
  EXPECT_EQ(top().components.front()->x, 0);
  EXPECT_EQ(top().components.front()->y, -5);
}

class SubCircuitPlacingTest : public EditControllerTest {
 protected:
  SubCircuitPlacingTest() {
    doc.files = &files;
    SubCircuit inner;
    inner.inputs.push_back(std::make_unique<Port>(PortRole::CircuitInput, 0));
    inner.outputs.push_back(std::make_unique<Port>(PortRole::CircuitOutput, 0));
    test_support::Append<TwoInputOperator>(inner, kind::Plus);
    test_support::Append<OutputDisplay>(inner);  // left out when read as a sub-circuit
    inner.outputs[0]->source = inner.components[0]->outputs[0].get();
    files.files["/kreise/addierer"] = test_support::SaveDocument(inner);
    Choose("/kreise/addierer");
  }
  void Choose(const std::string& path) {
    doc.subCircuitList.push_back(
        std::make_unique<SubCircuitListEntry>(SubCircuitListEntry{"addierer", path}));
    state.chosenSubCircuit = doc.subCircuitList.back().get();
  }
  bool PlaceChosen() {
    const std::size_t before = top().components.size();
    edit.ArmPlacing(kind::SubCircuit);
    edit.LeftButtonDown(150, 100);
    EXPECT_EQ(state.mode, EditMode::Idle);
    return top().components.size() > before;
  }
  MemoryFiles files;
};

TEST_F(SubCircuitPlacingTest, LoadsTheChosenFileWithSubCircuitRoles) {
  state.insertDynamic = true;
  ASSERT_TRUE(PlaceChosen());
  const auto& placed = static_cast<const SubCircuit&>(*top().components.front());
  EXPECT_EQ(placed.kind, kind::SubCircuit);
  EXPECT_EQ(placed.label, "addierer");
  EXPECT_TRUE(placed.dynamic);
  EXPECT_EQ(placed.path, "/kreise/addierer");
  EXPECT_EQ(test_support::KindsOf(placed), std::vector<int>{kind::Plus});
  ASSERT_EQ(placed.inputs.size(), 1u);
  EXPECT_EQ(placed.inputs[0]->role, PortRole::SubCircuitInput);
  EXPECT_EQ(placed.inputs[0]->source, nullptr);
  EXPECT_EQ(placed.outputs[0]->role, PortRole::SubCircuitOutput);
  EXPECT_EQ(placed.x, 150);
  EXPECT_EQ(placed.y, 95);

  state.insertDynamic = false;
  ASSERT_TRUE(PlaceChosen());
  EXPECT_FALSE(static_cast<const SubCircuit&>(*top().components.front()).dynamic);
}

TEST_F(SubCircuitPlacingTest, UnreadableFilesPlaceNothingSilently) {
  const auto good = files.files["/kreise/addierer"];
  files.files["/kreise/alt"] = test_support::Bytes{3, '1', '.', '0', 'a'};
  files.files["/kreise/kaputt"] = test_support::Bytes(good.begin(), good.begin() + 12);
  for (const std::string path : {"/kreise/fehlt", "/kreise/alt", "/kreise/kaputt", ""}) {
    SCOPED_TRACE(path);
    Choose(path);
    EXPECT_FALSE(PlaceChosen());
  }
  // "Neu" empties the list the choice pointed into: the stale choice must not be followed.
  Choose("/kreise/addierer");
  doc.EmptyDocument();
  EXPECT_FALSE(PlaceChosen());
}

TEST_F(EditControllerTest, DraggedComponentSnapsAndStaysBetweenTheColumns) {
  TwoInputOperator& op = Operator();
  edit.LeftButtonDown(220, 130);  // body, no port: grab offset (20, 25)
  EXPECT_EQ(state.mode, EditMode::MovingComponent);
  EXPECT_EQ(doc.selectedComponent, &op);
  EXPECT_FALSE(doc.IsModified());

  struct Move {
    int x, y, wantX, wantY;
  };
  for (const Move& m : std::vector<Move>{
           {257, 143, 230, 115}, {50, 130, 90, 105}, {300, 1100, 280, 990}, {600, -40, 470, 0}}) {
    edit.MouseMove(m.x, m.y);
    EXPECT_EQ(op.x, m.wantX) << m.x << "," << m.y;
    EXPECT_EQ(op.y, m.wantY) << m.x << "," << m.y;
  }
  EXPECT_TRUE(doc.IsModified());
  edit.LeftButtonUp(600, -40);
  EXPECT_EQ(state.mode, EditMode::MoveDone);
  EXPECT_EQ(doc.selectedComponent, &op);  // the selection outlives the gesture
}

TEST_F(EditControllerTest, OverlappingComponentsFindTheLaterPlacedFirst) {
  Operator(200, 105);
  TwoInputOperator& later = Operator(210, 115);
  edit.LeftButtonDown(225, 125);
  EXPECT_EQ(doc.selectedComponent, &later);
}

TEST_F(EditControllerTest, LeftColumnCreatesOrderedInputsAndStartsTyping) {
  Input(0);
  Input(3);
  edit.LeftButtonDown(40, 65);
  ASSERT_EQ(top().inputs.size(), 3u);
  EXPECT_EQ(top().inputs[1]->row, 2);
  EXPECT_EQ(top().inputs[1]->y, 80);
  EXPECT_TRUE(doc.IsModified());  // a new terminal is saved with the circuit

  const int repaints = host.wholeRepaints;
  edit.LeftButtonDown(40, 65);
  EXPECT_EQ(state.mode, EditMode::EditingInputValue);
  EXPECT_EQ(doc.editedInput, top().inputs[1].get());
  EXPECT_EQ(host.wholeRepaints, repaints);  // starting to type repaints nothing

  edit.LeftButtonDown(300, 300);  // commits the (empty) text and ends typing
  edit.LeftButtonDown(40, 3);     // (3 - 5) / 30 truncates to row 0
  EXPECT_EQ(doc.editedInput, top().inputs[0].get());
  edit.LeftButtonDown(300, 300);
  edit.LeftButtonDown(40, -30);  // above the first row: nothing
  EXPECT_EQ(top().inputs.size(), 3u);
  EXPECT_EQ(state.mode, EditMode::Idle);
}

TEST_F(EditControllerTest, RightColumnDeletesFarAndWiresNear) {
  TwoInputOperator& op = Operator();
  Port& output = Output(1);  // at (510, 50)
  output.source = op.outputs[0].get();
  edit.LeftButtonDown(520, 52);  // W - 80: still the near part
  EXPECT_EQ(state.mode, EditMode::DrawingWire);
  EXPECT_EQ(doc.selectedPort, &output);
  EXPECT_EQ(state.modeArg, wire_start::kAtSink);
  EXPECT_FALSE(doc.IsModified());

  edit.LeftButtonDown(521, 52);
  EXPECT_TRUE(top().outputs.empty());
  EXPECT_TRUE(doc.IsModified());
  ExpectNoDanglingReferences();

  doc.SetModifiedFlag(false);
  edit.LeftButtonDown(540, 200);  // empty rows: new outputs there, kept in row order
  edit.LeftButtonDown(540, 80);
  ASSERT_EQ(top().outputs.size(), 2u);
  EXPECT_EQ(top().outputs[0]->row, 2);
  EXPECT_EQ(top().outputs[1]->row, 6);
  EXPECT_EQ(top().outputs[1]->role, PortRole::CircuitOutput);
  EXPECT_TRUE(doc.IsModified());
}

// Which part a press takes, by the tolerances and the search order: a component's ports only
// from inside its body, and a wired output only from the right column.
TEST_F(EditControllerTest, PressesTakeThePartWithinItsTolerance) {
  TwoInputOperator& op = Operator();  // inputs at (200, 110) and (200, 120), output at (240, 110)
  Port& input = Input(2);             // at (90, 80)
  Port& freeOutput = Output(1);       // at (510, 50)
  Port& wiredOutput = Output(3);      // at (510, 110)
  wiredOutput.source = op.outputs[0].get();
  Junction& open = AddJunction(150, 300);
  Junction& fed = AddJunction(300, 300);
  fed.port.source = &input;

  struct Case {
    int x, y;
    const Port* port;
    int modeArg;
    EditMode mode;
  };
  const std::vector<Case> cases = {
      {209, 110, op.inputs[0].get(), wire_start::kAtSink, EditMode::DrawingWire},
      {239, 114, op.outputs[0].get(), wire_start::kAtSource, EditMode::DrawingWire},
      {210, 110, nullptr, -1, EditMode::MovingComponent},  // 10 off both ports: the body
      {245, 110, nullptr, -1, EditMode::Idle},             // the output, from outside the body
      {154, 304, &open.port, wire_start::kAtOpenJunction, EditMode::DrawingWire},
      {300, 296, &fed.port, wire_start::kAtSource, EditMode::DrawingWire},
      {155, 300, nullptr, -1, EditMode::Idle},
      {81, 84, &input, wire_start::kAtSource, EditMode::DrawingWire},
      {80, 80, nullptr, -1, EditMode::EditingInputValue},  // beside the tip: typing
      {90, 85, nullptr, -1, EditMode::Idle},
      {501, 50, &freeOutput, wire_start::kAtSink, EditMode::DrawingWire},
      {505, 110, nullptr, -1, EditMode::Idle},
      {520, 110, &wiredOutput, wire_start::kAtSink, EditMode::DrawingWire},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.x << "," << c.y);
    state.mode = EditMode::Idle;
    state.modeArg = -1;
    edit.LeftButtonDown(c.x, c.y);
    EXPECT_EQ(doc.selectedPort, c.port);
    EXPECT_EQ(state.modeArg, c.modeArg);
    EXPECT_EQ(state.mode, c.mode);
    // Every press lets go of the component pressed before, so Delete cannot remove it later.
    EXPECT_EQ(doc.selectedComponent, c.mode == EditMode::MovingComponent ? &op : nullptr);
  }
}

TEST_F(EditControllerTest, LockedDocumentOnlyDeselectsTypesAndStaysArmed) {
  Operator();
  Port& input = Input(1);
  doc.settings.editable = false;
  for (const auto& [x, y] : std::vector<std::pair<int, int>>{{220, 130}, {40, 200}, {540, 80}}) {
    edit.LeftButtonDown(x, y);
    EXPECT_EQ(state.mode, EditMode::Idle);
    EXPECT_EQ(doc.selectedComponent, nullptr);
  }
  EXPECT_EQ(top().inputs.size(), 1u);
  EXPECT_TRUE(top().outputs.empty());
  edit.LeftButtonDown(88, 50);  // even on the terminal's tip
  EXPECT_EQ(doc.editedInput, &input);
  Keys({'7', 46});  // Delete of the input is refused, but typing ends
  EXPECT_EQ(top().inputs.size(), 1u);
  EXPECT_EQ(state.mode, EditMode::Idle);
  edit.RightButtonDown(300, 300);
  EXPECT_TRUE(top().junctions.empty());
  edit.ArmPlacing(kind::DelayLine);
  edit.LeftButtonDown(200, 200);
  EXPECT_EQ(state.mode, EditMode::PlacingComponent);  // stays armed, asks nothing
  EXPECT_TRUE(host.calls.empty());
  EXPECT_EQ(top().components.size(), 1u);
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(EditControllerTest, WiresConnectSourceToSink) {
  TwoInputOperator& from = Operator(200, 105);
  TwoInputOperator& to = Operator(300, 105);
  Junction& open = AddJunction(150, 300);
  Junction& other = AddJunction(170, 300);

  // From an output to a free input; the source stays selected.
  to.inputs[1]->fresh = false;
  Drag(235, 110, 302, 118);
  EXPECT_EQ(to.inputs[1]->source, from.outputs[0].get());
  EXPECT_TRUE(to.inputs[1]->fresh);  // the next pass copies the value even if it looks equal
  EXPECT_EQ(doc.selectedPort, from.outputs[0].get());
  EXPECT_EQ(doc.wireTarget, nullptr);
  EXPECT_EQ(state.mode, EditMode::WireDone);
  EXPECT_TRUE(doc.IsModified());

  // From an input back to an output: the target becomes the source.
  Drag(202, 110, 336, 112);
  EXPECT_EQ(from.inputs[0]->source, to.outputs[0].get());

  // Output onto output: nothing, and nothing marked.
  doc.SetModifiedFlag(false);
  Drag(235, 110, 336, 112);
  EXPECT_EQ(from.outputs[0]->source, nullptr);
  EXPECT_EQ(to.outputs[0]->source, nullptr);
  EXPECT_FALSE(doc.IsModified());

  // An open junction dropped on an output takes it as its source ...
  Drag(150, 300, 236, 110);
  EXPECT_EQ(open.port.source, from.outputs[0].get());
  // ... and one dropped on a free input feeds it.
  Drag(170, 300, 202, 120);
  EXPECT_EQ(from.inputs[1]->source, &other.port);
  // A junction released over itself is not wired to itself.
  Drag(170, 300, 171, 301);
  EXPECT_EQ(other.port.source, nullptr);
  ExpectNoDanglingReferences();
}

TEST_F(EditControllerTest, WiredInputStartsNoWire) {
  TwoInputOperator& op = Operator();
  Port& input = Input(0);
  op.inputs[0]->source = &input;
  edit.LeftButtonDown(202, 110);
  EXPECT_EQ(state.mode, EditMode::DrawingWire);
  edit.MouseMove(150, 150);
  EXPECT_EQ(state.mode, EditMode::WireDone);
  EXPECT_TRUE(host.rects.empty());
}

// A wire from a sink looks for sources, one from a source for free sinks, one from a junction
// without a source for either.
TEST_F(EditControllerTest, RubberWireSnapsOnlyToPortsThatFitItsStart) {
  Operator(200, 105);  // "a"
  TwoInputOperator& b = Operator(300, 105);
  Port& input = Input(0);    // at (90, 20)
  Port& output = Output(0);  // at (510, 20)
  b.inputs[1]->source = &input;
  Junction& open = AddJunction(150, 300);
  Junction& fed = AddJunction(170, 300);
  fed.port.source = &input;

  const CanvasPoint aInput{202, 110}, aOutput{236, 110}, bInput{302, 110}, bWiredInput{302, 120},
      bOutput{336, 110}, atInput{92, 20}, atOutput{508, 20}, atOpen{150, 300}, atFed{170, 300};
  struct Case {
    CanvasPoint from, to;
    const Port* target;
  };
  const std::vector<Case> cases = {
      {aOutput, bInput, b.inputs[0].get()},
      {aOutput, bWiredInput, nullptr},
      {aOutput, bOutput, nullptr},
      {aOutput, atOpen, &open.port},
      {aOutput, atFed, nullptr},
      {aOutput, atInput, nullptr},
      {aOutput, atOutput, &output},
      {aInput, bInput, nullptr},
      {aInput, bOutput, b.outputs[0].get()},
      {aInput, atFed, &fed.port},
      {aInput, atInput, &input},
      {aInput, atOutput, nullptr},
      {atOpen, bInput, b.inputs[0].get()},
      {atOpen, bOutput, b.outputs[0].get()},
      {atOpen, atFed, &fed.port},
      {atOpen, atInput, &input},
      {atOpen, atOutput, &output},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message()
                 << c.from.x << "," << c.from.y << " to " << c.to.x << "," << c.to.y);
    edit.LeftButtonDown(c.from.x, c.from.y);
    ASSERT_EQ(state.mode, EditMode::DrawingWire);
    edit.MouseMove(c.to.x, c.to.y);
    EXPECT_EQ(doc.wireTarget, c.target);
    EXPECT_EQ(state.wireSnapped, c.target != nullptr);
  }
}

TEST_F(EditControllerTest, RubberWireRepaintsOldAndNewSpanAndSnaps) {
  TwoInputOperator& op = Operator();
  Input(2);                 // at (90, 80)
  edit.MouseMove(400, 20);  // lastMouse before the press
  edit.LeftButtonDown(92, 80);
  edit.MouseMove(150, 200);
  edit.MouseMove(203, 118);
  ASSERT_EQ(host.rects.size(), 2u);
  EXPECT_EQ(host.rects[0], (CanvasRect{90, 20, 400, 200}));
  EXPECT_EQ(host.rects[1], (CanvasRect{90, 80, 203, 200}));
  EXPECT_TRUE(state.wireSnapped);
  EXPECT_EQ(state.wireEnd.x, op.inputs[1]->x);
  EXPECT_EQ(state.wireEnd.y, op.inputs[1]->y);
  EXPECT_EQ(doc.wireTarget, op.inputs[1].get());
  EXPECT_EQ(state.lastMouse.x, 203);  // the mouse, not the snapped point
}

TEST_F(EditControllerTest, RightButtonCreatesAndMovesJunctions) {
  edit.RightButtonDown(157, 243);
  ASSERT_EQ(top().junctions.size(), 1u);
  Port& point = top().junctions[0]->port;
  EXPECT_EQ(point.x, 150);
  EXPECT_EQ(point.y, 240);
  EXPECT_EQ(state.mode, EditMode::Idle);
  EXPECT_TRUE(doc.IsModified());       // a new junction is saved with the circuit
  for (const int x : {40, 90, 510}) {  // not strictly between the columns
    edit.RightButtonDown(x, 243);
  }
  EXPECT_EQ(top().junctions.size(), 1u);
  doc.SetModifiedFlag(false);

  edit.RightButtonDown(153, 238);
  EXPECT_EQ(state.mode, EditMode::MovingJunction);
  edit.MouseMove(20, 1200);
  EXPECT_EQ(point.x, 90);
  EXPECT_EQ(point.y, 990);
  edit.MouseMove(599, 77);
  EXPECT_EQ(point.x, 510);
  EXPECT_EQ(point.y, 70);
  EXPECT_TRUE(doc.IsModified());
  edit.RightButtonUp(599, 77);
  EXPECT_EQ(state.mode, EditMode::JunctionMoveDone);

  edit.RightButtonDown(91, 400);  // the newest junction goes to the head
  ASSERT_EQ(top().junctions.size(), 2u);
  EXPECT_EQ(top().junctions[0]->port.x, 90);
  EXPECT_EQ(top().junctions[0]->port.y, 400);
}

TEST_F(EditControllerTest, TypedValuesAreReadAsNumbers) {
  struct Case {
    std::vector<int> keys;
    float value;
  };
  const std::vector<Case> cases = {
      {{189, '1', 188, '5', 13}, -1.5f},     // minus, 1, comma, 5, Enter
      {{'1', 190, 190, '5', 13}, 1.0f},      // the reading stops at the second point
      {{'4', 109, 189, '2', 13}, 42.0f},     // a minus after the first character is ignored
      {{97, 98, 110, 101, 13}, 12.5f},       // keypad digits and point
      {{'9', '9', 8, 8, 8, '3', 13}, 3.0f},  // Backspace, also on an empty text
      {{109, '3', 13}, -3.0f},               // the keypad's minus as the first character
      {{190, 13}, 0.0f},                     // no number at all
      {{'8', 27}, 7.0f},                     // Escape keeps the old value
      {{'6', 'Q'}, 7.0f},                    // other keys do nothing ...
  };
  Port& input = Input(0);
  Operator();
  for (const Case& c : cases) {
    input.value = 7.0f;
    edit.LeftButtonDown(40, 20);
    ASSERT_EQ(state.mode, EditMode::EditingInputValue);
    Keys(c.keys);
    EXPECT_EQ(input.value, c.value) << c.keys.size() << " keys, text " << state.valueText;
    edit.LeftButtonDown(220, 130);  // on the operator's body: it only ends the typing
  }
  EXPECT_EQ(input.value, 6.0f);  // ... and a click anywhere commits like Enter
  EXPECT_EQ(state.mode, EditMode::Idle);
  EXPECT_EQ(doc.selectedComponent, nullptr);
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(EditControllerTest, DeleteWhileTypingRemovesTheInputAndItsWires) {
  TwoInputOperator& op = Operator();
  Port& input = Input(0);
  op.inputs[0]->source = &input;
  edit.LeftButtonDown(40, 20);
  edit.KeyDown(46);
  EXPECT_TRUE(top().inputs.empty());
  EXPECT_EQ(op.inputs[0]->source, nullptr);
  EXPECT_EQ(doc.editedInput, nullptr);
  EXPECT_EQ(state.mode, EditMode::Idle);
  EXPECT_TRUE(doc.IsModified());
  edit.KeyDown(13);  // nothing left to store into
  ExpectNoDanglingReferences();
}

TEST_F(EditControllerTest, ShortcutsArmPlacingAndEveryKeyModifies) {
  const std::vector<std::pair<int, int>> shortcuts = {
      {'D', kind::DelayLine},     {'G', kind::Equal},          {'I', kind::Truncate},
      {'O', kind::OutputDisplay}, {'R', kind::RandomFraction}, {'Z', kind::RandomInteger},
      {106, kind::Times},         {107, kind::Plus},           {187, kind::Plus},
      {109, kind::Minus},         {189, kind::Minus},          {111, kind::Divide},
  };
  for (const auto& [key, kind] : shortcuts) {
    state.mode = EditMode::MovingComponent;  // also in the middle of a drag
    edit.KeyDown(key);
    EXPECT_EQ(state.mode, EditMode::PlacingComponent) << key;
    EXPECT_EQ(state.modeArg, kind) << key;
  }
  edit.KeyDown('Z');
  edit.LeftButtonDown(200, 200);
  ASSERT_EQ(top().components.size(), 1u);
  EXPECT_EQ(top().components[0]->label, "zuf");

  doc.SetModifiedFlag(false);
  edit.KeyDown('Q');
  EXPECT_TRUE(doc.IsModified());
  EXPECT_EQ(state.mode, EditMode::Idle);
  EXPECT_EQ(top().components.size(), 1u);

  doc.SetModifiedFlag(false);
  doc.settings.editable = false;
  edit.KeyDown('D');
  EXPECT_EQ(state.mode, EditMode::Idle);
  EXPECT_FALSE(doc.IsModified());
}

TEST_F(EditControllerTest, DeletingAComponentRemovesEveryWireAtIt) {
  TwoInputOperator& before = Operator(150, 105);
  TwoInputOperator& doomed = Operator(250, 105);
  TwoInputOperator& after = Operator(350, 105);
  Port& output = Output(0);
  Junction& junction = AddJunction(300, 300);
  doomed.inputs[0]->source = before.outputs[0].get();
  after.inputs[0]->source = doomed.outputs[0].get();
  output.source = doomed.outputs[0].get();
  junction.port.source = doomed.outputs[0].get();

  edit.LeftButtonDown(270, 130);
  ASSERT_EQ(doc.selectedComponent, &doomed);
  edit.KeyDown(46);
  EXPECT_EQ(top().components.size(), 2u);
  EXPECT_EQ(doc.selectedComponent, nullptr);
  EXPECT_EQ(after.inputs[0]->source, nullptr);
  EXPECT_EQ(output.source, nullptr);
  EXPECT_EQ(junction.port.source, nullptr);
  edit.MouseMove(300, 300);  // the drag goes on without its component
  edit.LeftButtonUp(300, 300);
  ExpectNoDanglingReferences();
}

// The selection outlives the gesture: Delete after pressing an input removes the wire into it,
// after completing a wire every wire leaving its source.
TEST_F(EditControllerTest, DeleteActsOnThePortPressedLast) {
  TwoInputOperator& from = Operator(200, 105);
  TwoInputOperator& to = Operator(300, 105);
  to.inputs[0]->source = from.outputs[0].get();
  to.inputs[1]->source = from.outputs[0].get();
  edit.LeftButtonDown(302, 110);
  edit.LeftButtonUp(302, 110);
  edit.KeyDown(46);
  EXPECT_EQ(to.inputs[0]->source, nullptr);
  EXPECT_EQ(to.inputs[1]->source, from.outputs[0].get());

  Drag(235, 110, 302, 110);
  ASSERT_EQ(to.inputs[0]->source, from.outputs[0].get());
  edit.KeyDown(46);
  EXPECT_EQ(to.inputs[0]->source, nullptr);
  EXPECT_EQ(to.inputs[1]->source, nullptr);
  EXPECT_EQ(top().components.size(), 2u);
}

TEST_F(EditControllerTest, DeletingAJunctionRemovesItAndItsOutgoingWires) {
  TwoInputOperator& op = Operator();
  Junction& junction = AddJunction(150, 300);
  junction.port.source = &Input(0);
  op.inputs[0]->source = &junction.port;
  AddJunction(170, 300).port.source = &junction.port;

  // Start a wire at the junction, hover over it, and delete it before the release.
  edit.LeftButtonDown(150, 300);
  edit.MouseMove(152, 301);
  edit.KeyDown(8);
  EXPECT_EQ(top().junctions.size(), 1u);
  EXPECT_EQ(top().junctions[0]->port.source, nullptr);
  EXPECT_EQ(op.inputs[0]->source, nullptr);
  EXPECT_EQ(doc.selectedPort, nullptr);
  edit.MouseMove(160, 310);
  edit.LeftButtonUp(160, 310);
  ExpectNoDanglingReferences();
}

TEST(VirtualKeys, QtKeysMapToTheCodesTheRulesUse) {
  struct Case {
    int qtKey;
    bool keypad;
    int code;
  };
  const std::vector<Case> cases = {
      {Qt::Key_0, false, 48},        {Qt::Key_9, false, 57},       {Qt::Key_0, true, 96},
      {Qt::Key_9, true, 105},        {Qt::Key_A, false, 65},       {Qt::Key_Z, false, 90},
      {Qt::Key_Backspace, false, 8}, {Qt::Key_Return, false, 13},  {Qt::Key_Enter, true, 13},
      {Qt::Key_Escape, false, 27},   {Qt::Key_Delete, false, 46},  {Qt::Key_Minus, true, 109},
      {Qt::Key_Minus, false, 189},   {Qt::Key_Period, true, 110},  {Qt::Key_Comma, true, 110},
      {Qt::Key_Comma, false, 188},   {Qt::Key_Period, false, 190}, {Qt::Key_Asterisk, true, 106},
      {Qt::Key_Plus, true, 107},     {Qt::Key_Plus, false, 187},   {Qt::Key_Slash, true, 111},
      {Qt::Key_F1, false, 0},        {Qt::Key_Slash, false, 0},    {Qt::Key_Home, true, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VirtualKeyFromQtKey(c.qtKey, c.keypad), c.code) << c.qtKey << " " << c.keypad;
  }
}

// Shift changes the character, not the key: what counts is the key the layout puts there without
// Shift (base), and only where that has no code, the key typed.
TEST(VirtualKeys, KeysCountByTheKeyOnGermanAndUsLayouts) {
  struct Case {
    const char* press;
    int baseKey;
    int typedKey;
    bool keypad;
    int code;
  };
  const std::vector<Case> cases = {
      {"de Shift+plus", Qt::Key_Plus, Qt::Key_Asterisk, false, 187},
      {"de Shift+minus", Qt::Key_Minus, Qt::Key_Underscore, false, 189},
      {"de Shift+comma", Qt::Key_Comma, Qt::Key_Semicolon, false, 188},
      {"de Shift+full stop", Qt::Key_Period, Qt::Key_Colon, false, 190},
      {"de Shift+7", Qt::Key_7, Qt::Key_Slash, false, '7'},
      {"de keypad comma", Qt::Key_Comma, Qt::Key_Comma, true, 110},
      {"us Shift+equals", Qt::Key_Equal, Qt::Key_Plus, false, 187},
      {"us Shift+minus", Qt::Key_Minus, Qt::Key_Underscore, false, 189},
      {"us Shift+comma", Qt::Key_Comma, Qt::Key_Less, false, 188},
      {"us Shift+full stop", Qt::Key_Period, Qt::Key_Greater, false, 190},
      {"us equals", Qt::Key_Equal, Qt::Key_Equal, false, 0},
      {"keypad multiply", Qt::Key_Asterisk, Qt::Key_Asterisk, true, 106},
      {"keypad plus", Qt::Key_Plus, Qt::Key_Plus, true, 107},
      {"Shift+keypad 1, Num Lock on", Qt::Key_1, Qt::Key_End, true, 0},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(VirtualKeyFromPress(c.baseKey, c.typedKey, c.keypad), c.code) << c.press;
  }
}

}  // namespace
}  // namespace trivenor
