// Loading a set of small circuit files that place each other as dynamic sub-circuits, four times
// over at every level, against loading the same circuit stored inline as copied sub-circuits. The
// files are generated in a temporary folder and read from the disk, as the editor reads them.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "document/archive.h"
#include "document/circuit_files.h"
#include "document/document_io.h"
#include "document/document_serializer.h"
#include "model/component_kind.h"
#include "model/constant.h"
#include "model/operators.h"
#include "model/sub_circuit.h"

namespace trivenor {
namespace {

constexpr int kFanOut = 4;
constexpr int kDepthWithinBudget = 8;
constexpr int kDepthPastBudget = 10;

using Bytes = std::vector<std::uint8_t>;

Bytes Encode(SubCircuit& circuit) {
  DocumentSettings settings;
  Archive archive;
  SerializeDocument(archive, circuit, settings);
  return archive.TakeWritten();
}

Port& AddTerminal(PortList& terminals, PortRole role) {
  return *terminals.emplace_back(std::make_unique<Port>(role));
}

/// The last level: its input plus 1.
std::unique_ptr<SubCircuit> Leaf() {
  auto circuit = std::make_unique<SubCircuit>();
  circuit->label = "Blatt";
  Port& in = AddTerminal(circuit->inputs, PortRole::CircuitInput);
  auto& one = *circuit->components.emplace_back(std::make_unique<Constant>("1"));
  auto& plus = *circuit->components.emplace_back(std::make_unique<TwoInputOperator>(kind::Plus));
  one.x = 120;
  plus.x = 200;
  plus.inputs[0]->source = &in;
  plus.inputs[1]->source = one.outputs[0].get();
  AddTerminal(circuit->outputs, PortRole::CircuitOutput).source = plus.outputs[0].get();
  return circuit;
}

/// A level above: its input through kFanOut dynamic sub-circuits of the file at `childPath`, in
/// a chain. The stored copies are mere terminals, as small as a stale copy can be.
std::unique_ptr<SubCircuit> Level(const std::string& childPath) {
  auto circuit = std::make_unique<SubCircuit>();
  circuit->label = "Ebene";
  Port* previous = &AddTerminal(circuit->inputs, PortRole::CircuitInput);
  for (int i = 0; i < kFanOut; ++i) {
    auto stored = std::make_unique<SubCircuit>();
    stored->path = childPath;
    stored->x = 100 + 80 * i;
    AddTerminal(stored->inputs, PortRole::SubCircuitInput).source = previous;
    previous = &AddTerminal(stored->outputs, PortRole::SubCircuitOutput);
    circuit->components.push_back(std::move(stored));
  }
  AddTerminal(circuit->outputs, PortRole::CircuitOutput).source = previous;
  return circuit;
}

/// The files of one fan-out set in a folder of their own: level 0 places level 1 kFanOut times,
/// and so on down to the leaf at level `depth`.
class FanOutSet {
 public:
  explicit FanOutSet(int depth)
      : folder_(std::filesystem::temp_directory_path() /
                ("trivenor-fanout-" + std::to_string(getpid()) + "-" + std::to_string(depth))) {
    std::filesystem::create_directories(folder_);
    for (int level = depth; level >= 0; --level) {
      auto circuit = level == depth ? Leaf() : Level(PathOf(level + 1));
      const Bytes bytes = Encode(*circuit);
      std::ofstream(PathOf(level), std::ios::binary)
          .write(reinterpret_cast<const char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()));
      totalBytes_ += bytes.size();
    }
  }
  ~FanOutSet() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  std::string PathOf(int level) const {
    return (folder_ / ("ebene" + std::to_string(level))).string();
  }
  std::size_t totalBytes() const { return totalBytes_; }

