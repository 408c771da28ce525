#include "view/editing/junction_gestures.h"

#include "document/undo_step_names.h"
#include "view/editing/canvas_hits.h"

namespace trivenor {

void JunctionGestures::Press(int x, int y) {
  EditState& state = context_.state;
  state.mode = EditMode::Idle;
  if (!context_.Editable()) {
    context_.host.ReportLocked();
    return;
  }
  CTrivenorDoc& document = context_.document;
  document.selectedPort = nullptr;
  const auto junction = FindPartAt(
      context_.circuit(), x, y, [](const PartHit& hit) { return hit.kind == PartKind::Junction; });
  if (junction) {
    document.selectedPort = junction->port;
    state.mode = EditMode::MovingJunction;
    from_ = to_ = {junction->port->x, junction->port->y};
  } else if (x > canvas::kTerminalColumn && x < context_.RightBorder()) {
    context_.edit().AddJunction((x / 10) * 10, (y / 10) * 10);
    document.SetModifiedFlag();
    document.RecordStep(undo_step::kAddJunction);
  }
}

void JunctionGestures::Drag(int x, int y) {
  Junction* junction = FindJunction(context_.circuit(), context_.document.selectedPort);
  if (junction == nullptr) {
    return;
  }
  to_ = {Clamp((x / 10) * 10, canvas::kTerminalColumn, context_.RightBorder()),
         Clamp((y / 10) * 10, 0, kLowestY)};
  context_.edit().MoveJunction(*junction, to_.x, to_.y);
  context_.host.InvalidateAll();
  context_.document.SetModifiedFlag();
}

void JunctionGestures::Release() {
  if (context_.state.mode == EditMode::MovingJunction) {
    context_.state.mode = EditMode::JunctionMoveDone;
  }
}

void JunctionGestures::RecordMove() {
  if (to_ != from_) {
    context_.document.RecordStep(undo_step::kMove);
    from_ = to_;
  }
}

}  // namespace trivenor
