// What opening a large file costs in heap: a fixed number of blocks for every "+" part (most of
// them from the model's pool), and no copy of the file next to the circuit built from it.

#include <gtest/gtest.h>

#include <cstddef>
#include <fstream>
#include <memory>

#include "circuit_file_support.h"
#include "document/document_io.h"
#include "model/component_kind.h"
#include "model/operators.h"
#include "support/heap_accounting.h"

#include "../cli/temp_folder.h"

namespace trivenor {
namespace {

constexpr int kParts = 20000;

/// A chain of "+" parts, each adding the circuit's input to the part before it.
test_support::Bytes PlusChainFile() {
  SubCircuit circuit;
  Port& input = test_support::AddInputTerminal(circuit, 0);
  Port* previous = &input;
  for (int i = 0; i < kParts; ++i) {
    auto& plus = test_support::Append<TwoInputOperator>(circuit, kind::Plus);
    plus.inputs[0]->source = previous;
    plus.inputs[1]->source = &input;
    previous = plus.outputs[0].get();
  }
  test_support::AddOutputTerminal(circuit, 0).source = previous;
  return test_support::SaveDocument(circuit);
}

TEST(LoadAllocations, APlusPartTakesSixBlocksAndTheFileIsNotHeldWhole) {
  const test_support::Bytes bytes = PlusChainFile();
  test_support::TempFolder folder;
  const std::string path = folder.File("chain.trv");
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));

  auto circuit = std::make_unique<SubCircuit>();
  DocumentSettings settings;
  NoFileReader files;
  const std::size_t allocationsBefore = test_support::HeapAllocations();
  const std::size_t liveBefore = test_support::LiveHeapBytes();
  test_support::RestartHeapPeak();
  ASSERT_EQ(OpenDocumentFile(path, *circuit, settings, files), DocumentError::None);
  ASSERT_EQ(circuit->components.size(), static_cast<std::size_t>(kParts));

  // The object, its two port lists and its three ports; the rest grows with the logarithm of
  // the count (the component list) or not at all.
  const std::size_t allocations = test_support::HeapAllocations() - allocationsBefore;
  EXPECT_LE(allocations, 6u * kParts + 100) << allocations;
  // The objects take about 290 bytes a part, the file
  // 142; a reader that held it whole, or a list of every wire waiting to be connected, would go
  // past this.
  const std::size_t peak = test_support::PeakHeapBytes() - liveBefore;
  EXPECT_LE(peak, 330u * kParts) << peak / kParts << " bytes a part";
}

}  // namespace
}  // namespace trivenor
