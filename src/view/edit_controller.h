#pragma once

#include "document/trivenor_doc.h"
#include "view/edit_state.h"
#include "view/editing/component_moving.h"
#include "view/editing/component_placing.h"
#include "view/editing/edit_context.h"
#include "view/editing/junction_gestures.h"
#include "view/editing/shortcut_keys.h"
#include "view/editing/terminal_clicks.h"
#include "view/editing/value_typing.h"
#include "view/editing/wire_drawing.h"
#include "view/editor_host.h"

namespace trivenor {

/// The mouse and keyboard editing of the canvas, apart from any window: it takes logical points
/// and virtual-key codes, and hands each to the gesture the editing state is in (the classes in
/// view/editing), which change the document's circuit and selection and ask the host for
/// dialogs and repaints. Hit tests use the geometry the last paint left in the model.
class EditController {
 public:
  EditController(CTrivenorDoc& document, EditState& state, EditorHost& host)
      : context_{document, state, host} {}
  EditController(const EditController&) = delete;
  EditController& operator=(const EditController&) = delete;

  void LeftButtonDown(int x, int y);
  void MouseMove(int x, int y);
  void LeftButtonUp(int x, int y);
  void RightButtonDown(int x, int y);
  void RightButtonUp(int x, int y);
  void KeyDown(int virtualKey);
  /// What a palette button or a shortcut does: the next left press places `kind`.
  void ArmPlacing(int kind);
  /// Makes what a drag in progress has moved so far one undo step, so that whatever comes in the
  /// middle of the drag (a key, the other button, undo) finds the drag recorded before its own
  /// change. Every handler but the mouse move starts with it.
  void RecordDrags();
  /// Idle, with nothing in progress: the document's contents have been replaced.
  void StartOver();

 private:
  /// The press search of an editable document: a port starts a wire, a body is grabbed for
  /// moving. True when a port was hit.
  bool PressOnPart(int x, int y);
  /// A press that would grab a component, a port or a junction of a locked document.
  void ReportLockedPart(int x, int y);

  EditContext context_;
  ComponentPlacing placing_{context_};
  WireDrawing wires_{context_};
  ComponentMoving moving_{context_};
  JunctionGestures junctions_{context_};
  ValueTyping typing_{context_};
  TerminalClicks terminals_{context_, typing_, wires_};
  ShortcutKeys shortcuts_{context_};
};

}  // namespace trivenor
