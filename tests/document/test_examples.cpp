// The committed example circuits: what they compute once opened as the editor opens them, what
// saving them then writes, and that they are exactly what the generator in tools/ writes today.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "document/circuit_files.h"
#include "document/document_io.h"
#include "document/trivenor_doc.h"
#include "model/circuit_passes.h"
#include "model/component_kind.h"
#include "model/graph_plot.h"
#include "model/output_display.h"
#include "model/random.h"
#include "model/sub_circuit.h"
#include "support/circuit_comparison.h"
#include "tools/example_circuits.h"
// Shared with the runner's tests rather than copied.
#include "../cli/temp_folder.h"

namespace trivenor {
namespace {

namespace fs = std::filesystem;

fs::path CommittedExamplesFolder() {
  const char* source = std::getenv("TRIVENOR_SOURCE_DIR");
  if (source == nullptr) {
    throw std::runtime_error("TRIVENOR_SOURCE_DIR is not set");
  }
  return fs::path(source) / "examples";
}

Port& Terminal(PortList& terminals, int slot) {
  for (auto& port : terminals) {
    if (port->row == slot) {
      return *port;
    }
  }
  throw std::out_of_range("no terminal in slot " + std::to_string(slot));
}

/// Every component of `kindCode`, in list order.
template <typename Kind>
std::vector<Kind*> ComponentsOf(SubCircuit& circuit, int kindCode) {
  std::vector<Kind*> found;
  for (auto& component : circuit.components) {
    if (component->kind == kindCode) {
      found.push_back(static_cast<Kind*>(component.get()));
    }
  }
  return found;
}

/// Runs of equal texts, as (text, number of passes).
std::vector<std::pair<std::string, int>> Runs(const std::vector<std::string>& texts) {
  std::vector<std::pair<std::string, int>> runs;
  for (const std::string& text : texts) {
    if (runs.empty() || runs.back().first != text) {
      runs.emplace_back(text, 0);
    }
    ++runs.back().second;
  }
  return runs;
}

/// One example file opened as the editor opens it: read, input wires dropped, one pass run.
class ExampleFile : public ::testing::Test {
 protected:
  void Open(const std::string& fileName) {
    DiskFileReader files;
    ASSERT_EQ(
        OpenDocumentFile((CommittedExamplesFolder() / fileName).string(), circuit, settings, files),
        DocumentError::None)
        << fileName;
  }
  void Run(int passes) {
    for (int i = 0; i < passes; ++i) {
      circuit.Evaluate();
    }
  }
  float Output(int slot) { return Terminal(circuit.outputs, slot).value; }
  void SetInput(int slot, float value) { Terminal(circuit.inputs, slot).value = value; }
  /// The display whose table holds `text`.
  OutputDisplay& DisplayWith(const std::string& text) {
    for (OutputDisplay* display : ComponentsOf<OutputDisplay>(circuit, kind::OutputDisplay)) {
      for (const OutputText& entry : display->texts) {
        if (entry.text == text) {
          return *display;
        }
      }
    }
    throw std::out_of_range("no display with the text " + text);
  }

