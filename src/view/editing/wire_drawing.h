#pragma once

#include "view/editing/edit_context.h"

namespace trivenor {

/// Drawing a wire with the left button. A press on a port starts it; moving snaps the rubber
/// wire's end to a port that would accept it; the release connects the two, whichever end was
/// the source. A wire the rules refuse (into a port that has a source already, say) is dropped
/// silently. Afterwards the selection is the wire's source, so Delete removes every wire
/// leaving it.
class WireDrawing {
 public:
  explicit WireDrawing(EditContext& context) : context_(context) {}

  /// The press found `port`: it becomes the selected port and the wire's start, `startKind`
  /// (one of wire_start) saying what the other end must be.
  void Start(Port& port, int startKind);
  void Track(int x, int y);
  void Finish();

 private:
  /// The port under (x, y) the wire may end at, or null.
  Port* FindTarget(int x, int y);
  void Connect();

  EditContext& context_;
};

}  // namespace trivenor
