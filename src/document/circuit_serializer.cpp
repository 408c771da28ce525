#include "document/circuit_serializer.h"

#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <utility>

#include "document/code_page.h"
#include "document/field_checks.h"
#include "document/file_limits.h"
#include "document/kind_blocks.h"
#include "document/scramble.h"
#include "model/component_kind.h"
#include "model/component_registry.h"
#include "model/port_numbering.h"

namespace trivenor {

namespace {

/// One circuit record in either direction. While loading it keeps the reference table and the
/// ports whose stored source numbers wait to be resolved at the end of the record.
class CircuitRecord {
 public:
  CircuitRecord(Archive& archive, LoadContext* context, SharedNumbers* shared)
      : archive_(archive), context_(context), shared_(shared), loading_(!archive.IsStoring()) {}

  void Exchange(SubCircuit& circuit, bool asSubCircuit);

 private:
  struct PendingSource {
    Port* port;
    std::int32_t number;
  };

  std::int32_t NumberPorts(const SubCircuit& circuit);
  std::int32_t PortFields(Port& port, std::int32_t& number, std::int32_t source);
  void InputTerminals(PortList& terminals);
  void OutputTerminals(PortList& terminals, bool keepNumbers);
  void ComponentRecord(SubCircuit& circuit, std::size_t index, bool asSubCircuit);
  void ComponentFields(Component& component);
  void ComponentPorts(Component& component);
  void JunctionRecord(SubCircuit& circuit, std::size_t index);