  SubCircuit circuit;
  DocumentSettings settings;
};

TEST_F(ExampleFile, EveryExampleHasItsGermanTitleAndATidyLayout) {
  const std::pair<const char*, const char*> titles[] = {{"addition.trv", "Addition"},
                                                        {"zaehler.trv", "Zähler"},
                                                        {"ampel.trv", "Ampel"},
                                                        {"sinus.trv", "Sinuskurve"},
                                                        {"mittelwert.trv", "Mittelwert"}};
  for (const auto& [fileName, title] : titles) {
    SCOPED_TRACE(fileName);
    circuit.Clear();
    settings = DocumentSettings{};
    Open(fileName);
    EXPECT_EQ(circuit.label, title);
    EXPECT_EQ(settings.canvasWidth, 600);
    EXPECT_TRUE(settings.editable);
    for (const auto& component : circuit.components) {
      SCOPED_TRACE(component->label);
      EXPECT_EQ(component->x % 10, 0);
      EXPECT_EQ(component->y % 10, 5);
      // Between the terminal columns, which end at 90 and begin at 510.
      EXPECT_GE(component->x, 100);
      EXPECT_LE(component->x + component->width, 480);
      EXPECT_GT(component->height, 0);
    }
  }
}

// The compiled plan against the objects' own pass, with typed values and a Reset in between.
TEST_F(ExampleFile, EveryExampleRunsThroughItsPlanExactlyAsItsObjectsRunIt) {
  for (const char* fileName :
       {"addition.trv", "zaehler.trv", "ampel.trv", "sinus.trv", "mittelwert.trv"}) {
    SCOPED_TRACE(fileName);
    circuit.Clear();
    Open(fileName);
    const std::unique_ptr<SubCircuit> reference = circuit.CloneCircuit();
    CircuitPasses passes(circuit);
    for (std::uint32_t pass = 0; pass < 300; ++pass) {
      if (pass == 150) {
        reference->Reset();
        passes.Reset();
      }
      if (pass % 50 == 25 && !circuit.inputs.empty()) {
        circuit.inputs[0]->value = reference->inputs[0]->value = static_cast<float>(pass % 3);
      }
      ProcessRandom().SetState(pass);
      reference->Evaluate();
      ProcessRandom().SetState(pass);
      passes.RunPass();
      ASSERT_EQ("", test_support::StateComparison()(*reference, circuit)) << "pass " << pass;
    }
  }
}

TEST_F(ExampleFile, AdditionOpensShowingTwoPlusThreeAndAddsWhatIsTyped) {
  Open("addition.trv");
  EXPECT_EQ(Output(0), 5.0f);
  SetInput(0, 7.0f);
  SetInput(1, -2.5f);
  Run(1);
  EXPECT_EQ(Output(0), 4.5f);
}

TEST_F(ExampleFile, CounterCountsOnePerPassAndItsInputResetsIt) {
  Open("zaehler.trv");
  for (int pass = 0; pass <= 10; ++pass) {
    EXPECT_EQ(Output(0), static_cast<float>(pass)) << "pass " << pass;
    Run(1);
  }
  SetInput(0, 1.0f);
  Run(4);
  for (int pass = 0; pass < 5; ++pass) {
    EXPECT_EQ(Output(0), 0.0f) << "held for " << pass << " more passes";
    Run(1);
  }
  SetInput(0, 0.0f);
  std::vector<float> released;
  for (int pass = 0; pass < 6; ++pass) {
    Run(1);
    released.push_back(Output(0));
  }
  EXPECT_EQ(released, (std::vector<float>{0, 0, 1, 2, 3, 4}));
}

TEST_F(ExampleFile, CounterKeepsCountingOnePerPassAfterTheResetCommand) {
  Open("zaehler.trv");
  Run(7);
  circuit.Reset();
  Run(3);
  const float start = Output(0);
  for (int pass = 1; pass <= 10; ++pass) {
    Run(1);
    EXPECT_EQ(Output(0), start + static_cast<float>(pass));
  }
}

TEST_F(ExampleFile, TrafficLightCyclesThroughItsPhasesAndPedestriansWalkOnlyOnRed) {
  Open("ampel.trv");
  OutputDisplay& cars = DisplayWith("Grün");
  OutputDisplay& pedestrians = DisplayWith("Fußgänger: Gehen");
  std::vector<std::string> carTexts;
  std::vector<std::string> pedestrianTexts;
  for (int pass = 0; pass < 500; ++pass) {
    Run(1);
    if (cars.label == "xxx") {
      // Only while the "div" and "mod" still hold the invalid results they start with.
      ASSERT_TRUE(carTexts.empty()) << "pass " << pass;
      continue;
    }
    carTexts.push_back(cars.label);
    pedestrianTexts.push_back(pedestrians.label);
    if (pedestrians.label == "Fußgänger: Gehen") {
      EXPECT_EQ(cars.label, "Rot") << "pass " << pass;
    } else {
      EXPECT_EQ(pedestrians.label, "Fußgänger: Warten") << "pass " << pass;
    }
    const float phase = Output(0);
    EXPECT_TRUE(phase >= 0.0f && phase <= 5.0f && phase == std::floor(phase)) << phase;
  }
  const auto carRuns = Runs(carTexts);
  ASSERT_GE(carRuns.size(), 10u);
  EXPECT_EQ(carRuns[0].first, "Rot");
  const std::pair<std::string, int> cycle[] = {
      {"Rot-Gelb", 20}, {"Grün", 20}, {"Gelb", 20}, {"Rot", 60}};
  // The first and the last run may be cut short.
  for (std::size_t i = 1; i + 1 < carRuns.size(); ++i) {
    EXPECT_EQ(carRuns[i], cycle[(i - 1) % 4]) << "run " << i;
  }
  const auto pedestrianRuns = Runs(pedestrianTexts);
  ASSERT_GE(pedestrianRuns.size(), 5u);
  for (std::size_t i = 1; i + 1 < pedestrianRuns.size(); ++i) {
    EXPECT_EQ(pedestrianRuns[i].second, pedestrianRuns[i].first == "Fußgänger: Gehen" ? 40 : 80)
        << "run " << i;
  }
}

TEST_F(ExampleFile, SineWaveFollowsTheCounterAndFeedsTheGraphEveryPass) {
  Open("sinus.trv");
  const auto graphs = ComponentsOf<GraphPlot>(circuit, kind::GraphPlot);
  ASSERT_EQ(graphs.size(), 1u);
  const GraphPlot& graph = *graphs[0];
  EXPECT_TRUE(graph.continuous);
  EXPECT_FALSE(graph.autoY);
  EXPECT_EQ(graph.yMin, -1.0f);
  EXPECT_EQ(graph.yMax, 1.0f);
  EXPECT_EQ(graph.points, 100);
  EXPECT_EQ(graph.period, 1);
  EXPECT_EQ(graph.heightLines, 6);
  EXPECT_EQ(graph.widthChars, 20);
  for (int pass = 1; pass <= 150; ++pass) {
    const float before = Output(0);
    const int position = graph.position;
    Run(1);
    const auto angle = static_cast<float>((pass - 1) * static_cast<double>(0.1f));
    EXPECT_EQ(Output(0), static_cast<float>(std::sin(static_cast<double>(angle))))
        << "pass " << pass;
    // The graph takes the sine computed one pass earlier.
    EXPECT_EQ(graph.position, (position + 1) % graph.points);
    EXPECT_EQ(graph.ySamples[static_cast<std::size_t>(graph.position)], before);
  }
  const auto [lowest, highest] = std::minmax_element(graph.ySamples.begin(), graph.ySamples.end());
  EXPECT_LT(*lowest, -0.99f);
  EXPECT_GT(*highest, 0.99f);
}

TEST_F(ExampleFile, AverageWiresItsSubCircuitAcrossTheBoundaryAndHalvesTheSum) {
  Open("mittelwert.trv");
  EXPECT_EQ(Output(0), 6.0f);

  const auto sums = ComponentsOf<SubCircuit>(circuit, kind::SubCircuit);
  ASSERT_EQ(sums.size(), 1u);
  SubCircuit& sum = *sums[0];
  EXPECT_EQ(sum.label, "Summe");
  ASSERT_EQ(sum.inputs.size(), 2u);
  ASSERT_EQ(sum.outputs.size(), 1u);
  ASSERT_EQ(sum.components.size(), 1u);
  Component& plus = *sum.components[0];
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(sum.inputs[i]->role, PortRole::SubCircuitInput);
    EXPECT_EQ(sum.inputs[i]->source, &Terminal(circuit.inputs, i));
    EXPECT_EQ(plus.inputs[i]->source, sum.inputs[i].get());
  }
  EXPECT_EQ(sum.outputs[0]->role, PortRole::SubCircuitOutput);
  EXPECT_EQ(sum.outputs[0]->source, plus.outputs[0].get());

