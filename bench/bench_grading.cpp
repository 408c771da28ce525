// Grading a class with the runner: 30 circuit files of 200 components each against a table of
// 20 rows, from reading the files to the last comparison. The reference, measured in the same
// run, is one evaluation pass of one of those circuits: every row costs passes until its
// outputs settle, so the time per file is best read in passes.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "cli/runner.h"
#include "document/circuit_files.h"
#include "document/document_io.h"
#include "mixed_component.h"
#include "model/sub_circuit.h"

namespace trivenor {
namespace {

constexpr int kFiles = 30;
constexpr int kComponents = 200;
constexpr int kRows = 20;

/// Two inputs feeding a chain of the mixed kinds, two outputs at its middle and at its end.
void FillCircuit(SubCircuit& circuit, int variant) {
  Port& first = *circuit.inputs.emplace_back(std::make_unique<Port>(PortRole::CircuitInput, 0));
  Port& second = *circuit.inputs.emplace_back(std::make_unique<Port>(PortRole::CircuitInput, 1));
  Port* previous = &first;
  Port* middle = nullptr;
  for (int i = 0; i < kComponents; ++i) {
    std::unique_ptr<Component> component = MixedComponent(i + variant);
    component->x = 100 + (i % 30) * 10;
    component->y = 5 + (i % 90) * 10;
    for (std::size_t k = 0; k < component->inputs.size(); ++k) {
      component->inputs[k]->source = k == 0 ? previous : &second;
    }
    if (!component->outputs.empty()) {
      previous = component->outputs[0].get();
    }
    if (i == kComponents / 2) {
      middle = previous;
    }
    circuit.components.push_back(std::move(component));
  }
  circuit.outputs.emplace_back(std::make_unique<Port>(PortRole::CircuitOutput, 0))->source = middle;
  circuit.outputs.emplace_back(std::make_unique<Port>(PortRole::CircuitOutput, 1))->source =
      previous;
}

/// The class folder, written once for the whole run.
class ClassFolder {
 public:
  ClassFolder()
      : folder_(std::filesystem::temp_directory_path() /
                ("trivenor-bench-grading-" + std::to_string(getpid()))) {
    std::filesystem::create_directories(folder_);
    std::ofstream table(Table());
    table << "# Rechne mit.\nE1;E2;A1;A2\n";
    for (int row = 0; row < kRows; ++row) {
      table << row << ';' << row % 7 << ";1;2\n";
    }
    for (int i = 0; i < kFiles; ++i) {
      SubCircuit circuit;
      FillCircuit(circuit, i);
      DocumentSettings settings;
      files_.push_back((folder_ / ("kind" + std::to_string(i) + ".trv")).string());
      SaveDocumentFile(files_.back(), circuit, settings);
    }
  }
  ~ClassFolder() {
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  std::string Table() const { return (folder_ / "aufgabe.csv").string(); }
  const std::vector<std::string>& Files() const { return files_; }

 private:
  std::filesystem::path folder_;
  std::vector<std::string> files_;
};

ClassFolder& Folder() {
  static ClassFolder folder;
  return folder;
}

void BM_GradeClass(benchmark::State& state) {
  std::vector<std::string> arguments = {"--pruefe", Folder().Table()};
  arguments.insert(arguments.end(), Folder().Files().begin(), Folder().Files().end());
  DiskFileReader files;
  for (auto _ : state) {
    std::ostringstream out;
    std::ostringstream err;
    benchmark::DoNotOptimize(RunCommandLine(arguments, out, err, files));
  }
  state.counters["per_file"] =
      benchmark::Counter(static_cast<double>(kFiles) * state.iterations(),
                         benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_GradeClass)->Unit(benchmark::kMillisecond);

// The reference: one pass of one of the graded circuits, opened as the runner opens it.
void BM_OnePass(benchmark::State& state) {
  SubCircuit circuit;
  DocumentSettings settings;
  DiskFileReader files;
  OpenDocumentFile(Folder().Files().front(), circuit, settings, files);
  for (auto _ : state) {
    circuit.Evaluate();
  }
}
BENCHMARK(BM_OnePass)->Unit(benchmark::kMicrosecond);

}  // namespace
}  // namespace trivenor
