#include "view/edit_controller.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

#include "document/sub_circuit_placing.h"
#include "model/component_registry.h"
#include "model/number_text.h"
#include "model/virtual_key_codes.h"
#include "view/canvas_geometry.h"

namespace trivenor {

namespace {

using canvas::kTerminalColumn;

/// Canvas y below which nothing is moved: the lowest grid line a component or junction may take.
constexpr int kLowestY = 990;

/// Ports of components and terminals are wide targets, junctions small square ones.
bool HitsPort(const Port& port, int x, int y) {
  return std::abs(x - port.x) < 10 && std::abs(y - port.y) < 5;
}

bool HitsJunction(const Port& port, int x, int y) {
  return std::abs(x - port.x) < 5 && std::abs(y - port.y) < 5;
}

/// Terminal row under y; negative above the first row. Integer division truncates toward zero,
/// so y = 3 still gives row 0.
int TerminalRowAt(int y) {
  return (y - 5) / canvas::kTerminalPitch;
}

Port* TerminalInRow(const PortList& terminals, int row) {
  for (const auto& port : terminals) {
    if (port->row == row) {
      return port.get();
    }
  }
  return nullptr;
}

/// The junction whose port `port` is, if any.
Junction* JunctionOf(const SubCircuit& circuit, const Port* port) {
  const auto found = std::find_if(circuit.junctions.begin(), circuit.junctions.end(),
                                  [port](const auto& junction) { return &junction->port == port; });
  return found != circuit.junctions.end() ? found->get() : nullptr;
}

/// What `kind` makes from the answer of its dialog; nothing when the dialog was cancelled.
template <typename Answer>
std::unique_ptr<Component> CreateFromAnswer(const ComponentKind& kind,
                                            std::optional<Answer> answer) {
  return answer ? kind.Create(std::move(*answer)) : nullptr;
}

int Clamp(int value, int low, int high) {
  if (value < low) {
    return low;
  }
  return value > high ? high : value;
}

}  // namespace

void EditController::ArmPlacing(int kind) {
  state_.mode = EditMode::PlacingComponent;
  state_.modeArg = kind;
  host_.InvalidateAll();
}

// --- Left button -------------------------------------------------------------------------------

void EditController::LeftButtonDown(int x, int y) {
  document_.selectedPort = nullptr;
  document_.wireTarget = nullptr;
  if (state_.mode == EditMode::MoveDone || state_.mode == EditMode::WireDone) {
    state_.mode = EditMode::Idle;
  }
  if (state_.mode == EditMode::PlacingComponent) {
    PlaceComponent(x, y);
    host_.InvalidateAll();
    return;
  }
  if (state_.mode == EditMode::EditingInputValue) {
    CommitTypedValue();
    state_.mode = EditMode::Idle;
    host_.InvalidateAll();
    return;
  }

  state_.mode = EditMode::Idle;
  document_.selectedComponent = nullptr;
  const bool portHit = Editable() && PressOnPart(x, y);
  if (!portHit && state_.mode != EditMode::MovingComponent && !PressInTerminalColumn(x, y)) {
    return;  // typing has started: the typed box is drawn by the next key
  }
  if (document_.selectedPort != nullptr) {
    state_.mode = EditMode::DrawingWire;
  }
  host_.InvalidateAll();
}

void EditController::PlaceComponent(int x, int y) {
  if (!Editable()) {
    return;  // stays armed
  }
  // Before any dialog, so a cancelled one still leaves the document modified.
  document_.SetModifiedFlag();
  if (std::unique_ptr<Component> component = CreateComponent(state_.modeArg)) {
    document_.edit().Place(std::move(component), (x / 10) * 10, ((y - 5) / 10) * 10 + 5);
  }
  state_.mode = EditMode::Idle;
}

std::unique_ptr<Component> EditController::CreateComponent(int kindCode) {
  const std::optional<ComponentKind> chosen = ComponentKinds().Find(kindCode);
  if (!chosen) {
    return nullptr;
  }
  switch (chosen->dialog) {
    case PlacingDialog::None:
      return chosen->Create();
    case PlacingDialog::Delay:
      return CreateFromAnswer(*chosen, host_.dialogs().AskDelay(1));
    case PlacingDialog::ConstantText:
      return CreateFromAnswer(*chosen, host_.dialogs().AskConstantText());
    case PlacingDialog::HazardHold:
      return CreateFromAnswer(*chosen, host_.dialogs().AskHazardHold(1));
    case PlacingDialog::GraphSettings:
      return CreateFromAnswer(*chosen, host_.dialogs().AskGraphSettings(GraphSettings{}));
    case PlacingDialog::OutputTexts: {
      // Made before its dialog, which edits its table; inserted only after the dialog, so no
      // pass of the clock meanwhile sees it half set up.
      std::unique_ptr<Component> display = chosen->Create();
      host_.dialogs().EditOutputTexts(static_cast<OutputDisplay&>(*display).texts);
      return display;
    }
    case PlacingDialog::SubCircuitFile:
      return LoadChosenSubCircuit();
  }
  return nullptr;
}

std::unique_ptr<Component> EditController::LoadChosenSubCircuit() {
  const SubCircuitListEntry* entry = state_.chosenSubCircuit;
  // "Neu" and "Öffnen" empty the list the entry lives in; a stale choice places nothing.
  const auto& list = document_.subCircuitList;
  if (entry == nullptr || std::none_of(list.begin(), list.end(), [entry](const auto& listed) {
        return listed.get() == entry;
      })) {
    return nullptr;
  }
  return LoadSubCircuitToPlace(*entry, state_.insertDynamic, *document_.files);
}

void EditController::CommitTypedValue() {
  if (document_.editedInput != nullptr) {
    document_.editedInput->value = static_cast<float>(ReadNumber(state_.valueText));
  }
}

bool EditController::PressOnPart(int x, int y) {
  SubCircuit& top = circuit();
  for (const auto& component : top.components) {
    if (!component->Contains(x, y)) {
      continue;
    }
    for (const auto& port : component->inputs) {
      if (HitsPort(*port, x, y)) {
        document_.selectedPort = port.get();
        state_.modeArg = wire_start::kAtSink;
        return true;
      }
    }
    for (const auto& port : component->outputs) {
      if (HitsPort(*port, x, y)) {
        document_.selectedPort = port.get();
        state_.modeArg = wire_start::kAtSource;
        return true;
      }
    }
    document_.selectedComponent = component.get();
    state_.mode = EditMode::MovingComponent;
    state_.grabOffset = {x - component->x, y - component->y};
    return false;
  }
  for (const auto& junction : top.junctions) {
    if (HitsJunction(junction->port, x, y)) {
      document_.selectedPort = &junction->port;
      state_.modeArg =
          junction->port.source != nullptr ? wire_start::kAtSource : wire_start::kAtOpenJunction;
      return true;
    }
  }
  for (const auto& port : top.inputs) {
    if (HitsPort(*port, x, y)) {
      document_.selectedPort = port.get();
      state_.modeArg = wire_start::kAtSource;
      return true;
    }
  }
  for (const auto& port : top.outputs) {
    if (port->source == nullptr && HitsPort(*port, x, y)) {
      document_.selectedPort = port.get();
      state_.modeArg = wire_start::kAtSink;
      return true;
    }
  }
  return false;
}

bool EditController::PressInTerminalColumn(int x, int y) {
  const int row = TerminalRowAt(y);
  if (row < 0) {
    return true;
  }
  SubCircuit& top = circuit();
  const int rightBorder = canvas::RightBorder(CanvasWidth());
  if (x < kTerminalColumn) {
    if (Port* input = TerminalInRow(top.inputs, row)) {
      // Typing a value is allowed in a locked document too.
      document_.editedInput = input;
      state_.valueText.clear();
      state_.mode = EditMode::EditingInputValue;
      return false;
    }
    // Terminals and junctions added or removed by a click are saved with the circuit, so they
    // mark the document modified like every other structural edit: closing must not drop them
    // without asking.
    if (Editable()) {
      document_.edit().AddTerminal(PortRole::CircuitInput, row, kTerminalColumn,
                                   canvas::TerminalY(row));
      document_.SetModifiedFlag();
    }
  } else if (x > rightBorder && Editable()) {
    Port* output = TerminalInRow(top.outputs, row);
    if (output == nullptr) {
      document_.edit().AddTerminal(PortRole::CircuitOutput, row, rightBorder,
                                   canvas::TerminalY(row));
      document_.SetModifiedFlag();
    } else if (x > rightBorder + 10) {
      document_.edit().RemoveTerminal(*output);
      document_.SetModifiedFlag();
    } else {
      document_.selectedPort = output;
      state_.modeArg = wire_start::kAtSink;
    }
  }
  return true;
}

void EditController::LeftButtonUp(int /*x*/, int /*y*/) {
  if (state_.mode == EditMode::MovingComponent) {
    state_.mode = EditMode::MoveDone;
  }
  if (state_.mode == EditMode::DrawingWire) {
    if (document_.selectedPort != nullptr && document_.wireTarget != nullptr) {
      CompleteWire();
    }
    document_.wireTarget = nullptr;
    state_.mode = EditMode::WireDone;
  }
  host_.InvalidateAll();
}

void EditController::CompleteWire() {
  bool targetIsSource = true;
  if (state_.modeArg != wire_start::kAtSink) {
    targetIsSource = FeedsOthers(*document_.wireTarget);
    state_.modeArg = targetIsSource ? wire_start::kAtSource : wire_start::kAtSink;
  }
  if (targetIsSource) {
    std::swap(document_.selectedPort, document_.wireTarget);
  }
  Port& source = *document_.selectedPort;
  Port& sink = *document_.wireTarget;
  if (sink.source != nullptr || !TakesSource(sink.role)) {
    return;  // refused silently
  }
  document_.SetModifiedFlag();
  document_.edit().Connect(source, sink);
}

// --- Mouse move --------------------------------------------------------------------------------

void EditController::MouseMove(int x, int y) {
  state_.wireEnd = {x, y};
  if (Editable()) {
    const int rightBorder = canvas::RightBorder(CanvasWidth());
    if (state_.mode == EditMode::MovingComponent && document_.selectedComponent != nullptr) {
      Component& moved = *document_.selectedComponent;
      const int newX = ((x - state_.grabOffset.x) / 10) * 10;
      const int newY = ((y - state_.grabOffset.y + 5) / 10) * 10 - 5;
      // Left bound first: a component wider than the space between the columns ends up
      // against the right one, as it always has.
      document_.edit().Move(
          moved,
          newX < kTerminalColumn ? kTerminalColumn : std::min(newX, rightBorder - moved.width),
          Clamp(newY, 0, kLowestY));
      host_.InvalidateAll();
      document_.SetModifiedFlag();
    } else if (Junction* junction = JunctionOf(circuit(), document_.selectedPort);
               state_.mode == EditMode::MovingJunction && junction != nullptr) {
      document_.edit().MoveJunction(*junction, Clamp((x / 10) * 10, kTerminalColumn, rightBorder),
                                    Clamp((y / 10) * 10, 0, kLowestY));
      host_.InvalidateAll();
      document_.SetModifiedFlag();
    } else if (state_.mode == EditMode::DrawingWire) {
      TrackWire(x, y);
    }
  }
  state_.lastMouse = {x, y};
}

void EditController::TrackWire(int x, int y) {
  const Port* start = document_.selectedPort;
  if (start == nullptr) {
    state_.wireSnapped = false;
    host_.InvalidateAll();
    return;
  }
  if (state_.modeArg == wire_start::kAtSink && start->source != nullptr) {
    state_.mode = EditMode::WireDone;  // an input that is already wired starts no wire
    return;
  }
  document_.wireTarget = nullptr;
  document_.selectedComponent = nullptr;
  if (Port* target = FindWireTarget(x, y)) {
    document_.wireTarget = target;
    state_.wireSnapped = true;
    state_.wireEnd = {target->x, target->y};
  } else {
    state_.wireSnapped = false;
  }
  const CanvasPoint old = state_.lastMouse;
  host_.InvalidateRect({std::min({start->x, x, old.x}), std::min({start->y, y, old.y}),
                        std::max({start->x, x, old.x}), std::max({start->y, y, old.y})});
}

Port* EditController::FindWireTarget(int x, int y) {
  const int start = state_.modeArg;
  const bool wantsSink = start == wire_start::kAtSource || start == wire_start::kAtOpenJunction;
  const bool wantsSource = start == wire_start::kAtSink || start == wire_start::kAtOpenJunction;
  // The start port itself is no target: a junction wired to itself would hold its value forever.
  const Port* self = document_.selectedPort;
  auto fits = [&](const Port& port) { return &port != self && HitsPort(port, x, y); };

  SubCircuit& top = circuit();
  for (const auto& component : top.components) {
    if (!component->Contains(x, y)) {
      continue;
    }
    if (wantsSink) {
      for (const auto& port : component->inputs) {
        if (port->source == nullptr && fits(*port)) {
          return port.get();
        }
      }
    }
    if (wantsSource) {
      for (const auto& port : component->outputs) {
        if (fits(*port)) {
          return port.get();
        }
      }
    }
  }
  for (const auto& junction : top.junctions) {
    Port& port = junction->port;
    const bool eligible = wantsSource || port.source == nullptr;
    if (eligible && &port != self && HitsJunction(port, x, y)) {
      return &port;
    }
  }
  if (wantsSource) {
    for (const auto& port : top.inputs) {
      if (port->source == nullptr && fits(*port)) {
        return port.get();
      }
    }
  }
  if (wantsSink) {
    for (const auto& port : top.outputs) {
      if (fits(*port)) {
        return port.get();
      }
    }
  }
  return nullptr;
}

// --- Right button ------------------------------------------------------------------------------

void EditController::RightButtonDown(int x, int y) {
  state_.mode = EditMode::Idle;
  if (Editable()) {
    document_.selectedPort = nullptr;
    SubCircuit& top = circuit();
    for (const auto& junction : top.junctions) {
      if (HitsJunction(junction->port, x, y)) {
        document_.selectedPort = &junction->port;
        state_.mode = EditMode::MovingJunction;
        break;
      }
    }
    if (document_.selectedPort == nullptr && x > kTerminalColumn &&
        x < canvas::RightBorder(CanvasWidth())) {
      document_.edit().AddJunction((x / 10) * 10, (y / 10) * 10);
      document_.SetModifiedFlag();
    }
  }
  host_.InvalidateAll();
}

void EditController::RightButtonUp(int /*x*/, int /*y*/) {
  if (state_.mode == EditMode::MovingJunction) {
    state_.mode = EditMode::JunctionMoveDone;
  }
  host_.InvalidateAll();
}

// --- Deleting ----------------------------------------------------------------------------------

void EditController::DeleteEditedInput() {
  document_.edit().RemoveTerminal(*document_.editedInput);
  document_.SetModifiedFlag();
}

void EditController::DeleteSelection() {
  CircuitEdit& edit = document_.edit();
  if (Port* port = document_.selectedPort) {
    if (Junction* junction = JunctionOf(circuit(), port)) {
      edit.RemoveJunction(*junction);
    } else {
      edit.Disconnect(*port);
    }
    return;
  }
  if (Component* component = document_.selectedComponent) {
    edit.Remove(*component);
  }
}

// --- Keyboard ----------------------------------------------------------------------------------

void EditController::KeyDown(int virtualKey) {
  if (state_.mode == EditMode::EditingInputValue) {
    TypeKey(virtualKey);
  } else if (Editable()) {
    document_.SetModifiedFlag();  // every key, also one without an action
    ShortcutKey(virtualKey);
  }
  host_.InvalidateAll();
}

void EditController::TypeKey(int virtualKey) {
  std::string& text = state_.valueText;
  if (virtualKey >= '0' && virtualKey <= '9') {
    text.push_back(static_cast<char>(virtualKey));
  } else if (virtualKey >= 96 && virtualKey <= 105) {
    text.push_back(static_cast<char>(virtualKey - 48));
  } else if (virtualKey == 8) {
    if (!text.empty()) {
      text.pop_back();
    }
  } else if (virtualKey == 13) {
    CommitTypedValue();
    state_.mode = EditMode::Idle;
  } else if (virtualKey == 27) {
    state_.mode = EditMode::Idle;
  } else if (virtualKey == 46) {
    if (document_.editedInput != nullptr && Editable()) {
      DeleteEditedInput();
    }
    state_.mode = EditMode::Idle;
  } else if (virtualKey == 109 || virtualKey == 189) {
    if (text.empty()) {
      text.push_back('-');
    }
  } else if (virtualKey == 110 || virtualKey == 188 || virtualKey == 190) {
    text.push_back('.');
  }
}

void EditController::ShortcutKey(int virtualKey) {
  if (virtualKey == vk::kBackspace || virtualKey == vk::kDelete) {
    DeleteSelection();
  } else if (const ComponentKind* placed = ComponentKinds().ForKey(virtualKey)) {
    state_.mode = EditMode::PlacingComponent;
    state_.modeArg = placed->code;
  }
}

}  // namespace trivenor
