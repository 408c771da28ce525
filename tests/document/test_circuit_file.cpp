#include <gtest/gtest.h>

#include <algorithm>
#include <bit>
#include <climits>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <tuple>
#include <utility>
#include <vector>

#include "circuit_file_support.h"
#include "document/archive.h"
#include "document/circuit_serializer.h"
#include "document/code_page.h"
#include "document/document_serializer.h"
#include "document/scramble.h"
#include "model/component_registry.h"
#include "model/constant.h"
#include "model/delay_line.h"
#include "model/graph_plot.h"
#include "model/hazard_filter.h"
#include "model/operators.h"
#include "model/output_display.h"

namespace trivenor {
namespace {

using namespace test_support;

// ---- Bytes written by hand, independent of the archive ------------------------------------

class ByteWriter {
 public:
  ByteWriter& I32(std::int64_t value) {
    const auto bits = static_cast<std::uint32_t>(value);
    for (int shift = 0; shift < 32; shift += 8) {
      bytes.push_back(static_cast<std::uint8_t>(bits >> shift));
    }
    return *this;
  }
  ByteWriter& I32s(std::initializer_list<std::int64_t> values) {
    for (const std::int64_t value : values) {
      I32(value);
    }
    return *this;
  }
  ByteWriter& F32(float value) { return I32(std::bit_cast<std::uint32_t>(value)); }
  ByteWriter& Str(std::string_view text) {
    bytes.push_back(static_cast<std::uint8_t>(text.size()));
    bytes.insert(bytes.end(), text.begin(), text.end());
    return *this;
  }
  ByteWriter& PortRecord(int row, int thickness, float value, int serial, int role,
                         std::uint32_t colour, int source) {
    return I32(row).I32(thickness).F32(value).I32(serial).I32(role).I32(colour).I32(source);
  }

  Bytes bytes;
};

std::int32_t I32At(const Bytes& bytes, std::size_t at) {
  std::uint32_t bits = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    bits |= static_cast<std::uint32_t>(bytes.at(at + i)) << (8 * i);
  }
  return static_cast<std::int32_t>(bits);
}

void PutI32(Bytes& bytes, std::size_t at, std::int32_t value) {
  for (std::size_t i = 0; i < 4; ++i) {
    bytes.at(at + i) = static_cast<std::uint8_t>(static_cast<std::uint32_t>(value) >> (8 * i));
  }
}

bool Contains(const Bytes& haystack, std::string_view needle) {
  const Bytes bytes(needle.begin(), needle.end());
  return std::search(haystack.begin(), haystack.end(), bytes.begin(), bytes.end()) !=
         haystack.end();
}

void ExpectSameBytes(const Bytes& actual, const Bytes& expected) {
  const auto [a, e] = std::mismatch(actual.begin(), actual.end(), expected.begin(), expected.end());
  if (a != actual.end() || e != expected.end()) {
    ADD_FAILURE() << "bytes differ from offset " << (a - actual.begin()) << " (sizes "
                  << actual.size() << " and " << expected.size() << ")";
  }
}

/// The four strings and R at the head of a document's top record (short strings only), and the
/// offset right after R.
struct RecordHead {
  std::string owner, title, path, password;
  std::int32_t references = 0;
  std::size_t body = 0;
};

RecordHead ReadHead(const Bytes& file) {
  std::size_t at = 5;
  auto text = [&] {
    const std::size_t length = file.at(at);
    EXPECT_LT(length, 255u);
    std::string bytes(file.begin() + static_cast<std::ptrdiff_t>(at + 1),
                      file.begin() + static_cast<std::ptrdiff_t>(at + 1 + length));
    at += 1 + length;
    return bytes;
  };
  RecordHead head;
  head.owner = text();
  head.title = text();
  head.path = text();
  head.password = text();
  head.references = I32At(file, at);
  head.body = at + 4;
  return head;
}

std::string Decoded(std::string text, std::int32_t key) {
  ScrambleText(text, key, false);
  return text;
}

Bytes SaveRecord(SubCircuit& circuit) {
  Archive archive;
  SerializeCircuit(archive, circuit, false);
  return archive.TakeWritten();
}

std::unique_ptr<SubCircuit> LoadRecord(const Bytes& bytes) {
  NoFileReader files;
  LoadContext context(files, bytes.size());
  Archive archive(bytes);
  auto circuit = std::make_unique<SubCircuit>();
  SerializeCircuit(archive, *circuit, false, &context);
  EXPECT_EQ(archive.Remaining(), 0u);
  return circuit;
}

// ---- Comparing two circuits -----------------------------------------------------------------

/// Every stored field of a circuit, one line per object, with each wire written as the place of
/// its source among all ports (CollectPorts order): two circuits describe alike only when they
/// are wired alike. Floats appear as bit patterns. `values` adds port values and shown texts.
class Description {
 public:
  Description(const SubCircuit& circuit, bool values) : values_(values) {
    CollectPorts(circuit, ports_);
    CircuitLines(circuit);
  }
  std::string text;

