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
#include "model/sub_circuit.h"
#include "tools/fan_out_set.h"

namespace trivenor {
namespace {

constexpr int kDepthWithinBudget = 8;
constexpr int kDepthPastBudget = 10;

using Bytes = std::vector<std::uint8_t>;

void WriteFile(const std::string& path, const Bytes& bytes) {
  std::ofstream(path, std::ios::binary)
      .write(reinterpret_cast<const char*>(bytes.data()),
             static_cast<std::streamsize>(bytes.size()));
}

/// A fan-out set on the disk, in a folder of its own.
class FanOutSet {
 public:
  explicit FanOutSet(int depth)
      : folder_(std::filesystem::temp_directory_path() /
                ("trivenor-fanout-" + std::to_string(getpid()) + "-" + std::to_string(depth))) {
    std::filesystem::create_directories(folder_);
    const auto files = FanOutFiles(depth, [this](int level) { return PathOf(level); });
    for (std::size_t level = 0; level < files.size(); ++level) {
      WriteFile(PathOf(static_cast<int>(level)), files[level]);
      totalBytes_ += files[level].size();
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
    Archive archive;
    SerializeDocument(archive, circuit, settings);
    path_ = set_.PathOf(0) + ".inline";
    WriteFile(path_, archive.Written());
    bytes_ = archive.Written().size();
  }
  const FanOutSet& set() const { return set_; }
  const std::string& path() const { return path_; }
  std::size_t bytes() const { return bytes_; }

 private:
  FanOutSet set_;
  std::string path_;
  std::size_t bytes_ = 0;
};

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
/// `vs_inline` its ratio to loading the inline reference of the set within the budget. (The
/// memory it takes is checked by dynamic_fanout_tests.)
void BM_DynamicFanOutPastBudget(benchmark::State& state) {
  const InlineReference reference;
  const FanOutSet set(kDepthPastBudget);
  double refused = 0.0;
  double inlined = 0.0;
  for (auto _ : state) {
    const double took = TimedOpen(set.PathOf(0), DocumentError::BadFormat);
    inlined += TimedOpen(reference.path(), DocumentError::None);
    refused += took;
    state.SetIterationTime(took);
  }
  state.counters["vs_inline"] = refused / inlined;
  state.counters["files_KB"] = static_cast<double>(set.totalBytes()) / 1e3;
}
BENCHMARK(BM_DynamicFanOutPastBudget)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace trivenor