 private:
  std::filesystem::path folder_;
  std::size_t totalBytes_ = 0;
};

void ForgetPaths(SubCircuit& circuit) {
  circuit.path.clear();
  circuit.dynamic = false;
  for (auto& component : circuit.components) {
    if (component->kind == kind::SubCircuit) {
      ForgetPaths(static_cast<SubCircuit&>(*component));
    }
  }
}

/// Opens `path` as the editor does; the seconds it took, freeing the circuit not included.
double TimedOpen(const std::string& path, DocumentError expected) {
  DiskFileReader files;
  SubCircuit circuit;
  DocumentSettings settings;
  const auto start = std::chrono::steady_clock::now();
  const DocumentError error = OpenDocumentFile(path, circuit, settings, files);
  const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
  if (error != expected) {
    throw std::runtime_error("the fan-out set did not load as expected: " + path);
  }
  return took.count();
}

/// The circuit of the set within the budget, stored inline: the reference.
class InlineReference {
 public:
  InlineReference() : set_(kDepthWithinBudget) {
    SubCircuit circuit;
    DocumentSettings settings;
    DiskFileReader files;
    if (OpenDocumentFile(set_.PathOf(0), circuit, settings, files) != DocumentError::None) {
      throw std::runtime_error("the fan-out set does not load");
    }
    ForgetPaths(circuit);
    const Bytes bytes = Encode(circuit);
    path_ = set_.PathOf(0) + ".inline";
    std::ofstream(path_, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
    bytes_ = bytes.size();
  }
  const FanOutSet& set() const { return set_; }
  const std::string& path() const { return path_; }
  std::size_t bytes() const { return bytes_; }

 private:
  FanOutSet set_;
  std::string path_;
  std::size_t bytes_ = 0;
};

/// A figure of /proc/self/status in MB: "VmRSS:" the resident memory now, "VmHWM:" its peak
/// since ResetPeakMemory (Linux; 0 elsewhere).
double MemoryMB(const std::string& figure) {
  std::ifstream status("/proc/self/status");
  std::string key;
  while (status >> key) {
    if (key == figure) {
      double kilobytes = 0;
      status >> kilobytes;
      return kilobytes / 1024.0;
    }
  }
  return 0.0;
}
void ResetPeakMemory() {
  std::ofstream("/proc/self/clear_refs") << "5";
}

/// Each iteration opens the dynamic set and then its inline twin; the time shown is the dynamic
/// load, `vs_inline` its ratio to the inline load.
void BM_DynamicFanOut(benchmark::State& state) {
  const InlineReference reference;
  double dynamic = 0.0;
  double inlined = 0.0;
  for (auto _ : state) {
    const double took = TimedOpen(reference.set().PathOf(0), DocumentError::None);
    inlined += TimedOpen(reference.path(), DocumentError::None);
    dynamic += took;
    state.SetIterationTime(took);
  }
  state.counters["vs_inline"] = dynamic / inlined;
  state.counters["files_KB"] = static_cast<double>(reference.set().totalBytes()) / 1e3;
  state.counters["inline_MB"] = static_cast<double>(reference.bytes()) / 1e6;
}
BENCHMARK(BM_DynamicFanOut)->UseManualTime()->Unit(benchmark::kMillisecond);

/// Two levels more than the budget allows: refused as malformed. The time shown is the refusal,
/// `vs_inline` its ratio to loading the inline reference of the set within the budget, `peak_MB`
/// the memory the refusal took at most.
void BM_DynamicFanOutPastBudget(benchmark::State& state) {
  const InlineReference reference;
  const FanOutSet set(kDepthPastBudget);
  double refused = 0.0;
  double inlined = 0.0;
  double peak = 0.0;
  for (auto _ : state) {
    const double baseline = MemoryMB("VmRSS:");
    ResetPeakMemory();
    const double took = TimedOpen(set.PathOf(0), DocumentError::BadFormat);
    peak = std::max(peak, MemoryMB("VmHWM:") - baseline);
    inlined += TimedOpen(reference.path(), DocumentError::None);
    refused += took;
    state.SetIterationTime(took);
  }
  state.counters["vs_inline"] = refused / inlined;
  state.counters["files_KB"] = static_cast<double>(set.totalBytes()) / 1e3;
  state.counters["peak_MB"] = peak;
}
BENCHMARK(BM_DynamicFanOutPastBudget)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace trivenor