 private:
  template <typename... Fields>
  void Line(const Fields&... fields) {
    ((text += Field(fields) + " "), ...);
    text += "\n";
  }
  static std::string Field(const std::string& field) { return "'" + field + "'"; }
  static std::string Field(const char* field) { return field; }
  static std::string Field(float field) {
    return "f" + std::to_string(std::bit_cast<std::uint32_t>(field));
  }
  template <typename Number>
  static std::string Field(Number field) {
    return std::to_string(field);
  }

  void Ports(const PortList& ports) {
    for (const auto& port : ports) {
      PortLine(*port);
    }
  }
  void PortLine(const Port& port) {
    const auto source = std::find(ports_.begin(), ports_.end(), port.source) - ports_.begin();
    Line("port", port.row, port.thickness, static_cast<int>(port.role), port.colour,
         port.source == nullptr ? -1 : source, values_ ? port.value : 0.0f);
  }
  void CircuitLines(const SubCircuit& c) {
    Line("circuit", c.label.str(), c.owner, c.password, c.path);
    Ports(c.inputs);
    Ports(c.outputs);
    for (const auto& component : c.components) {
      ComponentLines(*component);
    }
    for (const auto& junction : c.junctions) {
      Line("junction", junction->port.x, junction->port.y);
      PortLine(junction->port);
    }
  }
  void ComponentLines(const Component& c) {
    const bool shown = c.kind == kind::OutputDisplay && !values_;
    Line("component", c.kind, c.lastRow, c.width, c.height, c.thickness, c.x, c.y, c.colour,
         shown ? std::string() : c.label.str());
    switch (c.kind) {
      case kind::DelayLine:
        Line("delay", static_cast<const DelayLine&>(c).length);
        break;
      case kind::HazardFilter:
        Line("hold", static_cast<const HazardFilter&>(c).holdTicks);
        break;
      case kind::OutputDisplay:
        for (const OutputText& entry : static_cast<const OutputDisplay&>(c).texts) {
          Line("text", entry.value, entry.text);
        }
        break;
      case kind::GraphPlot: {
        const auto& g = static_cast<const GraphPlot&>(c);
        Line("graph", g.continuous, g.autoX, g.autoY, g.heightLines, g.widthChars, g.points,
             g.period, g.yMin0, g.yMax0, g.xMin0, g.xMax0);
        break;
      }
      case kind::SubCircuit:
        CircuitLines(static_cast<const SubCircuit&>(c));
        return;
    }
    Ports(c.inputs);
    Ports(c.outputs);
  }