  SetInput(0, 3.0f);
  SetInput(1, 10.0f);
  Run(1);
  EXPECT_EQ(Output(0), 6.0f) << "the sum takes a pass before the division sees it";
  Run(1);
  EXPECT_EQ(Output(0), 6.5f);
  SetInput(0, -5.0f);
  SetInput(1, 5.0f);
  Run(2);
  EXPECT_EQ(Output(0), 0.0f);
}

// Saving writes the values of the opening pass, so the bytes are those of the example after one
// pass: saved_examples holds them as the editor has always written them. A change to the
// loader, the writer or the evaluation that alters them shows here.
TEST(ExampleSaving, AnOpenedExampleSavesToTheBytesTheEditorAlwaysWrote) {
  const fs::path savedFolder =
      CommittedExamplesFolder().parent_path() / "tests" / "document" / "saved_examples";
  test_support::TempFolder folder;
  int examples = 0;
  for (const auto& entry : fs::directory_iterator(CommittedExamplesFolder())) {
    if (entry.path().extension() != ".trv") {
      continue;
    }
    const std::string name = entry.path().filename().string();
    SCOPED_TRACE(name);
    ++examples;
    CTrivenorDoc document;
    ASSERT_EQ(document.OpenDocument(entry.path().string()), DocumentError::None);
    ASSERT_EQ(document.SaveDocument(folder.File(name)), DocumentError::None);
    const auto expected = test_support::ReadBytes((savedFolder / name).string());
    ASSERT_FALSE(expected.empty()) << "no saved_examples/" << name;
    const auto saved = test_support::ReadBytes(folder.File(name));
    const auto differ = std::mismatch(saved.begin(), saved.end(), expected.begin(), expected.end());
    EXPECT_TRUE(differ.first == saved.end() && differ.second == expected.end())
        << "the saved bytes differ from offset " << (differ.first - saved.begin()) << " on ("
        << saved.size() << " bytes saved, " << expected.size() << " expected)";
  }
  EXPECT_EQ(examples, 5);
}

TEST(ExampleGenerator, CommittedExamplesAreExactlyWhatTheGeneratorWrites) {
  test_support::TempFolder folder;
  const fs::path generatedFolder = fs::path(folder.File(""));
  const auto failure = examples::WriteExamples(generatedFolder.string());
  ASSERT_FALSE(failure.has_value()) << failure->fileName;

  std::set<std::string> generated;
  for (const auto& entry : fs::directory_iterator(generatedFolder)) {
    generated.insert(entry.path().filename().string());
  }
  std::set<std::string> committed;
  for (const auto& entry : fs::directory_iterator(CommittedExamplesFolder())) {
    if (entry.path().extension() == ".trv") {
      committed.insert(entry.path().filename().string());
    }
  }
  EXPECT_EQ(committed, generated);
  for (const std::string& name : generated) {
    EXPECT_EQ(test_support::ReadBytes((CommittedExamplesFolder() / name).string()),
              test_support::ReadBytes(folder.File(name)))
        << name << " differs from the generator's output; run make_examples on examples/";
  }
}

}  // namespace
}  // namespace trivenor
