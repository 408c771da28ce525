#include "view/editing/component_moving.h"

#include <algorithm>

#include "document/undo_step_names.h"

namespace trivenor {

void ComponentMoving::Grab(Component& component, int x, int y) {
  context_.document.selectedComponent = &component;
  context_.state.mode = EditMode::MovingComponent;
  context_.state.grabOffset = {x - component.x, y - component.y};
  from_ = to_ = {component.x, component.y};
}

void ComponentMoving::Drag(int x, int y) {
  Component* moved = context_.document.selectedComponent;
  if (moved == nullptr) {
    return;
  }
  const CanvasPoint grab = context_.state.grabOffset;
  const int newX = ((x - grab.x) / 10) * 10;
  const int newY = ((y - grab.y + 5) / 10) * 10 - 5;
  // Left bound first: a component wider than the space between the columns ends up against the
  // right one, as it always has.
  const int right = context_.RightBorder() - moved->width;
  to_ = {newX < canvas::kTerminalColumn ? canvas::kTerminalColumn : std::min(newX, right),
         Clamp(newY, 0, kLowestY)};
  context_.edit().Move(*moved, to_.x, to_.y);
  context_.host.InvalidateAll();
  context_.document.SetModifiedFlag();
}

void ComponentMoving::Release() {
  context_.state.mode = EditMode::MoveDone;
}

void ComponentMoving::RecordMove() {
  if (to_ != from_) {
    context_.document.RecordStep(undo_step::kMove);
    from_ = to_;
  }
}

}  // namespace trivenor
