#include "document/circuit_serializer.h"

#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "document/code_page.h"
#include "document/field_checks.h"
#include "document/file_limits.h"
#include "document/kind_blocks.h"
#include "document/scramble.h"
#include "model/component_kind.h"
#include "model/component_registry.h"

namespace trivenor {

namespace {

/// One circuit record in either direction. While loading it keeps the reference table and the
/// ports whose stored source numbers wait to be resolved at the end of the record.
class CircuitRecord {
 public:
  CircuitRecord(Archive& archive, LoadContext* context)
      : archive_(archive), context_(context), loading_(!archive.IsStoring()) {}

  std::vector<std::int32_t> Exchange(SubCircuit& circuit, bool asSubCircuit);

 private:
  struct PendingSource {
    Port* port;
    std::int32_t number;
  };

  static std::int32_t NumberPorts(SubCircuit& circuit);
  std::int32_t PortFields(Port& port);
  void TerminalList(PortList& terminals, bool numbered, std::vector<std::int32_t>* sources);
  void ComponentRecord(SubCircuit& circuit, std::size_t index, bool asSubCircuit);
  void ComponentFields(Component& component);
  void ComponentPorts(Component& component);
  void JunctionRecord(SubCircuit& circuit, std::size_t index);

  void Enter(Port& port);
  void Expect(Port& port, std::int32_t number);
  void ResolveSources(SubCircuit& circuit);

  /// A list: a not-empty flag, then every element followed by a next-element flag. Writing uses
  /// `count`; reading goes on while the flag is nonzero, or for `strict` only while it is 1.
  template <typename Element>
  void List(std::size_t count, bool strict, Element element) {
    std::int32_t flag = count > 0 ? 1 : 0;
    archive_.Int32(flag);
    Elements(flag, count, strict, element);
  }
  /// The elements of a list whose leading flag has been exchanged already.
  template <typename Element>
  void Elements(std::int32_t flag, std::size_t count, bool strict, Element element) {
    for (std::size_t i = 0; strict ? flag == 1 : flag != 0; ++i) {
      element(i);
      flag = i + 1 < count ? 1 : 0;
      archive_.Int32(flag);
    }
  }

