// Reading and writing a circuit file of about 10 MB, in memory (the disk is not measured).
#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

#include "document/archive.h"
#include "document/circuit_files.h"
#include "document/document_serializer.h"
#include "mixed_component.h"
#include "model/sub_circuit.h"

namespace trivenor {
namespace {

/// A wide mix of components wired in a chain, with junctions and displays, grown until its file
/// holds about 10 MB.
void FillCircuit(SubCircuit& circuit) {
  auto& input = *circuit.inputs.emplace_back(std::make_unique<Port>(PortRole::CircuitInput));
  Port* previous = &input;
  for (int i = 0; i < 86000; ++i) {
    std::unique_ptr<Component> component = MixedComponent(i);
    component->x = 100 + (i % 30) * 10;
    component->y = 5 + (i % 90) * 10;
    if (!component->inputs.empty()) {
      component->inputs[0]->source = previous;
    }
    if (!component->outputs.empty()) {
      previous = component->outputs[0].get();
    }
    circuit.components.push_back(std::move(component));
    if (i % 10 == 0) {
      auto& junction = circuit.junctions.emplace_back(std::make_unique<Junction>())->port;
      junction.source = previous;
      previous = &junction;
    }
  }
  circuit.outputs.emplace_back(std::make_unique<Port>(PortRole::CircuitOutput))->source = previous;
}

std::vector<std::uint8_t> WriteDocument(SubCircuit& circuit) {
  DocumentSettings settings;
  Archive archive;
  SerializeDocument(archive, circuit, settings);
  return archive.TakeWritten();
}

void BM_SaveDocument(benchmark::State& state) {
  SubCircuit circuit;
  FillCircuit(circuit);
  std::size_t size = 0;
  for (auto _ : state) {
    size = WriteDocument(circuit).size();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * size));
  state.counters["file_MB"] = static_cast<double>(size) / 1e6;
}
BENCHMARK(BM_SaveDocument)->Unit(benchmark::kMillisecond);

void BM_LoadDocument(benchmark::State& state) {
  SubCircuit source;
  FillCircuit(source);
  const auto bytes = WriteDocument(source);
  for (auto _ : state) {
    SubCircuit circuit;
    DocumentSettings settings;
    NoFileReader files;
    LoadContext context(files, bytes.size());
    Archive archive(bytes);
    SerializeDocument(archive, circuit, settings, &context);
    benchmark::DoNotOptimize(circuit.components.size());
    state.PauseTiming();  // freeing the circuit is not part of loading
    circuit.Clear();
    state.ResumeTiming();
  }
  state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * bytes.size()));
  state.counters["file_MB"] = static_cast<double>(bytes.size()) / 1e6;
}
BENCHMARK(BM_LoadDocument)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace trivenor
