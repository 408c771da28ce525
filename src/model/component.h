#pragma once

#include <memory>

#include "model/compact_string.h"
#include "model/port_list.h"

namespace trivenor {

class DrawingContext;
class PortNumbering;

/// Everything placed on the canvas. Code that needs the concrete type branches on `kind`.
class Component : public PoolAllocated<Component> {
 public:
  explicit Component(int kindCode) : kind(kindCode) {}
  virtual ~Component() = default;
  Component& operator=(const Component&) = delete;

  /// A copy with all its state: fields, ports and whatever the kind keeps between passes. Wires
  /// inside a copied circuit lead to the copy's own ports; the wires into the copy's inputs are
  /// left unconnected, since only whoever copies the circuit around it knows where they go.
  virtual std::unique_ptr<Component> Clone() const = 0;

  /// Destroys the ports (and, in a circuit, everything inside it).
  virtual void Clear();
  /// Pulls every input port from its source, in list order.
  virtual void UpdateInputs();
  /// One pass of this component; the result says that something may have changed.
  virtual bool Evaluate() = 0;
  /// Sizes the body from the label and draws it on the screen, then the port tips and the wires
  /// into the inputs. Returns true.
  virtual bool Draw(DrawingContext& dc, const Component* selectedComponent,
                    const Port* selectedPort, int charWidth, int lineHeight, bool dynamicLines);
  /// Draws for paper: canvas points doubled with y negated, the size of the last screen drawing,
  /// no selection marks. Returns true.
  virtual bool DrawPrinted(DrawingContext& dc, const Component* selectedComponent,
                           const Port* selectedPort, int charWidth, int lineHeight);
  /// Back to the initial state: every output, then every input, to 0 and fresh.
  virtual void Reset();

  /// Puts inputs on the left edge and outputs on the right edge, row by row.
  void LayoutPorts();
  /// Inclusive at the left and top edges, exclusive at the right and bottom.
  bool Contains(int px, int py) const;
  /// Gives the outputs the reference numbers first, first + 1, ... in `numbering` and returns
  /// the next free one.
  int NumberOutputs(int first, PortNumbering& numbering) const;

  int kind;
  int lastRow = 1;  ///< highest port row; the body is lastRow * 10 + 10 high before its minimum
  int width = 0;    ///< body size as last laid out
  int height = 0;
  int thickness = 1;
  int x = 0;
  int y = 0;
  Colour colour = 0;
  PortList inputs;
  PortList outputs;
  CompactString label;

 protected:
  /// Copies the fields and the ports, each port without its source (see Clone).
  Component(const Component& other);

  Port& AddInput(int row);
  Port& AddOutput(int row);
};

}  // namespace trivenor
