#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/archive.h"
#include "document/circuit_files.h"
#include "document/circuit_loader.h"
#include "document/document_serializer.h"
#include "model/component_kind.h"
#include "model/sub_circuit.h"
#include "support/circuit_building.h"

namespace trivenor::test_support {

using Bytes = std::vector<std::uint8_t>;

/// Circuit files held in memory, keyed by path; a path is its own identity, so two names never
/// lead to the same file here.
class MemoryFiles final : public FileReader {
 public:
  std::optional<std::string> Identity(const std::string& path) override {
    return files.contains(path) ? std::optional<std::string>(path) : std::nullopt;
  }
  std::optional<Bytes> ReadAll(const std::string& path, std::size_t limit) override {
    const auto found = files.find(path);
    if (found == files.end()) {
      return std::nullopt;
    }
    const std::size_t size = std::min(found->second.size(), limit == SIZE_MAX ? limit : limit + 1);
    return Bytes(found->second.begin(), found->second.begin() + static_cast<std::ptrdiff_t>(size));
  }

  std::map<std::string, Bytes> files;
};

/// The stored fields of a component's body.
inline void SetBody(Component& component, int x, int y, int width, int height, int thickness,
                    Colour colour) {
  component.x = x;
  component.y = y;
  component.width = width;
  component.height = height;
  component.thickness = thickness;
  component.colour = colour;
}

/// Puts `inner` into `host` as a component: its terminals become the component's ports.
inline SubCircuit& Place(SubCircuit& host, std::unique_ptr<SubCircuit> inner) {
  for (auto& port : inner->inputs) {
    port->role = PortRole::SubCircuitInput;
  }
  for (auto& port : inner->outputs) {
    port->role = PortRole::SubCircuitOutput;
  }
  SubCircuit& placed = *inner;
  host.components.push_back(std::move(inner));
  return placed;
}

inline std::vector<int> KindsOf(const SubCircuit& circuit) {
  std::vector<int> kinds;
  for (const auto& component : circuit.components) {
    kinds.push_back(component->kind);
  }
  return kinds;
}

inline void RunPasses(SubCircuit& circuit, int passes) {
  for (int i = 0; i < passes; ++i) {
    circuit.Evaluate();
  }
}

/// Every port of a circuit, nested circuits included, in one fixed order: terminals, then each
/// component's ports (a nested circuit's own ports recursively), then the junctions.
inline void CollectPorts(const SubCircuit& circuit, std::vector<const Port*>& ports) {
  for (const auto& port : circuit.inputs) {
    ports.push_back(port.get());
  }
  for (const auto& port : circuit.outputs) {
    ports.push_back(port.get());
  }
  for (const auto& component : circuit.components) {
    if (component->kind == kind::SubCircuit) {
      CollectPorts(static_cast<const SubCircuit&>(*component), ports);
      continue;
    }
    for (const auto& port : component->inputs) {
      ports.push_back(port.get());
    }
    for (const auto& port : component->outputs) {
      ports.push_back(port.get());
    }
  }
  for (const auto& junction : circuit.junctions) {
    ports.push_back(&junction->port);
  }
}

/// A wire into a port that is not part of the circuit would dangle once that port is gone.
inline void ExpectNoForeignSources(const SubCircuit& circuit) {
  std::vector<const Port*> ports;
  CollectPorts(circuit, ports);
  for (const Port* port : ports) {
    if (port->source != nullptr) {
      EXPECT_NE(std::find(ports.begin(), ports.end(), port->source), ports.end())
          << "a port takes its value from outside the circuit";
    }
  }
}

inline Bytes SaveDocument(SubCircuit& circuit, DocumentSettings settings = {}) {
  Archive archive;
  SerializeDocument(archive, circuit, settings);
  return archive.TakeWritten();
}

/// Opens a document from bytes. `ownIdentity` is the identity of the document's own file,
/// which an opened document holds for the whole load.
inline std::unique_ptr<SubCircuit> LoadDocument(const Bytes& bytes, FileReader& files,
                                                DocumentSettings* settings = nullptr,
                                                const std::string& ownIdentity = {}) {
  auto circuit = std::make_unique<SubCircuit>();
  DocumentSettings ignored;
  LoadContext context(files, bytes.size());
  if (!ownIdentity.empty()) {
    context.EnterFile(ownIdentity);
  }
  Archive archive(bytes);
  SerializeDocument(archive, *circuit, settings != nullptr ? *settings : ignored, &context);
  return circuit;
}

/// Reads a circuit file the way placing it as a sub-circuit does.
inline std::unique_ptr<SubCircuit> ReadAsSubCircuit(const Bytes& bytes, FileReader& files) {
  LoadContext context(files, bytes.size());
  auto circuit = ReadCircuitFile(bytes, context);
  EXPECT_NE(circuit, nullptr) << "the file holds another version text";
  return circuit;
}

}  // namespace trivenor::test_support
