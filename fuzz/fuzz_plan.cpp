// Compiles the evaluation plan of whatever circuit file loads and runs it side by side with the
// objects' own pass, which stays the reference. Any circuit the reader accepts must compile (or
// be left to the objects) and run without a crash or a sanitizer report, and after every pass,
// and after a Reset, both must hold exactly the same state.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <span>
#include <string>

#include "document/circuit_files.h"
#include "document/circuit_loader.h"
#include "model/circuit_passes.h"
#include "model/random.h"
#include "model/sub_circuit.h"
#include "support/circuit_comparison.h"

namespace trivenor {
namespace {

constexpr int kPasses = 4;

void Compare(const SubCircuit& reference, const SubCircuit& planned) {
  const std::string difference = test_support::StateComparison()(reference, planned);
  if (!difference.empty()) {
    std::fprintf(stderr, "fuzz_plan: the plan differs from the objects at %s\n",
                 difference.c_str());
    std::abort();
  }
}

}  // namespace
}  // namespace trivenor

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace trivenor;
  SubCircuit planned;
  DocumentSettings settings;
  NoFileReader files;
  try {
    ReadDocumentFile("", std::span<const std::uint8_t>(data, size), planned, settings, files);
  } catch (const FormatError&) {
    return 0;
  }
  const std::unique_ptr<SubCircuit> reference = planned.CloneCircuit();
  CircuitPasses passes(planned);
  for (int pass = 0; pass < kPasses; ++pass) {
    if (pass == kPasses - 1) {
      reference->Reset();
      passes.Reset();
    }
    ProcessRandom().SetState(static_cast<std::uint32_t>(pass));
    const bool expected = reference->Evaluate();
    ProcessRandom().SetState(static_cast<std::uint32_t>(pass));
    if (passes.RunPass() != expected) {
      std::fprintf(stderr, "fuzz_plan: the plan and the objects disagree on the outputs\n");
      std::abort();
    }
    Compare(*reference, planned);
  }
  return 0;
}
