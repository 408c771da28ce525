#include "tools/example_circuits.h"

#include <initializer_list>
#include <utility>

#include "document/utf8_path.h"
#include "model/component_kind.h"
#include "model/delay_line.h"
#include "model/graph_plot.h"
#include "model/operators.h"
#include "model/output_display.h"
#include "tools/example_building.h"
#include "tools/example_layout.h"

namespace trivenor::examples {

namespace {

// Layout: the canvas is 600 wide, so the terminal columns end at x 90 and begin at x 510;
// components stay between x 100 and 480. Terminal slot r sits at y = 30 r + 20, and a
// component placed at y = 30 r + 15 has its first port level with slot r. Ports are 10 apart,
// inputs on the left edge, outputs on the right; bodies are 50 high. Wires are straight lines,
// so wires that would cross a body bend round it at junctions. Paper prints labels about a
// third wider than the screen shows them, so long labels keep 20 units clear on both sides.

std::unique_ptr<SubCircuit> NewCircuit(std::string title) {
  auto circuit = std::make_unique<SubCircuit>();
  circuit->label = std::move(title);
  return circuit;
}

Port& Out(Component& component) {
  return *component.outputs[0];
}
Port& In(Component& component, int index) {
  return *component.inputs[index];
}

/// Inputs 0 and 1 are stored as 2 and 3, so the file opens showing 5 at output 0. Any pair
/// typed in shows its sum one pass later: a "+" fed by terminals computes in the pass in
/// which the terminals take their values.
std::unique_ptr<SubCircuit> BuildAddition() {
  auto circuit = NewCircuit("Addition");
  Port& first = AddInputTerminal(*circuit, 0);
  Port& second = AddInputTerminal(*circuit, 1);
  first.value = 2.0f;
  second.value = 3.0f;
  auto& plus = Place<TwoInputOperator>(*circuit, 250, 15, kind::Plus);
  Connect(In(plus, 0), first);
  Connect(In(plus, 1), second);
  Connect(AddOutputTerminal(*circuit, 0), Out(plus));
  return circuit;
}

/// Output 0 counts 0, 1, 2, ... one step per pass: it shows K after the K-th pass following
/// the pass that opening runs. Input 0 resets: while it is 1 the count drops to 0 within four
/// passes and stays there; set back to 0 it counts again from 0.
///
/// A "+" fed by its own output counts one per pass but cannot be reset, since the gate that
/// clears it would have to sit in the same loop and every component in a loop adds a pass.
/// So the count travels round a loop of two stages, "+" (adds the gate) and "*" (passes on or
/// clears), each holding every other count; their sum goes up by exactly one per pass whatever
/// the two hold, and the editor's "Reset" cannot upset it. The gate is "not" of input 0.
///
/// The "+" stands above the "*"; the wire from the "+" runs down between them, the one back
/// from the "*" over the top, and the gate's wires come from a trunk on the left.
std::unique_ptr<SubCircuit> BuildCounter() {
  auto circuit = NewCircuit("Zähler");
  Port& reset = AddInputTerminal(*circuit, 0);
  auto& gate = Place<UnaryFunction>(*circuit, 120, 15, kind::Not);
  auto& adder = Place<TwoInputOperator>(*circuit, 240, 45, kind::Plus);
  auto& keeper = Place<TwoInputOperator>(*circuit, 240, 135, kind::Times);
  auto& sum = Place<TwoInputOperator>(*circuit, 380, 45, kind::Plus);
  Connect(In(gate, 0), reset);
  Port& gateTrunk = Bend(*circuit, Out(gate), {{190, 20}, {190, 60}});
  Port& count = Bend(*circuit, Out(adder), {{280, 50}});
  Port& kept = Bend(*circuit, Out(keeper), {{300, 140}});
  Connect(In(adder, 0), Bend(*circuit, kept, {{300, 30}, {220, 30}, {220, 50}}));
  Connect(In(adder, 1), gateTrunk);
  Connect(In(keeper, 0), Bend(*circuit, count, {{280, 110}, {220, 110}, {220, 140}}));
  Connect(In(keeper, 1), Bend(*circuit, gateTrunk, {{190, 150}}));
  Connect(In(sum, 0), count);
  Connect(In(sum, 1), kept);
  Connect(AddOutputTerminal(*circuit, 0), Out(sum));
  return circuit;
}

/// The counter of the other examples: a "+" at (x, y) that adds a constant 1, placed below on
/// its left, to its own last output. The wire back to its first input runs over its top.
/// Returns the junction the count leaves by. Values are 32-bit floats, so after 2^24 passes
/// (over nine days at 50 ms) adding 1 no longer changes the count and it stands still.
Port& PlaceFreeCounter(SubCircuit& circuit, int x, int y) {
  auto& counter = Place<TwoInputOperator>(circuit, x, y, kind::Plus);
  auto& one = PlaceConstant(circuit, x - 40, y + 50, "1");
  Port& count = Bend(circuit, Out(counter), {{x + 40, y + 5}});
  Connect(In(counter, 0),
          Bend(circuit, count, {{x + 40, y - 15}, {x - 20, y - 15}, {x - 20, y + 5}}));
  Connect(In(counter, 1), Out(one));
  return count;
}

OutputDisplay& PlaceDisplay(SubCircuit& circuit, int x, int y,
                            std::initializer_list<const char*> textsFromZero) {
  auto& display = Place<OutputDisplay>(circuit, x, y);
  float value = 0.0f;
  for (const char* text : textsFromZero) {
    display.texts.push_back({value, text});
    value += 1.0f;
  }
  return display;
}

/// A counter, divided by 20 and taken modulo 6, gives the phase 0 to 5; each phase lasts 20
/// passes (a second at the editor's 50 ms). The first display shows the car light: "Rot" for
/// phases 0 to 2, then "Rot-Gelb", "Grün", "Gelb", so a cycle is 120 passes, 60 of them red.
/// The second display shows the phase through a delay line of 10: pedestrians see "Gehen" for
/// the delayed phases 0 and 1, which falls 10 passes after the cars' red begins and ends 10
/// passes before it ends, "Warten" otherwise. Output 0 shows the phase. Right after opening
/// the car display shows "xxx" for two passes, while the "div" and "mod" still hold the
/// invalid results they start with; pedestrians see "Gehen" only while the cars see red.
std::unique_ptr<SubCircuit> BuildTrafficLight() {
  auto circuit = NewCircuit("Ampel");
  Port& count = PlaceFreeCounter(*circuit, 150, 35);
  auto& slower = Place<TwoInputOperator>(*circuit, 240, 35, kind::IntegerDivide);
  auto& twenty = PlaceConstant(*circuit, 200, 85, "20");
  auto& phase = Place<TwoInputOperator>(*circuit, 320, 35, kind::Modulo);
  auto& six = PlaceConstant(*circuit, 290, 85, "6");
  // Room on the right for its widest text, "Rot-Gelb".
  auto& cars = PlaceDisplay(*circuit, 400, 55, {"Rot", "Rot", "Rot", "Rot-Gelb", "Grün", "Gelb"});
  auto& delay = Place<DelayLine>(*circuit, 220, 175, 10);
  auto& pedestrians = PlaceDisplay(*circuit, 320, 175,
                                   {"Fußgänger: Gehen", "Fußgänger: Gehen", "Fußgänger: Warten",
                                    "Fußgänger: Warten", "Fußgänger: Warten", "Fußgänger: Warten"});
  Connect(In(slower, 0), count);
  Connect(In(slower, 1), Out(twenty));
  Connect(In(phase, 0), Out(slower));
  Connect(In(phase, 1), Out(six));
  // The output's wire runs above the car display; the others leave below it.
  Connect(AddOutputTerminal(*circuit, 0), Out(phase));
  Port& phaseTrunk = Bend(*circuit, Out(phase), {{380, 60}});
  Connect(In(cars, 0), phaseTrunk);
  // Down below the constants and back to the left for the delay line.
  Connect(In(delay, 0), Bend(*circuit, phaseTrunk, {{380, 150}, {200, 150}, {200, 180}}));
  Connect(In(pedestrians, 0), Out(delay));
  return circuit;
}

/// The counter times 0.1 goes into "sin": output 0 shows sin(0.1 (K - 1)) after the K-th pass
/// following the one that opening runs (the counter and "*" each add a pass), about 63 passes
/// per period. The graph records the sine every pass, 100 samples on a fixed scale of -1 to 1.
std::unique_ptr<SubCircuit> BuildSineWave() {
  auto circuit = NewCircuit("Sinuskurve");
  Port& count = PlaceFreeCounter(*circuit, 150, 35);
  auto& scale = Place<TwoInputOperator>(*circuit, 240, 35, kind::Times);
  auto& tenth = PlaceConstant(*circuit, 190, 85, "0.1");
  auto& sine = Place<UnaryFunction>(*circuit, 290, 35, kind::Sine);
  GraphSettings settings;
  settings.continuous = true;
  settings.autoY = false;
  settings.yMin = -1.0f;
  settings.yMax = 1.0f;
  settings.points = 100;
  settings.period = 1;
  settings.heightLines = 6;
  settings.widthChars = 20;
  // Paper draws the graph larger than the screen (250 by 130 here), and it still fits.
  auto& graph = Place<GraphPlot>(*circuit, 220, 175, settings);
  Connect(In(scale, 0), count);
  Connect(In(scale, 1), Out(tenth));
  Connect(In(sine, 0), Out(scale));
  Connect(AddOutputTerminal(*circuit, 0), Out(sine));
  // Down below the constants and back to the left for the graph.
  Connect(In(graph, 0), Bend(*circuit, Out(sine), {{350, 60}, {350, 150}, {200, 150}, {200, 180}}));
  return circuit;
}

/// "Summe" as it is once its circuit file has been placed: its terminals are the ports of the
/// component, the "+" inside reads the input terminals and the output terminal reads the "+".
std::unique_ptr<SubCircuit> BuildSum() {
  auto sum = NewCircuit("Summe");
  Port& first = AddInputTerminal(*sum, 0, PortRole::SubCircuitInput);
  Port& second = AddInputTerminal(*sum, 1, PortRole::SubCircuitInput);
  auto& plus = Place<TwoInputOperator>(*sum, 250, 15, kind::Plus);
  Connect(In(plus, 0), first);
  Connect(In(plus, 1), second);
  Connect(AddOutputTerminal(*sum, 0, PortRole::SubCircuitOutput), Out(plus));
  return sum;
}

/// The average of inputs 0 and 1: the sub-circuit "Summe" adds them, "/" divides by a
/// constant 2. Inputs are stored as 4 and 8 and the circuit has run until it shows 6, so the
/// file opens with 6 at output 0. New inputs show their average two passes later (one for the
/// sub-circuit, one for the "/").
std::unique_ptr<SubCircuit> BuildAverage() {
  auto circuit = NewCircuit("Mittelwert");
  Port& first = AddInputTerminal(*circuit, 0);
  Port& second = AddInputTerminal(*circuit, 1);
  first.value = 4.0f;
  second.value = 8.0f;
  auto& sum = static_cast<SubCircuit&>(*circuit->components.emplace_back(BuildSum()));
  sum.x = 130;
  sum.y = 15;
  auto& two = PlaceConstant(*circuit, 230, 75, "2");
  auto& half = Place<TwoInputOperator>(*circuit, 300, 15, kind::Divide);
  Connect(In(sum, 0), first);
  Connect(In(sum, 1), second);
  Connect(In(half, 0), Out(sum));
  Connect(In(half, 1), Out(two));
  Connect(AddOutputTerminal(*circuit, 0), Out(half));
  // One pass for the sum, one for the division.
  circuit->Evaluate();
  circuit->Evaluate();
  return circuit;
}

Example MakeExample(std::string fileName, std::unique_ptr<SubCircuit> circuit) {
  Example example{std::move(fileName), std::move(circuit), DocumentSettings{}};
  LayOutAsOpened(*example.circuit, example.settings);
  return example;
}

}  // namespace

std::vector<Example> BuildExamples() {
  std::vector<Example> examples;
  examples.push_back(MakeExample("addition.trv", BuildAddition()));
  examples.push_back(MakeExample("zaehler.trv", BuildCounter()));
  examples.push_back(MakeExample("ampel.trv", BuildTrafficLight()));
  examples.push_back(MakeExample("sinus.trv", BuildSineWave()));
  examples.push_back(MakeExample("mittelwert.trv", BuildAverage()));
  return examples;
}

std::optional<ExampleWriteFailure> WriteExamples(const std::string& folder) {
  for (Example& example : BuildExamples()) {
    const std::string path = Utf8FromPath(PathFromUtf8(folder) / example.fileName);
    const DocumentError error = SaveDocumentFile(path, *example.circuit, example.settings);
    if (error != DocumentError::None) {
      return ExampleWriteFailure{example.fileName, error};
    }
  }
  return std::nullopt;
}

}  // namespace trivenor::examples
