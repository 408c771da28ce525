#include "view/editing/wire_drawing.h"

#include <algorithm>
#include <utility>

#include "document/undo_step_names.h"
#include "view/editing/canvas_hits.h"

namespace trivenor {

void WireDrawing::Start(Port& port, int startKind) {
  context_.document.selectedPort = &port;
  context_.state.modeArg = startKind;
}

void WireDrawing::Track(int x, int y) {
  CTrivenorDoc& document = context_.document;
  EditState& state = context_.state;
  const Port* start = document.selectedPort;
  if (start == nullptr) {
    state.wireSnapped = false;
    context_.host.InvalidateAll();
    return;
  }
  if (state.modeArg == wire_start::kAtSink && start->source != nullptr) {
    state.mode = EditMode::WireDone;  // an input that is already wired starts no wire
    return;
  }
  document.wireTarget = nullptr;
  document.selectedComponent = nullptr;
  if (Port* target = FindTarget(x, y)) {
    document.wireTarget = target;
    state.wireSnapped = true;
    state.wireEnd = {target->x, target->y};
  } else {
    state.wireSnapped = false;
  }
  // The old rubber wire ended at the previous mouse position, the new one ends here.
  const CanvasPoint old = state.lastMouse;
  context_.host.InvalidateRect({std::min({start->x, x, old.x}), std::min({start->y, y, old.y}),
                                std::max({start->x, x, old.x}), std::max({start->y, y, old.y})});
}

Port* WireDrawing::FindTarget(int x, int y) {
  const int start = context_.state.modeArg;
  const bool wantsSink = start == wire_start::kAtSource || start == wire_start::kAtOpenJunction;
  const bool wantsSource = start == wire_start::kAtSink || start == wire_start::kAtOpenJunction;
  // The start port itself is no target: a junction wired to itself would hold its value forever.
  const Port* self = context_.document.selectedPort;
  const auto target = FindPartAt(context_.circuit(), x, y, [&](const PartHit& hit) {
    if (hit.port == self) {
      return false;
    }
    switch (hit.kind) {
      case PartKind::ComponentInput:
        return wantsSink && hit.port->source == nullptr;
      case PartKind::ComponentOutput:
        return wantsSource;
      case PartKind::ComponentBody:
        return false;
      case PartKind::Junction:
        return wantsSource || hit.port->source == nullptr;
      case PartKind::InputTerminal:
        return wantsSource && hit.port->source == nullptr;
      case PartKind::OutputTerminal:
        return wantsSink;
    }
    return false;
  });
  return target ? target->port : nullptr;
}

void WireDrawing::Finish() {
  CTrivenorDoc& document = context_.document;
  if (document.selectedPort != nullptr && document.wireTarget != nullptr) {
    Connect();
  }
  document.wireTarget = nullptr;
  context_.state.mode = EditMode::WireDone;
}

void WireDrawing::Connect() {
  CTrivenorDoc& document = context_.document;
  int& start = context_.state.modeArg;
  bool targetIsSource = true;
  if (start != wire_start::kAtSink) {
    targetIsSource = FeedsOthers(*document.wireTarget);
    start = targetIsSource ? wire_start::kAtSource : wire_start::kAtSink;
  }
  if (targetIsSource) {
    std::swap(document.selectedPort, document.wireTarget);
  }
  Port& source = *document.selectedPort;
  Port& sink = *document.wireTarget;
  if (sink.source != nullptr || !TakesSource(sink.role)) {
    return;  // refused silently
  }
  document.SetModifiedFlag();
  context_.edit().Connect(source, sink);
  document.RecordStep(undo_step::kConnect);
}

}  // namespace trivenor
