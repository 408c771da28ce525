// A file that dynamic sub-circuits name is decoded once per load, and every further copy is
// built from that decode. Copies must be exactly what decoding would give, and a small set of
// files that places itself over and over must cost what its circuit costs.
//
// This file is a test program of its own: it replaces the global allocation functions to measure
// how much memory a load takes, which must not affect any other test.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>

#include "circuit_file_support.h"
#include "document/archive.h"
#include "document/circuit_files.h"
#include "model/delay_line.h"
#include "model/operators.h"
#include "model/output_display.h"
#include "support/heap_accounting.h"
#include "tools/fan_out_set.h"

namespace trivenor {
namespace {

using namespace test_support;

/// Files in memory that count how often each is read.
class CountingFiles final : public FileReader {
 public:
  std::optional<std::string> Identity(const std::string& path) override {
    return files.Identity(path);
  }
  std::optional<Bytes> ReadAll(const std::string& path, std::size_t limit) override {
    ++reads[path];
    return files.ReadAll(path, limit);
  }

  MemoryFiles files;
  std::map<std::string, int> reads;
};

std::string LevelPath(int level) {
  return "/Ebene" + std::to_string(level) + ".tvr";
}

/// The last level: every kind that keeps state or wires of its own, a junction, and a copied
/// circuit inside with a display (a display nested in a copied circuit stays).
std::unique_ptr<SubCircuit> Leaf() {
  auto inner = std::make_unique<SubCircuit>();
  inner->label = "Innen";
  Port& innerIn = AddInputTerminal(*inner, 0);
  auto& negation = Append<UnaryFunction>(*inner, kind::Not);
  negation.inputs[0]->source = &innerIn;
  Append<OutputDisplay>(*inner).inputs[0]->source = negation.outputs[0].get();
  AddOutputTerminal(*inner, 0).source = negation.outputs[0].get();

  auto leaf = std::make_unique<SubCircuit>();
  leaf->label = "Blatt";
  Junction& junction = AddJunction(*leaf, 60, 20);
  junction.port.source = &AddInputTerminal(*leaf, 0);
  auto& delay = Append<DelayLine>(*leaf, 3);
  delay.inputs[0]->source = &junction.port;
  auto& plus = Append<TwoInputOperator>(*leaf, kind::Plus);
  plus.inputs[0]->source = delay.outputs[0].get();
  plus.inputs[1]->source = &junction.port;
  SubCircuit& placed = Place(*leaf, std::move(inner));
  placed.inputs[0]->source = plus.outputs[0].get();
  AddOutputTerminal(*leaf, 0).source = placed.outputs[0].get();
  AddOutputTerminal(*leaf, 1).source = plus.outputs[0].get();
  return leaf;
}

/// A level above: three dynamic copies of the next level, placed as the editor places them
/// (read from the file as a sub-circuit), chained, their input wires in pens of their own.
std::unique_ptr<SubCircuit> Level(const Bytes& nextLevel, int next, FileReader& files) {
  auto level = std::make_unique<SubCircuit>();
  level->label = "Ebene";
  Port* previous = &AddInputTerminal(*level, 0);
  for (int i = 0; i < 3; ++i) {
    auto copy = ReadAsSubCircuit(nextLevel, files);
    copy->path = LevelPath(next);
    for (auto& port : copy->inputs) {
      port->source = nullptr;
    }
    SubCircuit& placed = Place(*level, std::move(copy));
    SetBody(placed, 100 + 90 * i, 10 * i, 60, 40, 1 + i, 0x00FF00);
    placed.inputs[0]->source = previous;
    placed.inputs[0]->colour = 0x0000FFu << (8 * i);
    placed.inputs[0]->thickness = 2 + i;
    previous = placed.outputs[0].get();
  }
  AddOutputTerminal(*level, 0).source = previous;
  AddOutputTerminal(*level, 1).source = previous;
  return level;
}

int DynamicCopies(const SubCircuit& circuit) {
  int count = 0;
  for (const auto& component : circuit.components) {
    if (component->kind == kind::SubCircuit) {
      const auto& sub = static_cast<const SubCircuit&>(*component);
      count += (sub.dynamic ? 1 : 0) + DynamicCopies(sub);
    }
  }
  return count;
}

// The stored copies in these files are what the files held when they were placed, so keeping
// them (no file can be opened) and replacing them (from the first decode) must give the same
// circuit, down to the pens of the wires into each copy.
TEST(DynamicFanOut, CopiesFromTheFirstDecodeAreWhatTheStoredCopiesHold) {
  constexpr int kLeafLevel = 3;
  CountingFiles files;
  Bytes next = SaveDocument(*Leaf());
  files.files.files[LevelPath(kLeafLevel)] = next;
  for (int level = kLeafLevel - 1; level >= 1; --level) {
    next = SaveDocument(*Level(next, level + 1, files.files));
    files.files.files[LevelPath(level)] = next;
  }
  const Bytes document = SaveDocument(*Level(next, 1, files.files));
  files.reads.clear();

  auto replaced = LoadDocument(document, files);
  NoFileReader none;
  auto kept = LoadDocument(document, none);

  EXPECT_EQ(DynamicCopies(*replaced), 3 + 9 + 27);
  EXPECT_EQ(files.reads,
            (std::map<std::string, int>{{LevelPath(1), 1}, {LevelPath(2), 1}, {LevelPath(3), 1}}));
  EXPECT_TRUE(SaveDocument(*replaced) == SaveDocument(*kept));
  ExpectNoForeignSources(*replaced);
  RunPasses(*replaced, 40);
  RunPasses(*kept, 40);
  EXPECT_EQ(replaced->outputs[0]->value, kept->outputs[0]->value);
}

MemoryFiles FanOutSet(int depth) {
  MemoryFiles files;
  const auto levels = FanOutFiles(depth, LevelPath);
  for (std::size_t level = 0; level < levels.size(); ++level) {
    files.files[LevelPath(static_cast<int>(level))] = levels[level];
  }
  return files;
}

// Eleven files of a few hundred bytes each would make a circuit of millions of components.
TEST(DynamicFanOut, SetPastTheBudgetIsRefusedWithinBoundedMemory) {
  MemoryFiles files = FanOutSet(10);
  const Bytes document = files.files[LevelPath(0)];
  const std::size_t liveBefore = LiveHeapBytes();
  RestartHeapPeak();
  EXPECT_THROW(LoadDocument(document, files), FormatError);
  EXPECT_LT(PeakHeapBytes() - liveBefore, std::size_t{150} << 20);
}

TEST(DynamicFanOut, SetWithinTheBudgetLoadsWhole) {
  MemoryFiles files = FanOutSet(8);
  auto loaded = LoadDocument(files.files[LevelPath(0)], files);
  int copies = 0;
  for (int level = 1, atLevel = 1; level <= 8; ++level) {
    atLevel *= kFanOut;
    copies += atLevel;
  }
  EXPECT_EQ(DynamicCopies(*loaded), copies);
}

}  // namespace
}  // namespace trivenor
