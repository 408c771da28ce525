#include "tools/exercise_circuits.h"

#include <filesystem>
#include <functional>
#include <system_error>
#include <utility>

#include "document/file_access.h"
#include "document/utf8_path.h"
#include "model/component_kind.h"
#include "model/delay_line.h"
#include "model/operators.h"
#include "tools/example_building.h"
#include "tools/example_layout.h"

namespace trivenor::examples {

namespace {

// Layout as in the examples: terminal slot r sits at y = 30 r + 20 and a component placed at
// y = 30 r + 15 has its first input level with slot r. Solutions run left to right between
// x 130 and 450.

/// The terminals of an exercise, handed to the builder of its solution.
struct Terminals {
  std::vector<Port*> in;
  std::vector<Port*> out;
};

using SolutionBuilder = std::function<void(SubCircuit&, const Terminals&)>;

Port& Out(Component& component) {
  return *component.outputs[0];
}
Port& In(Component& component, int index) {
  return *component.inputs[index];
}

std::unique_ptr<SubCircuit> WithTerminals(const std::string& title, int inputs, int outputs,
                                          Terminals& terminals) {
  auto circuit = std::make_unique<SubCircuit>();
  circuit->label = title;
  for (int slot = 0; slot < inputs; ++slot) {
    terminals.in.push_back(&AddInputTerminal(*circuit, slot));
  }
  for (int slot = 0; slot < outputs; ++slot) {
    terminals.out.push_back(&AddOutputTerminal(*circuit, slot));
  }
  return circuit;
}

Exercise MakeExercise(std::string folder, std::string baseName, const std::string& title,
                      int inputs, int outputs, std::string table, const SolutionBuilder& solve) {
  Exercise exercise{std::move(folder), std::move(baseName), std::move(table), nullptr,
                    nullptr,           DocumentSettings{}};
  Terminals unused;
  exercise.exercise = WithTerminals(title, inputs, outputs, unused);
  Terminals terminals;
  exercise.solution = WithTerminals(title, inputs, outputs, terminals);
  solve(*exercise.solution, terminals);
  LayOutAsOpened(*exercise.exercise, exercise.settings);
  LayOutAsOpened(*exercise.solution, exercise.settings);
  return exercise;
}

/// E1 `kindCode` E2 to A1.
SolutionBuilder TwoInputs(int kindCode) {
  return [kindCode](SubCircuit& circuit, const Terminals& t) {
    auto& op = Place<TwoInputOperator>(circuit, 250, 15, kindCode);
    Connect(In(op, 0), *t.in[0]);
    Connect(In(op, 1), *t.in[1]);
    Connect(*t.out[0], Out(op));
  };
}

/// E1 `kindCode` a constant `number` to the output terminal `output`, the operator in `row`.
TwoInputOperator& WithConstant(SubCircuit& circuit, const Terminals& t, int kindCode,
                               const char* number, int row) {
  auto& constant = PlaceConstant(circuit, 150, 30 * row + 45, number);
  auto& op = Place<TwoInputOperator>(circuit, 280, 30 * row + 15, kindCode);
  Connect(In(op, 0), *t.in[0]);
  Connect(In(op, 1), Out(constant));
  return op;
}

SolutionBuilder ConstantStep(int kindCode, const char* number) {
  return [kindCode, number](SubCircuit& circuit, const Terminals& t) {
    Connect(*t.out[0], Out(WithConstant(circuit, t, kindCode, number, 0)));
  };
}

void AddThree(SubCircuit& circuit, const Terminals& t) {
  auto& first = Place<TwoInputOperator>(circuit, 180, 15, kind::Plus);
  auto& second = Place<TwoInputOperator>(circuit, 320, 45, kind::Plus);
  Connect(In(first, 0), *t.in[0]);
  Connect(In(first, 1), *t.in[1]);
  Connect(In(second, 0), Out(first));
  Connect(In(second, 1), *t.in[2]);
  Connect(*t.out[0], Out(second));
}

void Double(SubCircuit& circuit, const Terminals& t) {
  auto& plus = Place<TwoInputOperator>(circuit, 250, 15, kind::Plus);
  Connect(In(plus, 0), *t.in[0]);
  Connect(In(plus, 1), *t.in[0]);
  Connect(*t.out[0], Out(plus));
}

void Neighbours(SubCircuit& circuit, const Terminals& t) {
  Connect(*t.out[0], Out(WithConstant(circuit, t, kind::Minus, "1", 0)));
  Connect(*t.out[1], Out(WithConstant(circuit, t, kind::Plus, "1", 3)));
}

void RoundHalfUp(SubCircuit& circuit, const Terminals& t) {
  auto& plus = WithConstant(circuit, t, kind::Plus, "0.5", 0);
  auto& floor = Place<UnaryFunction>(circuit, 400, 15, kind::Floor);
  Connect(In(floor, 0), Out(plus));
  Connect(*t.out[0], Out(floor));
}

void Average(SubCircuit& circuit, const Terminals& t) {
  auto& sum = Place<TwoInputOperator>(circuit, 160, 15, kind::Plus);
  auto& two = PlaceConstant(circuit, 200, 75, "2");
  auto& half = Place<TwoInputOperator>(circuit, 330, 15, kind::Divide);
  Connect(In(sum, 0), *t.in[0]);
  Connect(In(sum, 1), *t.in[1]);
  Connect(In(half, 0), Out(sum));
  Connect(In(half, 1), Out(two));
  Connect(*t.out[0], Out(half));
}

/// A "+" fed by its own output adds E1 once per pass.
void Counter(SubCircuit& circuit, const Terminals& t) {
  auto& plus = Place<TwoInputOperator>(circuit, 250, 15, kind::Plus);
  Connect(In(plus, 0), Bend(circuit, Out(plus), {{330, 0}, {230, 0}, {230, 20}}));
  Connect(In(plus, 1), *t.in[0]);
  Connect(*t.out[0], Out(plus));
}

/// Green follows the button through a delay line; red is 1 minus green.
void TrafficLight(SubCircuit& circuit, const Terminals& t) {
  auto& delay = Place<DelayLine>(circuit, 150, 15, 4);
  Connect(In(delay, 0), *t.in[0]);
  auto& one = PlaceConstant(circuit, 250, 105, "1");
  auto& red = Place<TwoInputOperator>(circuit, 350, 45, kind::Minus);
  Connect(In(red, 0), Out(one));
  Connect(In(red, 1), Bend(circuit, Out(delay), {{300, 20}, {300, 60}}));
  Connect(*t.out[1], Out(delay));
  Connect(*t.out[0], Out(red));
}

void Bags(SubCircuit& circuit, const Terminals& t) {
  auto& full = Place<TwoInputOperator>(circuit, 250, 15, kind::IntegerDivide);
  auto& left = Place<TwoInputOperator>(circuit, 250, 75, kind::Modulo);
  for (TwoInputOperator* op : {&full, &left}) {
    Connect(In(*op, 0), *t.in[0]);
    Connect(In(*op, 1), *t.in[1]);
  }
  Connect(*t.out[0], Out(full));
  Connect(*t.out[1], Out(left));
}

void Rectangle(SubCircuit& circuit, const Terminals& t) {
  auto& area = Place<TwoInputOperator>(circuit, 200, 15, kind::Times);
  auto& sides = Place<TwoInputOperator>(circuit, 200, 75, kind::Plus);
  auto& two = PlaceConstant(circuit, 250, 135, "2");
  auto& around = Place<TwoInputOperator>(circuit, 360, 45, kind::Times);
  for (TwoInputOperator* op : {&area, &sides}) {
    Connect(In(*op, 0), *t.in[0]);
    Connect(In(*op, 1), *t.in[1]);
  }
  Connect(In(around, 0), Out(sides));
  Connect(In(around, 1), Out(two));
  Connect(*t.out[0], Out(area));
  Connect(*t.out[1], Out(around));
}

void Distance(SubCircuit& circuit, const Terminals& t) {
  TwoInputs(kind::Minus)(circuit, t);
  auto& minus = *circuit.components.back();
  minus.x = 180;
  auto& absolute = Place<UnaryFunction>(circuit, 330, 15, kind::Absolute);
  Connect(In(absolute, 0), Out(minus));
  Connect(*t.out[0], Out(absolute));
}

void WriteText(const std::string& path, const std::string& text,
               std::optional<ExerciseWriteFailure>& failure, const std::string& name) {
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  if (WriteFileSafely(path, {bytes, text.size()}) != WriteFailure::None) {
    failure = ExerciseWriteFailure{name, DocumentError::WriteFailed};
  }
}

}  // namespace

std::vector<Exercise> BuildExercises() {
  const std::string lower = "klasse12";
  const std::string upper = "klasse34";
  std::vector<Exercise> all;
  all.push_back(MakeExercise(lower, "addieren", "Addieren", 2, 1,
                             "# Baue eine Schaltung, die zwei Zahlen addiert: A1 = E1 + E2.\n"
                             "E1;E2;A1\n2;3;5\n7;8;15\n10;0;10\n12;9;21\n",
                             TwoInputs(kind::Plus)));
  all.push_back(MakeExercise(lower, "verdoppeln", "Verdoppeln", 1, 1,
                             "# Baue eine Schaltung, die eine Zahl verdoppelt.\n"
                             "E1;A1\n1;2\n4;8\n7;14\n0;0\n25;50\n",
                             Double));
  all.push_back(MakeExercise(lower, "abziehen", "Abziehen", 2, 1,
                             "# Baue eine Schaltung, die E2 von E1 abzieht.\n"
                             "E1;E2;A1\n9;4;5\n10;10;0\n15;7;8\n20;1;19\n",
                             TwoInputs(kind::Minus)));
  all.push_back(MakeExercise(
      lower, "fair_teilen", "Fair teilen", 2, 1,
      "# E1 Bonbons werden fair an E2 Kinder verteilt. Wie viele bekommt jedes Kind? Ohne "
      "Kinder geht das nicht: dann zeigt A1 xxx.\n"
      "E1;E2;A1\n12;3;4\n10;2;5\n20;4;5\n7;7;1\n5;0;xxx\n",
      TwoInputs(kind::Divide)));
  all.push_back(MakeExercise(lower, "drei_zahlen", "Drei Zahlen", 3, 1,
                             "# Baue eine Schaltung, die drei Zahlen addiert.\n"
                             "E1;E2;E3;A1\n1;2;3;6\n10;20;30;60\n5;0;5;10\n",
                             AddThree));
  all.push_back(MakeExercise(lower, "zehn_mehr", "Zehn mehr", 1, 1,
                             "# Baue eine Schaltung, die zu jeder Zahl 10 dazuzählt.\n"
                             "E1;A1\n5;15\n0;10\n23;33\n90;100\n",
                             ConstantStep(kind::Plus, "10")));
  all.push_back(MakeExercise(lower, "halbieren", "Halbieren", 1, 1,
                             "# Baue eine Schaltung, die eine Zahl halbiert.\n"
                             "E1;A1\n10;5\n7;3,5\n0;0\n100;50\n",
                             ConstantStep(kind::Divide, "2")));
  all.push_back(
      MakeExercise(lower, "nachbarn", "Nachbarzahlen", 1, 2,
                   "# Finde die Nachbarzahlen: A1 ist die Zahl davor, A2 die Zahl danach.\n"
                   "E1;A1;A2\n5;4;6\n10;9;11\n1;0;2\n",
                   Neighbours));
  all.push_back(MakeExercise(upper, "vergleichen", "Vergleichen", 2, 1,
                             "# A1 zeigt 1, wenn E1 größer ist als E2, sonst 0.\n"
                             "E1;E2;A1\n5;3;1\n3;5;0\n4;4;0\n100;99;1\n",
                             TwoInputs(kind::Greater)));
  all.push_back(MakeExercise(upper, "runden", "Runden", 1, 1,
                             "# Runde E1 auf eine ganze Zahl: ab ,5 wird aufgerundet.\n"
                             "E1;A1\n2,4;2\n2,5;3\n2,6;3\n7;7\n0,49;0\n",
                             RoundHalfUp));
  all.push_back(MakeExercise(upper, "mittelwert", "Mittelwert", 2, 1,
                             "# Berechne den Mittelwert von E1 und E2.\n"
                             "E1;E2;A1\n4;8;6\n3;4;3,5\n10;10;10\n0;5;2,5\n",
                             Average));
  all.push_back(MakeExercise(upper, "zaehler", "Zähler", 1, 1,
                             "# Baue einen Zähler: bei jedem Schritt kommt E1 dazu.\n"
                             "E1;A1;Schritte;Weiter\n1;1;1;\n1;2;1;x\n1;3;1;x\n2;5;1;x\n"
                             "0;5;1;x\n",
                             Counter));
  all.push_back(MakeExercise(
      upper, "ampel", "Fußgängerampel", 1, 2,
      "# Fußgängerampel: A1 ist Rot, A2 ist Grün. Drückt man den Knopf (E1 = 1), wird die "
      "Ampel erst nach 3 Schritten grün.\n"
      "E1;A1;A2;Schritte\n0;1;0;5\n1;?;0;3\n1;?;1;4\n1;0;1;10\n",
      TrafficLight));
  all.push_back(
      MakeExercise(upper, "tueten", "Tüten packen", 2, 2,
                   "# E1 Äpfel kommen in Tüten zu je E2 Stück. A1: volle Tüten, A2: übrige Äpfel.\n"
                   "E1;E2;A1;A2\n10;3;3;1\n12;4;3;0\n7;10;0;7\n25;6;4;1\n",
                   Bags));
  all.push_back(
      MakeExercise(upper, "rechteck", "Rechteck", 2, 2,
                   "# Ein Rechteck hat die Seiten E1 und E2. A1 ist seine Fläche, A2 sein Umfang.\n"
                   "E1;E2;A1;A2\n3;4;12;14\n5;5;25;20\n10;2;20;24\n1,5;2;3;7\n",
                   Rectangle));
  all.push_back(MakeExercise(
      upper, "abstand", "Abstand", 2, 1,
      "# A1 ist der Abstand von E1 und E2 auf dem Zahlenstrahl, also nie kleiner als 0.\n"
      "E1;E2;A1\n3;8;5\n8;3;5\n4;4;0\n-2;3;5\n",
      Distance));
  return all;
}

std::string ExercisePath(const Exercise& exercise) {
  return exercise.folder + "/" + exercise.baseName + ".trv";
}

std::string TablePath(const Exercise& exercise) {
  return exercise.folder + "/" + exercise.baseName + ".csv";
}

std::string SolutionPath(const Exercise& exercise) {
  return exercise.folder + "/loesungen/" + exercise.baseName + ".trv";
}

std::optional<ExerciseWriteFailure> WriteExercises(const std::string& folder) {
  const std::filesystem::path root = PathFromUtf8(folder);
  std::optional<ExerciseWriteFailure> failure;
  for (Exercise& exercise : BuildExercises()) {
    std::error_code ignored;
    std::filesystem::create_directories(root / exercise.folder / "loesungen", ignored);
    const auto save = [&](const std::string& relative, SubCircuit& circuit) {
      const DocumentError error =
          SaveDocumentFile(Utf8FromPath(root / PathFromUtf8(relative)), circuit, exercise.settings);
      if (error != DocumentError::None && !failure) {
        failure = ExerciseWriteFailure{relative, error};
      }
    };
    save(ExercisePath(exercise), *exercise.exercise);
    save(SolutionPath(exercise), *exercise.solution);
    if (!failure) {
      WriteText(Utf8FromPath(root / PathFromUtf8(TablePath(exercise))), exercise.table, failure,
                TablePath(exercise));
    }
    if (failure) {
      return failure;
    }
  }
  return std::nullopt;
}

}  // namespace trivenor::examples
