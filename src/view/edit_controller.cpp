#include "view/edit_controller.h"

#include "model/virtual_key_codes.h"
#include "view/editing/canvas_hits.h"

namespace trivenor {

void EditController::ArmPlacing(int kind) {
  RecordDrags();
  context_.state.mode = EditMode::PlacingComponent;
  context_.state.modeArg = kind;
  context_.host.InvalidateAll();
}

void EditController::RecordDrags() {
  moving_.RecordMove();
  junctions_.RecordMove();
}

void EditController::StartOver() {
  context_.state.mode = EditMode::Idle;
  context_.state.wireSnapped = false;
  moving_.Forget();
  junctions_.Forget();
}

void EditController::LeftButtonDown(int x, int y) {
  RecordDrags();
  CTrivenorDoc& document = context_.document;
  EditState& state = context_.state;
  document.selectedPort = nullptr;
  document.wireTarget = nullptr;
  if (state.mode == EditMode::MoveDone || state.mode == EditMode::WireDone) {
    state.mode = EditMode::Idle;
  }
  if (state.mode == EditMode::PlacingComponent) {
    placing_.Click(x, y);
    context_.host.InvalidateAll();
    return;
  }
  if (state.mode == EditMode::EditingInputValue) {
    typing_.Commit();  // a click anywhere commits, like Enter
    context_.host.InvalidateAll();
    return;
  }

  state.mode = EditMode::Idle;
  document.selectedComponent = nullptr;
  if (!context_.Editable()) {
    ReportLockedPart(x, y);
  }
  const bool portHit = context_.Editable() && PressOnPart(x, y);
  if (!portHit && state.mode != EditMode::MovingComponent && !terminals_.Click(x, y)) {
    return;  // typing has started: the typed box is drawn by the next key
  }
  if (document.selectedPort != nullptr) {
    state.mode = EditMode::DrawingWire;
  }
  context_.host.InvalidateAll();
}

// Terminals are left out: clicking an input starts typing its value, which the lock allows.
void EditController::ReportLockedPart(int x, int y) {
  const auto hit = FindPartAt(context_.circuit(), x, y, [](const PartHit& candidate) {
    return candidate.kind != PartKind::InputTerminal && candidate.kind != PartKind::OutputTerminal;
  });
  if (hit) {
    context_.host.ReportLocked();
  }
}

bool EditController::PressOnPart(int x, int y) {
  // An output terminal that has its wire already starts nothing.
  const auto hit = FindPartAt(context_.circuit(), x, y, [](const PartHit& candidate) {
    return candidate.kind != PartKind::OutputTerminal || candidate.port->source == nullptr;
  });
  if (!hit) {
    return false;
  }
  switch (hit->kind) {
    case PartKind::ComponentBody:
      moving_.Grab(*hit->component, x, y);
      return false;
    case PartKind::ComponentInput:
    case PartKind::OutputTerminal:
      wires_.Start(*hit->port, wire_start::kAtSink);
      return true;
    case PartKind::ComponentOutput:
    case PartKind::InputTerminal:
      wires_.Start(*hit->port, wire_start::kAtSource);
      return true;
    case PartKind::Junction:
      wires_.Start(*hit->port, hit->port->source != nullptr ? wire_start::kAtSource
                                                            : wire_start::kAtOpenJunction);
      return true;
  }
  return false;
}

void EditController::MouseMove(int x, int y) {
  EditState& state = context_.state;
  state.wireEnd = {x, y};
  if (context_.Editable()) {
    if (state.mode == EditMode::MovingComponent) {
      moving_.Drag(x, y);
    } else if (state.mode == EditMode::MovingJunction) {
      junctions_.Drag(x, y);
    } else if (state.mode == EditMode::DrawingWire) {
      wires_.Track(x, y);
    }
  }
  state.lastMouse = {x, y};
}

void EditController::LeftButtonUp(int /*x*/, int /*y*/) {
  RecordDrags();
  if (context_.state.mode == EditMode::MovingComponent) {
    moving_.Release();
  }
  if (context_.state.mode == EditMode::DrawingWire) {
    wires_.Finish();
  }
  context_.host.InvalidateAll();
}

void EditController::RightButtonDown(int x, int y) {
  RecordDrags();
  junctions_.Press(x, y);
  context_.host.InvalidateAll();
}

void EditController::RightButtonUp(int /*x*/, int /*y*/) {
  RecordDrags();
  junctions_.Release();
  context_.host.InvalidateAll();
}

void EditController::KeyDown(int virtualKey) {
  RecordDrags();
  if (context_.state.mode == EditMode::EditingInputValue) {
    typing_.Key(virtualKey);
  } else if (context_.Editable()) {
    context_.document.SetModifiedFlag();  // every key, also one without an action
    shortcuts_.Key(virtualKey);
  } else if (virtualKey == vk::kBackspace || virtualKey == vk::kDelete) {
    context_.host.ReportLocked();
  }
  context_.host.InvalidateAll();
}

}  // namespace trivenor