  bool values_;
  std::vector<const Port*> ports_;
};

void ExpectSameCircuit(const SubCircuit& expected, const SubCircuit& actual, bool values) {
  EXPECT_EQ(Description(actual, values).text, Description(expected, values).text);
}

// ---- Circuits -------------------------------------------------------------------------------

/// Every kind, with distinct fields, wired in a chain that starts at a junction fed by an input
/// terminal, plus a nested circuit and junction-to-junction wires.
std::unique_ptr<SubCircuit> BuildEveryKind() {
  auto top = std::make_unique<SubCircuit>();
  top->label = "Größenprüfung";
  top->owner = "Jürgen Meier";
  top->password = "gehéim";
  Port& in0 = AddInputTerminal(*top, 0);
  in0.value = 3.25f;
  Port& in1 = AddInputTerminal(*top, 2);
  in1.value = -1.0f;
  Junction& fromTerminal = AddJunction(*top, 20, 30);
  fromTerminal.port.source = &in0;

  for (int code = kind::Plus; code <= kind::RandomInteger; ++code) {
    Append<TwoInputOperator>(*top, code);
  }
  for (int code = kind::Not; code <= kind::Log10; ++code) {
    Append<UnaryFunction>(*top, code);
  }
  Append<DelayLine>(*top, 5);
  Append<DelayLine>(*top, 1);
  Append<Constant>(*top, "2.5");
  Append<HazardFilter>(*top, 3);
  Append<HazardFilter>(*top, -2);
  auto& display = Append<OutputDisplay>(*top);
  display.texts = {{0.0f, "aus"}, {1.0f, "ein"}, {2.5f, "Überlauf"}};
  display.label = "ein";
  Append<GraphPlot>(*top, GraphSettings{});
  Append<GraphPlot>(*top, GraphSettings{false, false, false, 6, 12, 50, 3, -2, 8, -10, 10});

  auto inner = std::make_unique<SubCircuit>();
  inner->label = "Innen";
  inner->owner = "Ä";
  AddInputTerminal(*inner, 0);
  AddOutputTerminal(*inner, 1);
  auto& one = Append<Constant>(*inner, "1");
  auto& minus = Append<TwoInputOperator>(*inner, kind::Minus);
  minus.inputs[0]->source = inner->inputs[0].get();
  minus.inputs[1]->source = one.outputs[0].get();
  Junction& innerBend = AddJunction(*inner, 60, 40);
  innerBend.port.source = minus.outputs[0].get();
  inner->outputs[0]->source = &innerBend.port;
  SubCircuit& placed = Place(*top, std::move(inner));

  const Colour colours[] = {0, 0xFF0000, 0xFF, 0xFFFF, 0xFF00};
  const int thicknesses[] = {1, 2, 4};
  Port* previous = &in1;
  float value = 0.5f;
  for (std::size_t i = 0; i < top->components.size(); ++i) {
    Component& c = *top->components[i];
    const int n = static_cast<int>(i);
    SetBody(c, 10 * (n % 20), 5 + 10 * n, 30 + n, 20 + 10 * (n % 3), thicknesses[i % 3],
            colours[i % 5]);
    for (auto& port : c.inputs) {
      port->source = previous;
      port->colour = colours[(i + 1) % 5];
      port->thickness = thicknesses[(i + 1) % 3];
      port->value = value += 0.5f;
    }
    for (auto& port : c.outputs) {
      port->value = value += 0.5f;
    }
    if (!c.outputs.empty()) {
      previous = c.outputs[0].get();
    }
  }
  top->components[0]->inputs[0]->source = &fromTerminal.port;  // junction -> component input
  Junction& branch = AddJunction(*top, 300, 100);
  branch.port.source = top->components[3]->outputs[0].get();
  branch.port.colour = 0xFF;
  branch.port.thickness = 4;
  Junction& bend = AddJunction(*top, 300, 200);
  bend.port.source = &branch.port;
  AddOutputTerminal(*top, 0).source = &bend.port;
  AddOutputTerminal(*top, 1).source = placed.outputs[0].get();
  return top;
}

// ---- Round trips ----------------------------------------------------------------------------

TEST(CircuitFileRoundTrip, EveryKindComesBackAndSavesIdentically) {
  auto original = BuildEveryKind();
  const Bytes first = SaveRecord(*original);
  EXPECT_EQ(original->owner, "Jürgen Meier") << "saving keeps the plain texts in memory";
  EXPECT_EQ(original->password, "gehéim");

  auto loaded = LoadRecord(first);
  ExpectSameCircuit(*original, *loaded, true);
  ExpectSameBytes(SaveRecord(*loaded), first);
}

/// What the dialog of placing a kind would answer.
KindParameter AnswerOf(PlacingDialog dialog) {
  if (dialog == PlacingDialog::Delay || dialog == PlacingDialog::HazardHold) {
    return 3;
  }
  if (dialog == PlacingDialog::ConstantText) {
    return std::string("1.5");
  }
  return dialog == PlacingDialog::GraphSettings ? KindParameter(GraphSettings{}) : KindParameter();
}

TEST(CircuitFileRoundTrip, EveryCodeTheRegistryNamesLoadsBackAndNoOtherCodeLoads) {
  SubCircuit empty;
  // Where the first component's code stands: after the component list's flag, which an empty
  // record follows with the junction list's.
  const std::size_t codeAt = SaveRecord(empty).size() - 4;
  for (int code = -3; code <= 400; ++code) {
    SCOPED_TRACE("kind " + std::to_string(code));
    const std::optional<ComponentKind> kind = ComponentKinds().Find(code);
    SubCircuit circuit;
    if (!kind) {
      // An operator's record, which has no kind block, under a code that names no kind.
      Append<TwoInputOperator>(circuit, kind::Plus);
      Bytes bytes = SaveRecord(circuit);
      PutI32(bytes, codeAt, code);
      EXPECT_THROW(LoadRecord(bytes), FormatError);
      continue;
    }
    circuit.components.push_back(kind->Create(AnswerOf(kind->dialog)));
    const Bytes bytes = SaveRecord(circuit);
    ASSERT_EQ(I32At(bytes, codeAt), code);
    const auto loaded = LoadRecord(bytes);
    ASSERT_EQ(KindsOf(*loaded), std::vector<int>{code});
    ExpectSameBytes(SaveRecord(*loaded), bytes);
  }
}

TEST(CircuitFileRoundTrip, LabelsKeepUmlautsAndEveryCodePageByte) {
  std::string everyByte;
  for (int byte = 0; byte < 256; ++byte) {
    everyByte.push_back(static_cast<char>(byte));
  }
  SubCircuit circuit;
  circuit.label = "Zähler für Äpfel, Öl und Süßes";
  Append<TwoInputOperator>(circuit, kind::Plus).label = CodePageToUtf8(everyByte);

  const Bytes file = SaveDocument(circuit);
  EXPECT_TRUE(Contains(file,
                       "Z\xE4hler f\xFCr \xC4pfel, \xD6l und S\xFC\xDF"
                       "es"));
  EXPECT_TRUE(Contains(file, std::string("\xFF\x00\x01", 3) + everyByte))
      << "raw, after a 16-bit length";

  NoFileReader files;
  auto loaded = LoadDocument(file, files);
  EXPECT_EQ(loaded->label, circuit.label);
  EXPECT_EQ(loaded->components.at(0)->label, CodePageToUtf8(everyByte));
}

TEST(CircuitFileRoundTrip, GraphKeepsItsSettingsButNeitherSamplesNorCurrentRanges) {
  SubCircuit circuit;
  auto& graph =
      Append<GraphPlot>(circuit, GraphSettings{false, false, false, 6, 12, 50, 3, -2, 8, -10, 10});
  const Bytes untouched = SaveRecord(circuit);

  graph.ySamples[1] = 4.0f;
  graph.xSamples[1] = 5.0f;
  graph.position = 7;
  graph.tick = 2;
  graph.yMin = -100.0f;
  graph.xMax = 100.0f;
  ExpectSameBytes(SaveRecord(circuit), untouched);

  auto loaded = LoadRecord(untouched);
  ExpectSameCircuit(circuit, *loaded, false);
  const auto& back = static_cast<const GraphPlot&>(*loaded->components.at(0));
  EXPECT_EQ(std::tie(back.yMin, back.yMax, back.xMin, back.xMax),
            std::tie(graph.yMin0, graph.yMax0, graph.xMin0, graph.xMax0));
  EXPECT_EQ(back.ySamples, std::vector<float>(50, 0.0f));
  EXPECT_EQ(back.xSamples, std::vector<float>(50, 0.0f));
}

TEST(CircuitFileRoundTrip, DocumentAtRestSavesIdenticallyWithItsSettings) {
  SubCircuit circuit;
  auto& constant = Append<Constant>(circuit, "4");
  auto& square = Append<TwoInputOperator>(circuit, kind::Times);
  square.inputs[0]->source = constant.outputs[0].get();
  square.inputs[1]->source = constant.outputs[0].get();
  AddOutputTerminal(circuit, 0).source = square.outputs[0].get();
  RunPasses(circuit, 10);

  DocumentSettings settings;
  settings.canvasWidth = 1234;
  settings.spareFlag = false;
  settings.editable = false;
  settings.canvasFont.emplace();
  for (std::size_t i = 0; i < settings.canvasFont->size(); ++i) {
    (*settings.canvasFont)[i] = static_cast<std::uint8_t>(i * 5 + 1);
  }
  const Bytes first = SaveDocument(circuit, settings);

  NoFileReader files;
  DocumentSettings read;
  auto loaded = LoadDocument(first, files, &read);
  EXPECT_EQ(read.canvasWidth, 1234);
  EXPECT_FALSE(read.spareFlag);
  EXPECT_FALSE(read.editable);
  EXPECT_EQ(read.canvasFont, settings.canvasFont) << "60 bytes as they were";
  ExpectSameBytes(SaveDocument(*loaded, read), first);
}

// ---- Byte layout ----------------------------------------------------------------------------

TEST(CircuitFileBytes, NewEmptyDocument) {
  SubCircuit empty;
  ByteWriter expected;
  expected.Str("1.0b").Str("R\\Y").Str("").Str("").Str("S^\\");  // "QZV" with keys R = 1 and 2
  expected.I32s({1, 0, 0, 0, 0, 600, 1, 1, 0});                  // R, four empty lists, trailer
  ExpectSameBytes(SaveDocument(empty), expected.bytes);
}

TEST(CircuitFileBytes, SmallCircuitFieldByField) {
  SubCircuit circuit;
  circuit.label = "K";
  Port& in = AddInputTerminal(circuit, 0);
  in.value = 1.5f;
  Port& out = AddOutputTerminal(circuit, 1);
  out.thickness = 2;
  out.colour = 0xFF;
  auto& abs = Append<UnaryFunction>(circuit, kind::Absolute);
  SetBody(abs, 40, 15, 30, 20, 2, 0xFF00);
  abs.inputs[0]->source = &in;
  abs.inputs[0]->thickness = 4;
  abs.inputs[0]->colour = 0xFFFF;
  abs.inputs[0]->value = 1.5f;
  abs.outputs[0]->value = 1.5f;
  Junction& junction = AddJunction(circuit, 100, 20);
  junction.port.source = abs.outputs[0].get();
  junction.port.colour = 0xFF0000;
  junction.port.value = 1.5f;
  out.source = &junction.port;

  ByteWriter expected;
  expected.Str("1.0b").Str("Ubb").Str("K").Str("").Str("Vde").I32(4);  // keys 4 and 5
  expected.I32(1).PortRecord(0, 1, 1.5f, 1, 4, 0, 0).I32(0);           // input terminals
  expected.I32(1).PortRecord(1, 2, 0.0f, 0, 7, 0xFF, 3).I32(0);        // output terminals
  expected.I32(1).I32(kind::Absolute);  // components: kind, no kind block
  expected.I32s({1, 30, 20, 2}).Str("abs").I32s({40, 15, 0xFF00});
  expected.I32(1).PortRecord(0, 4, 1.5f, 0, 0, 0xFFFF, 1).I32(0);  // field 11, inputs
  expected.I32(1).PortRecord(0, 1, 1.5f, 2, 1, 0, 0).I32(0);       // output list
  expected.I32(0);
  expected.I32s({1, 100, 20, 1}).F32(1.5f).I32s({3, 6, 0xFF0000, 2, 0});  // junctions
  expected.I32s({600, 1, 1, 0});
  ExpectSameBytes(SaveDocument(circuit), expected.bytes);
}

TEST(CircuitFileBytes, LongLabelsTakeTheLongPrefixFrom255On) {
  for (const auto& [length, prefix] :
       {std::pair<std::size_t, std::string>{254, "\xFE"}, {255, std::string("\xFF\xFF\x00", 3)}}) {
    SubCircuit circuit;
    circuit.label = std::string(length, 'a');
    const Bytes file = SaveDocument(circuit);
    const std::string title(file.begin() + 9,
                            file.begin() + 9 + static_cast<std::ptrdiff_t>(prefix.size()));
    EXPECT_EQ(title, prefix) << length;
    EXPECT_EQ(file.at(9 + prefix.size() + length), 0) << "empty path follows";
  }
}

TEST(CircuitFileBytes, ReferenceNumbersFollowInputsComponentOutputsJunctions) {
  SubCircuit circuit;
  Port& in0 = AddInputTerminal(circuit, 0);
  Port& in1 = AddInputTerminal(circuit, 1);
  auto& plus = Append<TwoInputOperator>(circuit, kind::Plus);
  auto nested = std::make_unique<SubCircuit>();
  AddInputTerminal(*nested, 0);
  AddOutputTerminal(*nested, 0);
  AddOutputTerminal(*nested, 1);
  Append<Constant>(*nested, "1");
  AddJunction(*nested, 10, 10);
  SubCircuit& sub = Place(circuit, std::move(nested));
  auto& constant = Append<Constant>(circuit, "2");
  // One probe junction wired from each numbered port: the junctions close the record, so their
  // own numbers and their source numbers sit at known places from its end.
  const std::vector<const Port*> numbered = {&in0,
                                             &in1,
                                             plus.outputs[0].get(),
                                             sub.outputs[0].get(),
                                             sub.outputs[1].get(),
                                             constant.outputs[0].get()};
  for (const Port* port : numbered) {
    AddJunction(circuit, 10, 10).port.source = const_cast<Port*>(port);
  }

  const Bytes record = SaveRecord(circuit);
  const int count = static_cast<int>(numbered.size());
  EXPECT_EQ(I32At(record, 10), 2 * count + 1)
      << "R after the two 3-byte scrambled texts and two empty ones";
  for (int i = 0; i < count; ++i) {
    const std::size_t junction = record.size() - 4 - 32 - static_cast<std::size_t>(count - 1 - i) * 36;
    EXPECT_EQ(I32At(record, junction + 16), count + 1 + i) << "number of junction " << i;
    EXPECT_EQ(I32At(record, junction + 28), i + 1) << "source of junction " << i;
  }
  // The nested record numbers its own ports apart and keeps its wiring.
  sub.junctions[0]->port.source = sub.components[0]->outputs[0].get();
  sub.outputs[1]->source = &sub.junctions[0]->port;
  const auto loaded = LoadRecord(SaveRecord(circuit));
  const auto& loadedSub = static_cast<const SubCircuit&>(*loaded->components.at(1));
  EXPECT_EQ(loadedSub.junctions.at(0)->port.source, loadedSub.components.at(0)->outputs[0].get());
  EXPECT_EQ(loadedSub.outputs.at(1)->source, &loadedSub.junctions[0]->port);
  EXPECT_EQ(loaded->junctions.at(4)->port.source, loadedSub.outputs[1].get());
}

TEST(CircuitFileBytes, OwnerAndPasswordAreScrambledWithRAndRPlusOne) {
  for (const int r : {1, 2, 3, kScrambleModulus}) {
    SubCircuit circuit;
    circuit.owner = "Meier";
    circuit.password = "Kennwort";
    for (int i = 1; i < r; ++i) {
      AddInputTerminal(circuit, i);
    }
    const RecordHead head = ReadHead(SaveDocument(circuit));
    ASSERT_EQ(head.references, r);
    EXPECT_EQ(Decoded(head.owner, r), "Meier") << r;
    EXPECT_EQ(Decoded(head.password, r + 1), "Kennwort") << r;
    if (r % kScrambleModulus == 0) {
      EXPECT_EQ(head.owner, "MeierQZV") << "a key of 0 moves no byte";
    } else {
      EXPECT_NE(head.owner.substr(0, 5), "Meier") << r;
    }
  }
}

TEST(CircuitFileBytes, Byte255InOwnerAndPasswordSurvives) {
  NoFileReader files;
  for (const int r : {1, 2, kScrambleModulus - 1, kScrambleModulus, kScrambleModulus + 1}) {
    for (const std::string text : {"ÿ", "ÿMeier", "Mei ÿ er", "Meierÿ", "ÿÿÿ"}) {
      SubCircuit circuit;
      circuit.owner = text;
      circuit.password = "x" + text;
      for (int i = 1; i < r; ++i) {
        AddInputTerminal(circuit, i);
      }
      auto loaded = LoadDocument(SaveDocument(circuit), files);
      EXPECT_EQ(loaded->owner, text) << "R " << r;
      EXPECT_EQ(loaded->password, "x" + text) << "R " << r;
    }
  }
}

// ---- Reading rules --------------------------------------------------------------------------

TEST(CircuitFileReading, AnotherVersionTextGivesAnEmptyDocument) {
  SubCircuit circuit;
  circuit.label = "Titel";
  AddInputTerminal(circuit, 0);
  Append<Constant>(circuit, "1");
  const Bytes file = SaveDocument(circuit, DocumentSettings{800, false, false, std::nullopt});
  NoFileReader files;
  for (const auto& [at, byte] :
       {std::pair<std::size_t, char>{1, '2'}, {2, ','}, {4, 'B'}, {4, 'c'}}) {
    Bytes changed = file;
    changed[at] = static_cast<std::uint8_t>(byte);
    DocumentSettings settings;
    auto loaded = LoadDocument(changed, files, &settings);
    SCOPED_TRACE(at);
    EXPECT_TRUE(loaded->label.empty());
    EXPECT_TRUE(loaded->inputs.empty());
    EXPECT_TRUE(loaded->components.empty());
    EXPECT_EQ(settings.canvasWidth, 600);
    EXPECT_TRUE(settings.editable);
    EXPECT_TRUE(settings.spareFlag);
  }
}

TEST(CircuitFileReading, TopInputTerminalsLoseTheirStoredSources) {
  SubCircuit circuit;
  Port& in0 = AddInputTerminal(circuit, 0);
  Port& in1 = AddInputTerminal(circuit, 1);
  auto& constant = Append<Constant>(circuit, "1");
  Junction& junction = AddJunction(circuit, 10, 10);
  in0.source = &junction.port;
  in1.source = constant.outputs[0].get();
  AddOutputTerminal(circuit, 0).SetKeptNumber(999);  // never numbered in a document's top record
  Bytes file = SaveDocument(circuit);
  const std::size_t firstTerminal = ReadHead(file).body + 4;
  const std::int32_t junctionNumber = 4;  // after two inputs and the constant's output
  ASSERT_EQ(I32At(file, firstTerminal + 24), junctionNumber);
  ASSERT_EQ(I32At(file, firstTerminal + 28 + 4 + 24), 3);

  NoFileReader files;
  for (const std::int32_t stored : {junctionNumber, 12345, -7}) {
    PutI32(file, firstTerminal + 24, stored);
    auto loaded = LoadDocument(file, files);
    EXPECT_EQ(loaded->inputs.at(0)->source, nullptr) << stored;
    EXPECT_EQ(loaded->inputs.at(1)->source, nullptr);
  }
}

TEST(CircuitFileReading, PortValuesAreTheFilesUntilOneEvaluationEndsTheRead) {
  SubCircuit circuit;
  auto& constant = Append<Constant>(circuit, "7");
  auto& plus = Append<TwoInputOperator>(circuit, kind::Plus);
  plus.inputs[0]->source = constant.outputs[0].get();
  Port& out = AddOutputTerminal(circuit, 0);
  out.source = plus.outputs[0].get();
  constant.outputs[0]->value = 3.0f;
  plus.inputs[0]->value = 100.0f;
  plus.outputs[0]->value = 50.0f;
  out.value = 1.0f;

  const Bytes file = SaveDocument(circuit);
  Bytes record(file.begin() + 5, file.end() - 16);
  auto unevaluated = LoadRecord(record);
  EXPECT_EQ(unevaluated->components[0]->outputs[0]->value, 3.0f);
  EXPECT_EQ(unevaluated->components[1]->inputs[0]->value, 100.0f);
  EXPECT_EQ(unevaluated->components[1]->outputs[0]->value, 50.0f);
  EXPECT_EQ(unevaluated->outputs[0]->value, 1.0f);

  // One pass: the sum reads the constant's stored 3 before the constant computes its 7.
  NoFileReader files;
  auto loaded = LoadDocument(file, files);
  EXPECT_EQ(loaded->components[0]->outputs[0]->value, 7.0f);
  EXPECT_EQ(loaded->components[1]->inputs[0]->value, 3.0f);
  EXPECT_EQ(loaded->components[1]->outputs[0]->value, 3.0f);
  EXPECT_EQ(loaded->outputs[0]->value, 3.0f);
}

// Trailer: canvas width, spare flag, editable, font flag, and no font bytes unless the flag is 1.
constexpr std::size_t kTrailer = 16;

TEST(CircuitFileReading, TrailerFlags) {
  SubCircuit circuit;
  NoFileReader files;
  DocumentSettings withFont;
  withFont.canvasFont.emplace();
  const Bytes file = SaveDocument(circuit);
  for (const std::int32_t flag : {0, 1, 2, -1, INT_MIN}) {
    Bytes changed = file;
    PutI32(changed, changed.size() - 12, flag);
    PutI32(changed, changed.size() - 8, flag);
    PutI32(changed, changed.size() - 4, flag == 1 ? 0 : flag);
    DocumentSettings settings = withFont;
    EXPECT_NO_THROW(LoadDocument(changed, files, &settings)) << flag;
    EXPECT_EQ(settings.spareFlag, flag != 0) << flag;
    EXPECT_EQ(settings.editable, flag != 0) << flag << ": any value but 0 counts as 1";
    EXPECT_FALSE(settings.canvasFont.has_value()) << flag << ": only 1 announces a font";
  }
}

TEST(CircuitFileReading, DelayLengthBelowOneReadsAsOne) {
  for (const int stored : {0, -3}) {
    SubCircuit circuit;
    Append<DelayLine>(circuit, 4).length = stored;
    auto loaded = LoadRecord(SaveRecord(circuit));
    const auto& delay = static_cast<const DelayLine&>(*loaded->components.at(0));
    EXPECT_EQ(delay.length, 1) << stored;
    EXPECT_TRUE(delay.buffer.empty());
  }
}

TEST(CircuitFileReading, AutomaticScalingIgnoresTheStoredRange) {
  struct Case {
    bool continuous, autoX, autoY;
    bool keepsX, keepsY;
  };
  for (const Case c :
       {Case{false, false, false, true, true}, Case{true, false, false, false, true},
        Case{false, true, false, false, true}, Case{false, false, true, true, false}}) {
    SubCircuit circuit;
    auto& graph = Append<GraphPlot>(circuit, GraphSettings{c.continuous, c.autoX, c.autoY});
    graph.xMin0 = -10.0f;  // what the file will hold, whatever the scaling
    graph.xMax0 = 10.0f;
    graph.yMin0 = -3.0f;
    graph.yMax0 = 3.0f;
    auto loaded = LoadRecord(SaveRecord(circuit));
    const auto& back = static_cast<const GraphPlot&>(*loaded->components.at(0));
    SCOPED_TRACE(testing::Message() << c.continuous << c.autoX << c.autoY);
    EXPECT_EQ(std::tie(back.xMin0, back.xMax0, back.xMin, back.xMax),
              c.keepsX ? std::make_tuple(-10.0f, 10.0f, -10.0f, 10.0f)
                       : std::make_tuple(0.0f, 0.0f, 0.0f, 0.0f));
    EXPECT_EQ(std::tie(back.yMin0, back.yMax0, back.yMin, back.yMax),
              c.keepsY ? std::make_tuple(-3.0f, 3.0f, -3.0f, 3.0f)
                       : std::make_tuple(0.0f, 0.0f, 0.0f, 0.0f));
  }
}

TEST(CircuitFileReading, ComponentListGoesOnOnlyForOneOtherListsForAnyValueButZero) {
  SubCircuit circuit;
  Append<Constant>(circuit, "7");
  AddJunction(circuit, 10, 10);
  AddJunction(circuit, 20, 10).port.source = &circuit.junctions[0]->port;
  Bytes file = SaveDocument(circuit);
  // ... component, its next flag, junction list flag, junction, next flag, junction, 0, trailer.
  const std::size_t secondJunction = file.size() - kTrailer - 4 - 32;
  PutI32(file, secondJunction - 4, -1);
  PutI32(file, secondJunction - 4 - 32 - 4, 7);
  PutI32(file, secondJunction - 4 - 32 - 4 - 4, 2);
  NoFileReader files;
  DocumentSettings settings;
  auto loaded = LoadDocument(file, files, &settings);
  EXPECT_EQ(loaded->components.size(), 1u);
  ASSERT_EQ(loaded->junctions.size(), 2u);
  EXPECT_EQ(loaded->junctions[1]->port.source, &loaded->junctions[0]->port);
  EXPECT_EQ(settings.canvasWidth, 600);
}

// ---- Reading a file to place it as a sub-circuit --------------------------------------------

TEST(CircuitFileAsSubCircuit, DropsGraphsAndDisplaysButOnlyAtItsOwnLevel) {
  SubCircuit circuit;
  AddOutputTerminal(circuit, 0);
  auto& four = Append<Constant>(circuit, "4");
  auto& times = Append<TwoInputOperator>(circuit, kind::Times);
  times.inputs[0]->source = four.outputs[0].get();
  times.inputs[1]->source = four.outputs[0].get();
  Junction& junction = AddJunction(circuit, 100, 10);
  junction.port.source = times.outputs[0].get();
  Append<OutputDisplay>(circuit).inputs[0]->source = &junction.port;
  auto& graph = Append<GraphPlot>(circuit, GraphSettings{false});
  graph.inputs[0]->source = times.outputs[0].get();
  graph.inputs[1]->source = four.outputs[0].get();
  auto nested = std::make_unique<SubCircuit>();
  AddInputTerminal(*nested, 0);
  Append<OutputDisplay>(*nested).inputs[0]->source = nested->inputs[0].get();
  Place(circuit, std::move(nested)).inputs[0]->source = &junction.port;
  circuit.outputs[0]->source = &junction.port;
  const Bytes file = SaveDocument(circuit);

  NoFileReader files;
  auto document = LoadDocument(file, files);
  EXPECT_EQ(KindsOf(*document), std::vector<int>({kind::Constant, kind::Times, kind::OutputDisplay,
                                                  kind::GraphPlot, kind::SubCircuit}));

  auto placed = ReadAsSubCircuit(file, files);
  ASSERT_EQ(KindsOf(*placed), std::vector<int>({kind::Constant, kind::Times, kind::SubCircuit}));
  const auto& inner = static_cast<const SubCircuit&>(*placed->components[2]);
  EXPECT_EQ(KindsOf(inner), std::vector<int>({kind::OutputDisplay}))
      << "nested records are read as in a document";
  ExpectNoForeignSources(*placed);
  EXPECT_EQ(placed->junctions.at(0)->port.source, placed->components[1]->outputs[0].get());
  EXPECT_EQ(placed->outputs[0]->source, &placed->junctions[0]->port);
  EXPECT_EQ(inner.inputs[0]->source, &placed->junctions[0]->port);
}

// ---- Nesting --------------------------------------------------------------------------------

/// in0 + in1, three levels down: every wire crosses a level on its way in and out.
std::unique_ptr<SubCircuit> BuildThreeLevels() {
  auto level3 = std::make_unique<SubCircuit>();
  level3->label = "Ebene 3";
  AddInputTerminal(*level3, 0);
  AddInputTerminal(*level3, 1);
  auto& plus = Append<TwoInputOperator>(*level3, kind::Plus);
  plus.inputs[0]->source = level3->inputs[0].get();
  plus.inputs[1]->source = level3->inputs[1].get();
  AddOutputTerminal(*level3, 0).source = plus.outputs[0].get();

  auto level2 = std::make_unique<SubCircuit>();
  level2->label = "Ebene 2";
  Port& a2 = AddInputTerminal(*level2, 0);
  Port& b2 = AddInputTerminal(*level2, 1);
  SubCircuit& in2 = Place(*level2, std::move(level3));
  in2.inputs[0]->source = &a2;
  in2.inputs[1]->source = &b2;
  Junction& bend = AddJunction(*level2, 80, 20);
  bend.port.source = in2.outputs[0].get();
  AddOutputTerminal(*level2, 0).source = &bend.port;

  auto level1 = std::make_unique<SubCircuit>();
  level1->label = "Ebene 1";
  Port& a1 = AddInputTerminal(*level1, 0);
  auto& five = Append<Constant>(*level1, "5");
  SubCircuit& in1 = Place(*level1, std::move(level2));
  in1.inputs[0]->source = &a1;
  in1.inputs[1]->source = five.outputs[0].get();
  AddOutputTerminal(*level1, 0).source = in1.outputs[0].get();
  AddOutputTerminal(*level1, 1).source = &a1;  // straight through

  auto top = std::make_unique<SubCircuit>();
  Port& in = AddInputTerminal(*top, 0);
  in.value = 2.0f;
  SubCircuit& placed = Place(*top, std::move(level1));
  placed.inputs[0]->source = &in;
  Junction& junction = AddJunction(*top, 200, 20);
  junction.port.source = placed.outputs[0].get();
  AddOutputTerminal(*top, 0).source = &junction.port;
  AddOutputTerminal(*top, 1).source = placed.outputs[1].get();
  return top;
}

TEST(CircuitFileNesting, ThreeLevelsResolveEveryWireAndCarryValues) {
  auto original = BuildThreeLevels();
  NoFileReader files;
  auto loaded = LoadDocument(SaveDocument(*original), files);
  ExpectSameCircuit(*original, *loaded, false);

  auto& level1 = static_cast<SubCircuit&>(*loaded->components.at(0));
  auto& level2 = static_cast<SubCircuit&>(*level1.components.at(1));
  auto& level3 = static_cast<SubCircuit&>(*level2.components.at(0));
  auto& plus = *level3.components.at(0);
  EXPECT_EQ(plus.inputs[0]->source, level3.inputs[0].get());
  EXPECT_EQ(level3.inputs[0]->source, level2.inputs[0].get());
  EXPECT_EQ(level2.inputs[0]->source, level1.inputs[0].get());
  EXPECT_EQ(level1.inputs[0]->source, loaded->inputs[0].get());
  EXPECT_EQ(level2.inputs[1]->source, level1.components[0]->outputs[0].get());
  EXPECT_EQ(level2.junctions.at(0)->port.source, level3.outputs[0].get());
  EXPECT_EQ(level1.outputs[0]->source, level2.outputs[0].get());
  EXPECT_EQ(loaded->junctions.at(0)->port.source, level1.outputs[0].get());

  RunPasses(*loaded, 10);
  EXPECT_EQ(loaded->outputs[0]->value, 7.0f);
  EXPECT_EQ(loaded->outputs[1]->value, 2.0f);
  loaded->inputs[0]->value = 10.0f;
  RunPasses(*loaded, 10);
  EXPECT_EQ(loaded->outputs[0]->value, 15.0f);
  EXPECT_EQ(loaded->outputs[1]->value, 10.0f);
}

}  // namespace
}  // namespace trivenor
