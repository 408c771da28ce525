#pragma once

#include "document/trivenor_doc.h"
#include "view/edit_state.h"
#include "view/editor_host.h"

namespace trivenor {

/// How a rubber wire began (held in `modeArg` while drawing); the values are the editing rules'.
namespace wire_start {
/// At a port that takes a source: looks for a source.
inline constexpr int kAtSink = 0;
/// At a source, or a junction that already has one: looks for a port that takes a source.
inline constexpr int kAtSource = 1;
/// At a junction without a source: looks for either.
inline constexpr int kAtOpenJunction = 5;
}  // namespace wire_start

/// The mouse and keyboard editing of the canvas, apart from any window: it takes logical points
/// and virtual-key codes, changes the document's circuit and selection, and asks `host` for the
/// dialogs and repaints. Hit tests use the geometry the last paint left in the model.
class EditController {
 public:
  EditController(CTrivenorDoc& document, EditState& state, EditorHost& host)
      : document_(document), state_(state), host_(host) {}

  void LeftButtonDown(int x, int y);
  void MouseMove(int x, int y);
  void LeftButtonUp(int x, int y);
  void RightButtonDown(int x, int y);
  void RightButtonUp(int x, int y);
  void KeyDown(int virtualKey);
  /// What a palette button or a shortcut does: the next left press places `kind`.
  void ArmPlacing(int kind);

 private:
  SubCircuit& circuit() { return document_.circuit(); }
  bool Editable() const { return document_.settings.editable; }
  int CanvasWidth() const { return document_.settings.canvasWidth; }

  void PlaceComponent(int x, int y);
  std::unique_ptr<Component> CreateComponent(int kindCode);
  std::unique_ptr<Component> LoadChosenSubCircuit();
  void CommitTypedValue();
  /// The press search of components, junctions and terminals; true when a port was hit.
  bool PressOnPart(int x, int y);
  /// A press into a terminal column; false when it started typing and must not repaint.
  bool PressInTerminalColumn(int x, int y);
  void TrackWire(int x, int y);
  Port* FindWireTarget(int x, int y);
  void CompleteWire();

  void TypeKey(int virtualKey);
  void ShortcutKey(int virtualKey);
  void DeleteSelection();
  void DeleteEditedInput();

  CTrivenorDoc& document_;
  EditState& state_;
  EditorHost& host_;
};

}  // namespace trivenor
