#include "document/circuit_loader.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <utility>

#include "circuit_file_support.h"
#include "document/sub_circuit_placing.h"
#include "model/component_kind.h"
#include "model/operators.h"

namespace trivenor {
namespace {

using test_support::Bytes;
using test_support::MemoryFiles;

/// One input through a "+" to one output.
std::unique_ptr<SubCircuit> Adder(const std::string& title) {
  auto circuit = std::make_unique<SubCircuit>();
  circuit->label = title;
  Port& in = test_support::AddInputTerminal(*circuit, 0);
  auto& plus = test_support::Append<TwoInputOperator>(*circuit, kind::Plus);
  plus.inputs[0]->source = &in;
  test_support::AddOutputTerminal(*circuit, 0).source = plus.outputs[0].get();
  return circuit;
}

/// The sub-circuit test_support::Place put last into `circuit`.
SubCircuit& PlacedInside(SubCircuit& circuit) {
  return static_cast<SubCircuit&>(*circuit.components.back());
}

/// Serves one circuit file padded with zeros to as many bytes as the reader may take, so it is
/// a valid circuit followed by more than the size limit allows.
class OversizedFile final : public FileReader {
 public:
  explicit OversizedFile(Bytes circuit) : circuit_(std::move(circuit)) {}
  std::optional<std::string> Identity(const std::string& path) override { return path; }
  std::optional<Bytes> ReadAll(const std::string&, std::size_t limit) override {
    Bytes bytes = circuit_;
    bytes.resize(limit + 1);
    return bytes;
  }

 private:
  Bytes circuit_;
};

TEST(SubCircuitFileLoading, DynamicSubCircuitNamingThePlacedFileKeepsItsStoredCopy) {
  // Same terminal counts as the file, so only the rule that the file being placed is being read
  // keeps it from being read into itself once more.
  const std::string path = "/kreise/selbst";
  auto file = Adder("Hülle");
  auto stored = Adder("gespeichert");
  stored->path = path;
  SubCircuit& inner = test_support::Place(*file, std::move(stored));
  inner.inputs[0]->source = file->inputs[0].get();
  MemoryFiles files;
  files.files[path] = test_support::SaveDocument(*file);

  auto placed = LoadSubCircuitFile(path, files);
  ASSERT_NE(placed, nullptr);
  EXPECT_EQ(placed->label, "Hülle");
  EXPECT_EQ(PlacedInside(*placed).label, "gespeichert");
  EXPECT_FALSE(PlacedInside(*placed).dynamic);
  EXPECT_EQ(PlacedInside(*placed).path, path);
}

TEST(SubCircuitFileLoading, ACircuitPastTheSizeLimitIsRefusedUnread) {
  const Bytes adder = test_support::SaveDocument(*Adder("Addierer"));
  OversizedFile files(adder);
  EXPECT_EQ(LoadSubCircuitFile("/kreise/gross", files), nullptr);

  // The same bytes within the limit are a circuit: the refusal is the size's alone.
  MemoryFiles small;
  small.files["/kreise/klein"] = adder;
  EXPECT_NE(LoadSubCircuitFile("/kreise/klein", small), nullptr);
}

TEST(SubCircuitPlacing, ATitledCircuitKeepsItsTitleAndOnlyADynamicOneItsPath) {
  MemoryFiles files;
  files.files["/kreise/addierer"] = test_support::SaveDocument(*Adder("Addierer"));
  const SubCircuitListEntry entry{"addierer", "/kreise/addierer"};

  auto fixed = LoadSubCircuitToPlace(entry, false, files);
  ASSERT_NE(fixed, nullptr);
  EXPECT_EQ(fixed->label, "Addierer");
  EXPECT_EQ(fixed->path, "");
  EXPECT_FALSE(fixed->dynamic);

  auto dynamic = LoadSubCircuitToPlace(entry, true, files);
  ASSERT_NE(dynamic, nullptr);
  EXPECT_EQ(dynamic->label, "Addierer");
  EXPECT_EQ(dynamic->path, "/kreise/addierer");
  EXPECT_TRUE(dynamic->dynamic);
}

}  // namespace
}  // namespace trivenor
