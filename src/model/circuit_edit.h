#pragma once

#include <memory>
#include <string>
#include <vector>

#include "model/sub_circuit.h"

namespace trivenor {

/// Ports that take their value from a wire: inputs, output terminals and junctions.
bool TakesSource(PortRole role);
/// Ports a wire can start from: outputs, input terminals, and junctions that have a source.
bool FeedsOthers(const Port& port);

/// The junction of `circuit` whose port `port` is, or null.
Junction* FindJunction(const SubCircuit& circuit, const Port* port);

/// Every edit of one circuit: placing, moving, restyling and removing components, drawing and
/// removing wires, adding, moving and removing junctions and terminals. The wire rules live here
/// and only here, and every edit raises the circuit's `structureVersion`, so that whatever keeps
/// something derived from the circuit (a repaint, an undo step, a compiled plan) can tell that
/// it has changed.
///
/// Pointers held outside the circuit (a selection, the wire being drawn) are registered with
/// Track: removing what one of them points at clears it, so nothing is left dangling.
class CircuitEdit {
 public:
  explicit CircuitEdit(SubCircuit& circuit) : circuit_(circuit) {}
  CircuitEdit(const CircuitEdit&) = delete;
  CircuitEdit& operator=(const CircuitEdit&) = delete;

  void Track(Port*& reference) { ports_.push_back(&reference); }
  void Track(Component*& reference) { components_.push_back(&reference); }

  SubCircuit& circuit() { return circuit_; }

  /// Puts `component` at (x, y), at the head of the component list: the newest comes first.
  Component& Place(std::unique_ptr<Component> component, int x, int y);
  void Move(Component& component, int x, int y);
  /// Removes every wire into and out of `component`, then the component.
  void Remove(Component& component);

  /// The wire from `source` into `sink`. From the next pass on the sink takes the source's value,
  /// even one that looks like the value it holds.
  void Connect(Port& source, Port& sink);
  /// Removes the wires at `port`: the one into it where it is a component's input, and where it
  /// can feed others (an output, an input terminal, a junction) every wire out of it in this
  /// circuit. A sub-circuit's input and an output terminal lose only the wire into them. A port
  /// without such wires is no edit: the version stays.
  void Disconnect(Port& port);

  /// A new junction at (x, y), at the head of the junction list.
  Junction& AddJunction(int x, int y);
  void MoveJunction(Junction& junction, int x, int y);
  /// Removes every wire out of the junction, then the junction.
  void RemoveJunction(Junction& junction);

  /// A new input terminal (`role` CircuitInput) or output terminal (CircuitOutput) in `row`, at
  /// (x, y). Each terminal list stays ordered by row.
  Port& AddTerminal(PortRole role, int row, int x, int y);
  /// Removes an input or output terminal with every wire into and out of it.
  void RemoveTerminal(Port& terminal);

  /// The pen of a component's body, or of the wire into a port.
  void Restyle(Component& component, Colour colour, int thickness);
  void Restyle(Port& port, Colour colour, int thickness);
  /// Gives a placed sub-circuit the file it is read again from whenever its circuit is opened.
  void SetPath(SubCircuit& placed, std::string path);

 private:
  void Changed() { ++circuit_.structureVersion; }
  /// Clears every wire in the circuit that takes its value from `source`; true if there was one.
  bool DropWiresOutOf(const Port& source);
  /// Clears the wire into `port`; true if there was one.
  static bool DropWireInto(Port& port);
  /// Clears the tracked references into what is about to be destroyed: `component` with its
  /// ports, or the single port `port`.
  void Forget(const Component* component, const Port* port);

  SubCircuit& circuit_;
  std::vector<Port**> ports_;
  std::vector<Component**> components_;
};

}  // namespace trivenor
