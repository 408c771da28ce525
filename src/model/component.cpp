#include "model/component.h"

#include "model/port_numbering.h"

namespace trivenor {

namespace {

PortList CopyPorts(const PortList& ports) {
  PortList copies;
  copies.reserve(ports.size());
  for (const auto& port : ports) {
    CopyPortState(*port, *copies.emplace_back(std::make_unique<Port>()));
  }
  return copies;
}

}  // namespace

Component::Component(const Component& other)
    : kind(other.kind),
      lastRow(other.lastRow),
      width(other.width),
      height(other.height),
      thickness(other.thickness),
      x(other.x),
      y(other.y),
      colour(other.colour),
      inputs(CopyPorts(other.inputs)),
      outputs(CopyPorts(other.outputs)),
      label(other.label) {}

void Component::Clear() {
  inputs.clear();
  outputs.clear();
}

void Component::UpdateInputs() {
  for (auto& port : inputs) {
    PullFromSource(*port);
  }
}

void Component::Reset() {
  for (auto& port : outputs) {
    port->value = 0.0f;
    port->fresh = true;
  }
  for (auto& port : inputs) {
    port->value = 0.0f;
    port->fresh = true;
  }
}

void Component::LayoutPorts() {
  for (auto& port : inputs) {
    port->x = x;
    port->y = y + port->row * 10 + 5;
  }
  for (auto& port : outputs) {
    port->x = x + width;
    port->y = y + port->row * 10 + 5;
  }
}

bool Component::Contains(int px, int py) const {
  return x <= px && px < x + width && y <= py && py < y + height;
}

int Component::NumberOutputs(int first, PortNumbering& numbering) const {
  for (const auto& port : outputs) {
    numbering.Assign(*port, first++);
  }
  return first;
}

Port& Component::AddInput(int row) {
  return *inputs.emplace_back(std::make_unique<Port>(PortRole::ComponentInput, row));
}

Port& Component::AddOutput(int row) {
  return *outputs.emplace_back(std::make_unique<Port>(PortRole::ComponentOutput, row));
}

}  // namespace trivenor