  void Enter(Port& port, std::int32_t number);
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
  /// A nested record's terminal numbers, which belong to the record around it; null at the top.
  SharedNumbers* shared_;
  bool loading_;
  /// Storing: the numbers of this record.
  PortNumbering numbering_;
  /// Loading: the port entered under each number.
  std::vector<Port*> table_;
  std::vector<PendingSource> pending_;
  /// Ports whose number was entered again by a later port, which no writer does.
  std::vector<std::pair<const Port*, std::int32_t>> displaced_;
};

std::int32_t CircuitRecord::NumberPorts(const SubCircuit& circuit) {
  std::int32_t counter = 1;
  for (const auto& port : circuit.inputs) {
    numbering_.Assign(*port, counter++);
  }
  for (const auto& component : circuit.components) {
    counter = component->NumberOutputs(counter, numbering_);
  }
  for (const auto& junction : circuit.junctions) {
    numbering_.Assign(junction->port, counter++);
  }
  numbering_.Seal();
  return counter;
}

void CircuitRecord::Exchange(SubCircuit& circuit, bool asSubCircuit) {
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

  if (shared_ != nullptr && loading_) {
    *shared_ = {};
  }
  InputTerminals(circuit.inputs);
  // A document's output terminals are numbered by no record; a circuit file read to be placed
  // has them numbered by the circuit it goes into.
  OutputTerminals(circuit.outputs, shared_ == nullptr && !asSubCircuit);
  List(circuit.components.size(), true,
       [&](std::size_t i) { ComponentRecord(circuit, i, asSubCircuit); });
  List(circuit.junctions.size(), false, [&](std::size_t i) { JunctionRecord(circuit, i); });
  if (loading_) {
    ResolveSources(circuit);
  }
}

/// The seven fields of a port record: `number` is the port's own reference number, `source`
/// that of its source. Loading leaves the port without a source and returns the stored source
/// number for the caller to resolve or keep.
std::int32_t CircuitRecord::PortFields(Port& port, std::int32_t& number, std::int32_t source) {
  std::int32_t row = port.row;
  std::int32_t thickness = port.thickness;
  auto role = static_cast<std::int32_t>(port.role);
  auto colour = static_cast<std::int32_t>(port.colour);
  archive_.Int32(row);
  archive_.Int32(thickness);
  archive_.Float(port.value);
  archive_.Int32(number);
  archive_.Int32(role);
  archive_.Int32(colour);
  archive_.Int32(source);
  if (loading_) {
    port.row = Checked(row, -file_limits::kMaxRow, file_limits::kMaxRow);
    port.thickness = Checked(thickness, 0, file_limits::kMaxThickness);
    port.role = static_cast<PortRole>(Checked(role, file_limits::kMinRole, file_limits::kMaxRole));
    port.colour = static_cast<Colour>(colour);
    port.source = nullptr;
  }
  return source;
}

/// The circuit's input terminals, numbered in this record. In a nested record their sources
/// belong to the enclosing circuit, which resolves them; a document's lose them.
void CircuitRecord::InputTerminals(PortList& terminals) {
  List(terminals.size(), false, [&](std::size_t i) {
    if (loading_) {
      terminals.push_back(std::make_unique<Port>());
    }
    Port& port = *terminals[i];
    std::int32_t number = numbering_.Find(&port);
    std::int32_t source = shared_ != nullptr && !loading_ ? shared_->inputSources.at(i)
                                                          : numbering_.Find(port.source);
    source = PortFields(port, number, source);
    if (loading_) {
      Enter(port, number);
      if (shared_ != nullptr) {
        shared_->inputSources.push_back(source);
      }
    }
  });
}

/// The circuit's output terminals: they take their sources from inside, and the enclosing
/// circuit numbers them as the outputs of the placed component. Where no record numbers them,
/// `keepNumbers` keeps whatever the file holds.
void CircuitRecord::OutputTerminals(PortList& terminals, bool keepNumbers) {
  List(terminals.size(), false, [&](std::size_t i) {
    if (loading_) {
      terminals.push_back(std::make_unique<Port>());
    }
    Port& port = *terminals[i];
    std::int32_t number =
        shared_ != nullptr && !loading_ ? shared_->outputNumbers.at(i) : port.KeptNumber();
    const std::int32_t source = PortFields(port, number, numbering_.Find(port.source));
    if (!loading_) {
      return;
    }
    if (shared_ != nullptr) {
      shared_->outputNumbers.push_back(number);
    } else if (keepNumbers) {
      port.SetKeptNumber(number);
    }
    Expect(port, source);
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
  if (!loading_ && kindCode == kind::SubCircuit) {
    for (const auto& port : component->inputs) {
      block.terminals.inputSources.push_back(numbering_.Find(port->source));
    }
    for (const auto& port : component->outputs) {
      block.terminals.outputNumbers.push_back(numbering_.Find(port.get()));
    }
  }
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
        Expect(*component->inputs[i], block.terminals.inputSources.at(i));
      }
      for (std::size_t i = 0; i < component->outputs.size(); ++i) {
        Enter(*component->outputs[i], block.terminals.outputNumbers.at(i));
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
    // No record numbers an input: whatever number the file holds there is kept.
    std::int32_t number = port.KeptNumber();
    const std::int32_t source = PortFields(port, number, numbering_.Find(port.source));
    if (loading_) {
      port.SetKeptNumber(number);
      Expect(port, source);
    }
  });
  List(component.outputs.size(), false, [&](std::size_t i) {
    Port& port = portOf(component.outputs, i);
    // An output takes no wire; whatever source number the file holds there is ignored.
    std::int32_t number = numbering_.Find(&port);
    PortFields(port, number, 0);
    if (loading_) {
      Enter(port, number);
    }
  });
}

void CircuitRecord::JunctionRecord(SubCircuit& circuit, std::size_t index) {
  if (loading_) {
    circuit.junctions.push_back(std::make_unique<Junction>());
  }
  Port& port = circuit.junctions[index]->port;
  std::int32_t thickness = port.thickness;
  std::int32_t number = numbering_.Find(&port);
  auto role = static_cast<std::int32_t>(port.role);
  auto colour = static_cast<std::int32_t>(port.colour);
  std::int32_t source = numbering_.Find(port.source);
  archive_.Int32(port.x);
  archive_.Int32(port.y);
  archive_.Int32(thickness);
  archive_.Float(port.value);
  archive_.Int32(number);
  archive_.Int32(role);
  archive_.Int32(colour);
  archive_.Int32(source);
  if (!loading_) {
    return;
  }
  Checked(port.x, -file_limits::kMaxCoordinate, file_limits::kMaxCoordinate);
  Checked(port.y, -file_limits::kMaxCoordinate, file_limits::kMaxCoordinate);
  port.thickness = Checked(thickness, 0, file_limits::kMaxThickness);
  port.role = static_cast<PortRole>(Checked(role, file_limits::kMinRole, file_limits::kMaxRole));
  port.colour = static_cast<Colour>(colour);
  Enter(port, number);
  Expect(port, source);
}

void CircuitRecord::Enter(Port& port, std::int32_t number) {
  Port*& entry =
      table_[static_cast<std::size_t>(Checked(number, 1, static_cast<std::int32_t>(table_.size()) - 1))];
  if (entry != nullptr) {
    displaced_.emplace_back(entry, number);
  }
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
  if (displaced_.empty()) {
    return;
  }
  // A number entered twice stands for the port entered last, also for the wires connected
  // before that port was read.
  const std::unordered_map<const Port*, std::int32_t> numberOf(displaced_.begin(),
                                                               displaced_.end());
  auto reconnect = [&](Port& sink) {
    if (const auto found = numberOf.find(sink.source); found != numberOf.end()) {
      sink.source = table_[static_cast<std::size_t>(found->second)];
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

void SerializeCircuit(Archive& archive, SubCircuit& circuit, bool asSubCircuit, LoadContext* context,
                      SharedNumbers* shared) {
  if (!archive.IsStoring() && context == nullptr) {
    throw std::logic_error("loading a circuit needs a load context");
  }
  if (context != nullptr) {
    context->EnterRecord();
  }
  CircuitRecord(archive, context, shared).Exchange(circuit, asSubCircuit);
  if (context != nullptr) {
    context->LeaveRecord();
  }
}

}  // namespace trivenor