  Archive& archive_;
  LoadContext* context_;
  bool loading_;
  std::vector<Port*> table_;
  std::vector<PendingSource> pending_;
  /// Two ports were entered under one number, which no writer does.
  bool numberReused_ = false;
};

std::int32_t CircuitRecord::NumberPorts(SubCircuit& circuit) {
  std::int32_t counter = 1;
  for (auto& port : circuit.inputs) {
    port->serial = counter++;
  }
  for (auto& component : circuit.components) {
    counter = component->NumberOutputs(counter);
  }
  for (auto& junction : circuit.junctions) {
    junction->port.serial = counter++;
  }
  return counter;
}

std::vector<std::int32_t> CircuitRecord::Exchange(SubCircuit& circuit, bool asSubCircuit) {
  std::int32_t referenceCount = loading_ ? 0 : NumberPorts(circuit);
  // Owner and password are scrambled with keys taken from the reference count, which follows
  // them in the file.
  std::string owner;
  std::string password;
  if (!loading_) {
    owner = Utf8ToCodePage(circuit.owner);
    password = Utf8ToCodePage(circuit.password);
    ScrambleText(owner, referenceCount, true);
    ScrambleText(password, referenceCount + 1, true);
  }
  std::string title = loading_ ? std::string() : circuit.label.str();
  archive_.Bytes(owner);
  archive_.Text(title);
  if (loading_) {
    circuit.label = title;
  }
  archive_.Text(circuit.path);
  archive_.Bytes(password);
  archive_.Int32(referenceCount);
  if (loading_) {
    const auto references = static_cast<std::size_t>(Checked(referenceCount, 1, INT32_MAX - 1)) - 1;
    if (references > archive_.Remaining() / file_limits::kMinBytesPerReference) {
      throw FormatError();
    }
    ScrambleText(owner, referenceCount, false);
    ScrambleText(password, referenceCount + 1, false);
    circuit.owner = CodePageToUtf8(owner);
    circuit.password = CodePageToUtf8(password);
    table_.assign(references + 1, nullptr);
  }

  std::vector<std::int32_t> inputSources;
  TerminalList(circuit.inputs, true, &inputSources);
  TerminalList(circuit.outputs, false, nullptr);
  List(circuit.components.size(), true,
       [&](std::size_t i) { ComponentRecord(circuit, i, asSubCircuit); });
  List(circuit.junctions.size(), false, [&](std::size_t i) { JunctionRecord(circuit, i); });
  if (loading_) {
    ResolveSources(circuit);
  }
  return inputSources;
}

/// The seven fields of a port record. Loading leaves the port without a source and returns the
/// stored source number for the caller to resolve or keep.
std::int32_t CircuitRecord::PortFields(Port& port) {
  auto role = static_cast<std::int32_t>(port.role);
  auto colour = static_cast<std::int32_t>(port.colour);
  std::int32_t source = port.source != nullptr ? port.source->serial : 0;
  archive_.Int32(port.row);
  archive_.Int32(port.thickness);
  archive_.Float(port.value);
  archive_.Int32(port.serial);
  archive_.Int32(role);
  archive_.Int32(colour);
  archive_.Int32(source);
  if (loading_) {
    Checked(port.row, -file_limits::kMaxRow, file_limits::kMaxRow);
    Checked(port.thickness, 0, file_limits::kMaxThickness);
    port.role = static_cast<PortRole>(Checked(role, file_limits::kMinRole, file_limits::kMaxRole));
    port.colour = static_cast<Colour>(colour);
    port.source = nullptr;
  }
  return source;
}

/// The circuit's own terminals. Input terminals are numbered in this record and their sources
/// belong to the enclosing circuit; output terminals carry the enclosing circuit's numbers and
/// take their sources from inside.
void CircuitRecord::TerminalList(PortList& terminals, bool numbered,
                                 std::vector<std::int32_t>* sources) {
  List(terminals.size(), false, [&](std::size_t i) {
    if (loading_) {
      terminals.push_back(std::make_unique<Port>());
    }
    Port& port = *terminals[i];
    const std::int32_t source = PortFields(port);
    if (!loading_) {
      return;
    }
    if (numbered) {
      Enter(port);
      sources->push_back(source);
    } else {
      Expect(port, source);
    }
  });
}

void CircuitRecord::ComponentRecord(SubCircuit& circuit, std::size_t index, bool asSubCircuit) {
  std::unique_ptr<Component> loaded;
  std::unique_ptr<Component>& component = loading_ ? loaded : circuit.components[index];
  std::int32_t kindCode = loading_ ? 0 : component->kind;
  archive_.Int32(kindCode);
  const std::optional<ComponentKind> registered = ComponentKinds().Find(kindCode);
  if (!registered) {
    throw FormatError();  // a code the editor never makes: the length of its record is unknown
  }
  const std::size_t pendingBefore = pending_.size();
  KindBlock block{archive_, context_, *registered, component, {}};
  ExchangeKindBlock(block);
  ComponentFields(*component);
  if (kindCode != kind::SubCircuit) {
    ComponentPorts(*component);
  } else {
    std::int32_t portsPresent = 0;
    archive_.Int32(portsPresent);
    if (loading_) {
      // The terminals of a placed circuit are its ports: inputs wired from this circuit,
      // outputs numbered in it.
      for (std::size_t i = 0; i < component->inputs.size(); ++i) {
        Expect(*component->inputs[i], block.terminalSources[i]);
      }
      for (auto& port : component->outputs) {
        Enter(*port);
      }
    }
  }
  if (!loading_) {
    return;
  }
  if (asSubCircuit && (kindCode == kind::GraphPlot || kindCode == kind::OutputDisplay)) {
    // A circuit placed inside another shows nothing of its own. Nothing can take a value from
    // these two kinds, so dropping them leaves no dangling wire.
    pending_.resize(pendingBefore);
    return;
  }
  circuit.components.push_back(std::move(loaded));
}

void CircuitRecord::ComponentFields(Component& component) {
  auto colour = static_cast<std::int32_t>(component.colour);
  std::string label = component.label.str();
  archive_.Int32(component.lastRow);
  archive_.Int32(component.width);
  archive_.Int32(component.height);
  archive_.Int32(component.thickness);
  archive_.Text(label);
  archive_.Int32(component.x);
  archive_.Int32(component.y);
  archive_.Int32(colour);
  if (!loading_) {
    return;
  }
  using file_limits::kMaxCoordinate;
  Checked(component.lastRow, -file_limits::kMaxRow, file_limits::kMaxRow);
  Checked(component.width, -kMaxCoordinate, kMaxCoordinate);
  Checked(component.height, -kMaxCoordinate, kMaxCoordinate);
  Checked(component.thickness, 0, file_limits::kMaxThickness);
  Checked(component.x, -kMaxCoordinate, kMaxCoordinate);
  Checked(component.y, -kMaxCoordinate, kMaxCoordinate);
  component.colour = static_cast<Colour>(colour);
  // A sub-circuit's label is its title, read with its own record.
  if (component.kind != kind::SubCircuit) {
    component.label = std::move(label);
  }
}

/// Fills the ports the component's constructor made: the file neither adds nor removes any.
void CircuitRecord::ComponentPorts(Component& component) {
  std::int32_t inputsPresent = component.inputs.empty() ? 0 : 1;
  archive_.Int32(inputsPresent);
  auto portOf = [](PortList& ports, std::size_t i) -> Port& {
    if (i >= ports.size()) {
      throw FormatError();
    }
    return *ports[i];
  };
  Elements(inputsPresent, component.inputs.size(), false, [&](std::size_t i) {
    Port& port = portOf(component.inputs, i);
    const std::int32_t source = PortFields(port);
    if (loading_) {
      Expect(port, source);
    }
  });
  List(component.outputs.size(), false, [&](std::size_t i) {
    Port& port = portOf(component.outputs, i);
    // An output takes no wire; whatever number the file holds there is ignored.
    PortFields(port);
    if (loading_) {
      Enter(port);
    }
  });
}

void CircuitRecord::JunctionRecord(SubCircuit& circuit, std::size_t index) {
  if (loading_) {
    circuit.junctions.push_back(std::make_unique<Junction>());
  }
  Port& port = circuit.junctions[index]->port;
  auto role = static_cast<std::int32_t>(port.role);
  auto colour = static_cast<std::int32_t>(port.colour);
  std::int32_t source = port.source != nullptr ? port.source->serial : 0;
  archive_.Int32(port.x);
  archive_.Int32(port.y);
  archive_.Int32(port.thickness);
  archive_.Float(port.value);
  archive_.Int32(port.serial);
  archive_.Int32(role);
  archive_.Int32(colour);
  archive_.Int32(source);
  if (!loading_) {
    return;
  }
  Checked(port.x, -file_limits::kMaxCoordinate, file_limits::kMaxCoordinate);
  Checked(port.y, -file_limits::kMaxCoordinate, file_limits::kMaxCoordinate);
  Checked(port.thickness, 0, file_limits::kMaxThickness);
  port.role = static_cast<PortRole>(Checked(role, file_limits::kMinRole, file_limits::kMaxRole));
  port.colour = static_cast<Colour>(colour);
  Enter(port);
  Expect(port, source);
}

void CircuitRecord::Enter(Port& port) {
  Port*& entry = table_[static_cast<std::size_t>(
      Checked(port.serial, 1, static_cast<std::int32_t>(table_.size()) - 1))];
  numberReused_ = numberReused_ || entry != nullptr;
  entry = &port;
}

// A wire from a port read earlier is connected at once; only one from a port further on waits
// for the end of the record. Most wires lead backwards, so the waiting list stays short and a
// large file needs little memory beyond its circuit.
void CircuitRecord::Expect(Port& port, std::int32_t number) {
  const auto slot =
      static_cast<std::size_t>(Checked(number, 0, static_cast<std::int32_t>(table_.size()) - 1));
  if (table_[slot] != nullptr) {
    port.source = table_[slot];
  } else if (slot != 0) {
    pending_.push_back({&port, number});
  }
}

void CircuitRecord::ResolveSources(SubCircuit& circuit) {
  for (const PendingSource& pending : pending_) {
    pending.port->source = table_[static_cast<std::size_t>(pending.number)];
  }
  pending_.clear();
  if (!numberReused_) {
    return;
  }
  // A number entered twice stands for the port entered last, also for the wires connected
  // before that port was read.
  auto reconnect = [this](Port& sink) {
    if (sink.source != nullptr) {
      sink.source = table_[static_cast<std::size_t>(sink.source->serial)];
    }
  };
  for (auto& component : circuit.components) {
    for (auto& port : component->inputs) {
      reconnect(*port);
    }
  }
  for (auto& junction : circuit.junctions) {
    reconnect(junction->port);
  }
  for (auto& port : circuit.outputs) {
    reconnect(*port);
  }
}

}  // namespace

std::vector<std::int32_t> SerializeCircuit(Archive& archive, SubCircuit& circuit, bool asSubCircuit,
                                           LoadContext* context) {
  if (!archive.IsStoring() && context == nullptr) {
    throw std::logic_error("loading a circuit needs a load context");
  }
  if (context != nullptr) {
    context->EnterRecord();
  }
  auto sources = CircuitRecord(archive, context).Exchange(circuit, asSubCircuit);
  if (context != nullptr) {
    context->LeaveRecord();
  }
  return sources;
}

}  // namespace trivenor
