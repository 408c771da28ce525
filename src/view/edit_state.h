#pragma once

#include <string>

namespace trivenor {

struct SubCircuitListEntry;

/// States of the mouse and keyboard editing. The numbers are the ones the editing rules are
/// written in; the states "...Done" behave like Idle and only remember how the gesture ended.
enum class EditMode {
  Idle = 0,
  MovingComponent = 1,
  MoveDone = 2,
  DrawingWire = 3,
  WireDone = 4,
  MovingJunction = 5,
  JunctionMoveDone = 6,
  PlacingComponent = 7,
  EditingInputValue = 8,
};

/// How a rubber wire began (held in `modeArg` while drawing); the values are the editing rules'.
namespace wire_start {
/// At a port that takes a source: looks for a source.
inline constexpr int kAtSink = 0;
/// At a source, or a junction that already has one: looks for a port that takes a source.
inline constexpr int kAtSource = 1;
/// At a junction without a source: looks for either.
inline constexpr int kAtOpenJunction = 5;
}  // namespace wire_start

/// A point on the canvas in logical units.
struct CanvasPoint {
  int x = 0;
  int y = 0;

  bool operator==(const CanvasPoint&) const = default;
};

/// The view's editing state, as far as painting shows it. The document holds the selection
/// (`selectedComponent`, `selectedPort`, `editedInput`); these are the view's own fields.
struct EditState {
  EditMode mode = EditMode::Idle;
  /// In PlacingComponent the kind to place; in DrawingWire how the wire was started.
  int modeArg = 0;
  /// The value being typed for the document's `editedInput`, shown in place of its number.
  std::string valueText;
  /// The rubber wire's end sits on a port that would accept it: drawn with a square around it.
  bool wireSnapped = false;
  /// Where the rubber wire ends: the mouse, or the port it snapped to.
  CanvasPoint wireEnd;
  /// Written by the sub-circuit dialog: place the chosen file as a dynamic sub-circuit.
  bool insertDynamic = false;
  /// Written by the sub-circuit dialog: the file that placing kind 300 loads. An entry of the
  /// document's `subCircuitList`, never owned; checked against that list before it is used.
  const SubCircuitListEntry* chosenSubCircuit = nullptr;
  /// The mouse at the previous move (never the snapped point): the old rubber wire ends there.
  CanvasPoint lastMouse;
  /// From a moved component's top-left corner to the mouse at the press.
  CanvasPoint grabOffset;
};

}  // namespace trivenor
