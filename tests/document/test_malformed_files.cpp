// Circuit files are untrusted. The folder malformed/ holds small files, each a sound document
// with one fault put in: files named bad_ must fail to open as malformed, files named odd_ hold
// something no writer produces that the reader accepts. The generator below writes them (set
// TRIVENOR_REGENERATE=1 to rewrite the folder) and checks the committed copies against itself.
//
// This file is a test program of its own: it replaces the global allocation functions to measure
// how much memory a load takes, which must not affect any other test.

#include <gtest/gtest.h>
#include <malloc.h>

#include <algorithm>
#include <array>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <new>
#include <random>
#include <set>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "circuit_file_support.h"
#include "document/archive.h"
#include "document/circuit_files.h"
#include "document/document_io.h"
#include "document/document_serializer.h"
#include "document/file_limits.h"
#include "model/component_kind.h"
#include "model/constant.h"
#include "model/delay_line.h"
#include "model/graph_plot.h"
#include "model/hazard_filter.h"
#include "model/operators.h"
#include "model/output_display.h"
#include "model/sub_circuit.h"
#include "support/heap_accounting.h"

namespace trivenor {
namespace {

namespace fs = std::filesystem;
using test_support::AddInputTerminal;
using test_support::AddJunction;
using test_support::AddOutputTerminal;
using test_support::Append;
using test_support::Bytes;
using test_support::Place;
using test_support::SaveDocument;

// ---------------------------------------------------------------------------------------------
// Byte surgery. Fields are found through marker values the sound documents carry, each of which
// must occur exactly once in the bytes.

Bytes Int32Bytes(std::int32_t value) {
  const auto bits = static_cast<std::uint32_t>(value);
  return {static_cast<std::uint8_t>(bits), static_cast<std::uint8_t>(bits >> 8),
          static_cast<std::uint8_t>(bits >> 16), static_cast<std::uint8_t>(bits >> 24)};
}

std::size_t FindOnce(const Bytes& bytes, const Bytes& pattern) {
  std::size_t found = bytes.size();
  int count = 0;
  for (auto at = bytes.begin();
       (at = std::search(at, bytes.end(), pattern.begin(), pattern.end())) != bytes.end(); ++at) {
    found = static_cast<std::size_t>(at - bytes.begin());
    ++count;
  }
  if (count != 1) {
    throw std::logic_error("a marker occurs " + std::to_string(count) + " times");
  }
  return found;
}

std::size_t OffsetOf(const Bytes& bytes, std::int64_t marker) {
  return FindOnce(bytes, Int32Bytes(static_cast<std::int32_t>(marker)));
}

std::size_t OffsetOfText(const Bytes& bytes, std::string_view text) {
  return FindOnce(bytes, Bytes(text.begin(), text.end()));
}

std::int32_t Int32At(const Bytes& bytes, std::size_t offset) {
  std::int32_t value = 0;
  Archive archive(std::span<const std::uint8_t>(bytes).subspan(offset, 4));
  archive.Int32(value);
  return value;
}

Bytes WithInt32(Bytes bytes, std::size_t offset, std::int64_t value) {
  const Bytes replacement = Int32Bytes(static_cast<std::int32_t>(value));
  std::copy(replacement.begin(), replacement.end(), bytes.begin() + static_cast<long>(offset));
  return bytes;
}

Bytes WithInserted(Bytes bytes, std::size_t offset, const Bytes& inserted) {
  bytes.insert(bytes.begin() + static_cast<long>(offset), inserted.begin(), inserted.end());
  return bytes;
}

Bytes WithErased(Bytes bytes, std::size_t offset, std::size_t count) {
  const auto from = bytes.begin() + static_cast<long>(offset);
  bytes.erase(from, from + static_cast<long>(count));
  return bytes;
}

Bytes Truncated(Bytes bytes, std::size_t size) {
  bytes.resize(size);
  return bytes;
}

Bytes Joined(std::initializer_list<Bytes> parts) {
  Bytes all;
  for (const Bytes& part : parts) {
    all.insert(all.end(), part.begin(), part.end());
  }
  return all;
}

/// Where the field after `count` strings begins, the first of them starting at `offset`.
std::size_t AfterStrings(const Bytes& bytes, std::size_t offset, int count) {
  Archive archive(std::span<const std::uint8_t>(bytes).subspan(offset));
  for (int i = 0; i < count; ++i) {
    std::string skipped;
    archive.Bytes(skipped);
  }
  return bytes.size() - archive.Remaining();
}

// Fields of a port record, counted from its colour field, which carries the marker.
namespace port_field {
constexpr std::ptrdiff_t kStart = -20;
constexpr std::ptrdiff_t kRow = -20;
constexpr std::ptrdiff_t kThickness = -16;
constexpr std::ptrdiff_t kSerial = -8;
constexpr std::ptrdiff_t kRole = -4;
constexpr std::ptrdiff_t kSource = 4;
constexpr std::ptrdiff_t kNextFlag = 8;
constexpr std::size_t kRecordSize = 28;
}  // namespace port_field

// Fields of a junction record, counted from its x field.
namespace junction_field {
constexpr std::ptrdiff_t kThickness = 8;
constexpr std::ptrdiff_t kSerial = 16;
constexpr std::ptrdiff_t kRole = 20;
constexpr std::ptrdiff_t kColour = 24;
constexpr std::ptrdiff_t kSource = 28;
constexpr std::ptrdiff_t kNextFlag = 32;
}  // namespace junction_field

// Fields of a component record, counted from its x field. Those before it lie before the
// label, whose length varies: see BeforeLabel.
namespace component_field {
constexpr std::ptrdiff_t kY = 4;
constexpr std::ptrdiff_t kColour = 8;
constexpr std::ptrdiff_t kPortListsFlag = 12;
constexpr std::ptrdiff_t kKind = -20;  // of a kind without a kind block
constexpr std::ptrdiff_t kLastRow = -16;
constexpr std::ptrdiff_t kWidth = -12;
constexpr std::ptrdiff_t kThickness = -4;
}  // namespace component_field

/// The serial field of a delay line's output port, counted from the delay's x field: y, colour,
/// the port lists flag, the input port record and its next flag, the output list flag, then
/// row, thickness and value.
constexpr std::ptrdiff_t kDelayOutputSerial = 12 + 4 + 28 + 4 + 4 + 12;

/// The offset `delta` bytes from the unique marker.
std::size_t Field(const Bytes& bytes, std::int64_t marker, std::ptrdiff_t delta) {
  return static_cast<std::size_t>(static_cast<std::ptrdiff_t>(OffsetOf(bytes, marker)) + delta);
}

/// A component field before the label, for the component at the marker x with `label`.
std::size_t BeforeLabel(const Bytes& bytes, std::int32_t xMarker, std::string_view label,
                        std::ptrdiff_t delta) {
  return Field(bytes, xMarker, delta - static_cast<std::ptrdiff_t>(1 + label.size()));
}

/// The start of the trailer (canvas width) of a document saved with a font.
std::size_t TrailerWithFont(const Bytes& bytes) {
  return bytes.size() - 16 - 60;
}

// ---------------------------------------------------------------------------------------------
// The sound documents the faults are put into.

namespace marker {
constexpr Colour kInputTerminal = 0x00A1B2C3;
constexpr Colour kOutputTerminal = 0x00C3B2A1;
constexpr Colour kPlusInputA = 0x00D1E2F3;
constexpr Colour kPlusInputB = 0x00F3E2D1;
constexpr Colour kPlusOutput = 0x00ABCDEF;
constexpr Colour kHazardInput = 0x00DADA01;
constexpr Colour kInnerInput = 0x00BEEF02;
constexpr Colour kInnerOutput = 0x00BEEF01;
constexpr int kPlusX = 104729;
constexpr int kCosineX = 130003;
constexpr int kDelayX = 160001;
constexpr int kConstantX = 190027;
constexpr int kHazardX = 220009;
constexpr int kGraphX = 250007;
constexpr int kDisplayX = 280001;
constexpr int kInnerX = 340007;
constexpr int kFirstJunctionX = 310019;
constexpr int kSecondJunctionX = 370003;
constexpr int kDelayLength = 7919;
constexpr int kHoldTicks = 6007;
constexpr int kGraphHeight = 4099;
constexpr int kGraphWidth = 4111;
constexpr int kGraphPoints = 3001;
constexpr char kTitle[] = "Musterschaltung";
constexpr char kInnerTitle[] = "Innenschaltung";
constexpr char kLastDisplayText[] = "zwei";
}  // namespace marker

/// One of every kind of component, wire and terminal, with a nested circuit wired in and out,
/// and a canvas font.
Bytes SampleDocument() {
  SubCircuit top;
  top.owner = "Konstrukteurin";
  top.password = "geheim";
  top.label = marker::kTitle;

  Port& input = AddInputTerminal(top, 0);
  input.colour = marker::kInputTerminal;
  Port& output = AddOutputTerminal(top, 1);
  output.colour = marker::kOutputTerminal;

  auto& plus = Append<TwoInputOperator>(top, kind::Plus);
  plus.x = marker::kPlusX;
  plus.inputs[0]->colour = marker::kPlusInputA;
  plus.inputs[1]->colour = marker::kPlusInputB;
  plus.outputs[0]->colour = marker::kPlusOutput;
  auto& cosine = Append<UnaryFunction>(top, kind::Cosine);
  cosine.x = marker::kCosineX;
  auto& delay = Append<DelayLine>(top, marker::kDelayLength);
  delay.x = marker::kDelayX;
  auto& constant = Append<Constant>(top, "2.5");
  constant.x = marker::kConstantX;
  auto& hazard = Append<HazardFilter>(top, marker::kHoldTicks);
  hazard.x = marker::kHazardX;
  hazard.inputs[0]->colour = marker::kHazardInput;
  GraphSettings graphSettings;
  graphSettings.continuous = false;
  graphSettings.autoY = false;
  graphSettings.heightLines = marker::kGraphHeight;
  graphSettings.widthChars = marker::kGraphWidth;
  graphSettings.points = marker::kGraphPoints;
  auto& graph = Append<GraphPlot>(top, graphSettings);
  graph.x = marker::kGraphX;
  auto& display = Append<OutputDisplay>(top);
  display.x = marker::kDisplayX;
  display.texts = {{1.0f, "eins"}, {2.0f, marker::kLastDisplayText}};

  auto innerCircuit = std::make_unique<SubCircuit>();
  innerCircuit->label = marker::kInnerTitle;
  Port& innerInput = AddInputTerminal(*innerCircuit, 0);
  innerInput.colour = marker::kInnerInput;
  Port& innerOutput = AddOutputTerminal(*innerCircuit, 0);
  innerOutput.colour = marker::kInnerOutput;
  auto& root = Append<UnaryFunction>(*innerCircuit, kind::SquareRoot);
  root.inputs[0]->source = &innerInput;
  innerOutput.source = root.outputs[0].get();
  SubCircuit& inner = Place(top, std::move(innerCircuit));
  inner.x = marker::kInnerX;

  Junction& first = AddJunction(top, marker::kFirstJunctionX, 20);
  Junction& second = AddJunction(top, marker::kSecondJunctionX, 20);

  // Every kind of source: an input terminal, component outputs, junctions, a nested circuit's
  // output terminal; and every kind of sink, down to the nested circuit's input terminal.
  plus.inputs[0]->source = &input;
  plus.inputs[1]->source = &first.port;
  first.port.source = constant.outputs[0].get();
  second.port.source = &first.port;
  cosine.inputs[0]->source = &second.port;
  delay.inputs[0]->source = plus.outputs[0].get();
  hazard.inputs[0]->source = delay.outputs[0].get();
  graph.inputs[0]->source = hazard.outputs[0].get();
  graph.inputs[1]->source = cosine.outputs[0].get();
  display.inputs[0]->source = plus.outputs[0].get();
  inner.inputs[0]->source = plus.outputs[0].get();
  output.source = inner.outputs[0].get();

  DocumentSettings settings;
  settings.canvasFont.emplace();
  for (std::size_t i = 0; i < settings.canvasFont->size(); ++i) {
    (*settings.canvasFont)[i] = static_cast<std::uint8_t>(i * 7 + 1);
  }
  return SaveDocument(top, settings);
}

/// Empty circuits nested `depth` records deep below the top circuit.
Bytes NestedDocument(int depth) {
  auto inner = std::make_unique<SubCircuit>();
  for (int level = 1; level < depth; ++level) {
    auto outer = std::make_unique<SubCircuit>();
    Place(*outer, std::move(inner));
    inner = std::move(outer);
  }
  SubCircuit top;
  Place(top, std::move(inner));
  return SaveDocument(top);
}

/// `count` input terminals and nothing else.
Bytes TerminalsDocument(int count) {
  SubCircuit top;
  for (int i = 0; i < count; ++i) {
    AddInputTerminal(top, i);
  }
  return SaveDocument(top);
}

/// Graphs that together ask for more sample memory than a load may take for a file this small.
/// Their ports are left out, so each costs the file few bytes.
Bytes GraphsOverSampleBudget() {
  GraphSettings settings;
  settings.continuous = false;  // two rings of samples
  settings.points = file_limits::kMaxGraphPoints;
  const std::size_t slotsPerGraph = 2 * static_cast<std::size_t>(settings.points);
  const std::size_t graphs = file_limits::kBaseSampleSlots / slotsPerGraph + 16;
  SubCircuit top;
  for (std::size_t i = 0; i < graphs; ++i) {
    Append<GraphPlot>(top, settings).inputs.clear();
  }
  return SaveDocument(top);
}

/// R of the top record comes after the version text and the record's four strings.
std::size_t TopReferenceCount(const Bytes& bytes) {
  return AfterStrings(bytes, 0, 5);
}

/// R of the nested record comes right before its input terminal list (and the list's flag).
std::size_t InnerReferenceCount(const Bytes& sample) {
  return Field(sample, marker::kInnerInput, port_field::kStart - 8);
}

/// The sample with the int32 at `delta` bytes from the marker set to `value`.
Bytes SampleWith(std::int64_t marker, std::ptrdiff_t delta, std::int64_t value) {
  const Bytes sample = SampleDocument();
  return WithInt32(sample, Field(sample, marker, delta), value);
}

/// The sample with the int32 at `delta` bytes from the marker set to the top circuit's R, the
/// first number beyond those given.
Bytes SampleWithReferenceCountAt(std::int64_t marker, std::ptrdiff_t delta) {
  const Bytes sample = SampleDocument();
  return WithInt32(sample, Field(sample, marker, delta),
                   Int32At(sample, TopReferenceCount(sample)));
}

/// The sample with the int32 `delta` bytes before the label of the "+" set to `value`.
Bytes SampleWithPlusField(std::ptrdiff_t delta, std::int64_t value) {
  const Bytes sample = SampleDocument();
  return WithInt32(sample, BeforeLabel(sample, marker::kPlusX, "+", delta), value);
}

Bytes SampleWithCanvasWidth(std::int64_t value) {
  const Bytes sample = SampleDocument();
  return WithInt32(sample, TrailerWithFont(sample), value);
}

Bytes PortRecordAt(const Bytes& bytes, Colour colour) {
  const auto start = static_cast<long>(Field(bytes, colour, port_field::kStart));
  return Bytes(bytes.begin() + start,
               bytes.begin() + start + static_cast<long>(port_field::kRecordSize));
}

/// One more port record after the last one of a port list, which has the colour marker
/// `lastColour`: the list's closing flag becomes 1 and a copy of that record follows.
Bytes WithExtraPortRecord(Colour lastColour) {
  const Bytes sample = SampleDocument();
  const std::size_t flag = Field(sample, lastColour, port_field::kNextFlag);
  return WithInserted(WithInt32(sample, flag, 1), flag + 4,
                      Joined({PortRecordAt(sample, lastColour), Int32Bytes(0)}));
}

Bytes ConstantWithAnInputPort() {
  const Bytes sample = SampleDocument();
  const std::size_t flag = Field(sample, marker::kConstantX, component_field::kPortListsFlag);
  return WithInserted(WithInt32(sample, flag, 1), flag + 4,
                      Joined({PortRecordAt(sample, marker::kPlusInputA), Int32Bytes(0)}));
}

/// The output display's table without its closing 0: entries go on until the data ends.
Bytes DisplayTableThatNeverEnds() {
  const Bytes sample = SampleDocument();
  const std::size_t closingFlag = OffsetOfText(sample, marker::kLastDisplayText) +
                                  std::string_view(marker::kLastDisplayText).size();
  Archive entries;
  for (int i = 0; i < 3; ++i) {
    std::int32_t more = 1;
    float value = 3.0f;
    std::string text = "drei";
    entries.Int32(more);
    entries.Float(value);
    entries.Bytes(text);
  }
  return Joined({Truncated(sample, closingFlag), entries.Written()});
}

/// The terminal list goes on past its last record: the closing flag is 1 where the data ends.
Bytes TerminalListThatNeverEnds() {
  constexpr int kTerminals = 20;
  const Bytes document = TerminalsDocument(kTerminals);
  // R, the list-not-empty flag, then each record with its next-element flag.
  const std::size_t listEnd =
      TopReferenceCount(document) + 8 + kTerminals * (port_field::kRecordSize + 4);
  return Truncated(WithInt32(document, listEnd - 4, 1), listEnd);
}

/// The font flag 2 and no font block after it.
Bytes FontFlagTwo() {
  const Bytes sample = SampleDocument();
  const std::size_t fontFlag = sample.size() - 60 - 4;
  return WithInt32(Truncated(sample, fontFlag + 4), fontFlag, 2);
}

Bytes WithFlagsSetToSeven(Bytes bytes, std::initializer_list<std::size_t> flags) {
  for (const std::size_t flag : flags) {
    if (Int32At(bytes, flag) != 1) {
      throw std::logic_error("not a list flag that continues");
    }
    bytes = WithInt32(bytes, flag, 7);
  }
  return bytes;
}

Bytes ContinueFlagSevenInPortLists() {
  using namespace marker;
  const Bytes sample = SampleDocument();
  return WithFlagsSetToSeven(
      sample, {Field(sample, kInputTerminal, port_field::kStart - 4),  // the list is not empty
               Field(sample, kPlusX, component_field::kPortListsFlag),
               Field(sample, kPlusInputA, port_field::kNextFlag),
               Field(sample, kPlusInputB, port_field::kNextFlag + 4)});  // outputs not empty
}

Bytes ContinueFlagSevenInJunctionList() {
  const Bytes sample = SampleDocument();
  return WithFlagsSetToSeven(sample,
                             {Field(sample, marker::kFirstJunctionX, -4),  // list not empty
                              Field(sample, marker::kFirstJunctionX, junction_field::kNextFlag)});
}

/// The "+" with its second input record taken out; the first one's next flag closes the list.
Bytes FewerPortRecordsThanPorts() {
  const Bytes sample = SampleDocument();
  const std::size_t flag = Field(sample, marker::kPlusInputA, port_field::kNextFlag);
  return WithErased(WithInt32(sample, flag, 0), flag + 4, port_field::kRecordSize + 4);
}

/// The sample's title in the wide form: UTF-16LE units.
Bytes WideTitle() {
  const std::u16string title = u"Schaltung \u00fcber \u20ac";
  Bytes wide = {0xFF, 0xFE, 0xFF, static_cast<std::uint8_t>(title.size())};
  for (const char16_t unit : title) {
    wide.push_back(static_cast<std::uint8_t>(unit));
    wide.push_back(static_cast<std::uint8_t>(unit >> 8));
  }
  const Bytes sample = SampleDocument();
  const std::size_t prefix = OffsetOfText(sample, marker::kTitle) - 1;
  return WithInserted(WithErased(sample, prefix, 1 + std::string_view(marker::kTitle).size()),
                      prefix, wide);
}

/// The owner stored plain, so that it unscrambles to something without the check marker.
Bytes OwnerWithoutCheckMarker() {
  constexpr std::size_t kOwner = 5;  // right after the version text
  const Bytes sample = SampleDocument();
  const std::string plain = "Niemand";
  Bytes owner = {static_cast<std::uint8_t>(plain.size())};
  owner.insert(owner.end(), plain.begin(), plain.end());
  return WithInserted(WithErased(sample, kOwner, AfterStrings(sample, 0, 2) - kOwner), kOwner,
                      owner);
}

Bytes SampleWithVersion(std::string_view version) {
  Bytes bytes = SampleDocument();
  std::copy(version.begin(), version.end(), bytes.begin() + 1);
  return bytes;
}

Bytes SampleTruncatedAt(std::int64_t marker, std::ptrdiff_t delta) {
  const Bytes sample = SampleDocument();
  return Truncated(sample, Field(sample, marker, delta));
}

Bytes SampleWithTitlePrefix(const Bytes& prefix) {
  const Bytes sample = SampleDocument();
  const std::size_t at = OffsetOfText(sample, marker::kTitle) - 1;
  return WithInserted(WithErased(sample, at, 1), at, prefix);
}

// ---------------------------------------------------------------------------------------------
// The collection.

struct MalformedFile {
  std::string name;
  std::string fault;
  std::function<Bytes()> make;
};

constexpr std::int32_t kInt32Max = INT32_MAX;
constexpr std::int32_t kInt32Min = INT32_MIN;

std::vector<MalformedFile> Truncations() {
  using namespace marker;
  return {
      {"bad_truncated_in_version", "ends after 3 of the 5 bytes of the version text",
       [] { return Truncated(SampleDocument(), 3); }},
      {"bad_truncated_after_version", "ends right after the version text",
       [] { return Truncated(SampleDocument(), 5); }},
      {"bad_truncated_in_title", "ends inside the circuit's title",
       [] {
         const Bytes sample = SampleDocument();
         return Truncated(sample, OffsetOfText(sample, kTitle) + 5);
       }},
      {"bad_truncated_in_port", "ends inside the record of the hazard filter's input port",
       [] { return SampleTruncatedAt(kHazardInput, -10); }},
      {"bad_truncated_in_component", "ends inside the fields of the delay line",
       [] { return SampleTruncatedAt(kDelayX, 2); }},
      {"bad_truncated_in_sub_circuit",
       "ends inside the record of the nested circuit's output terminal",
       [] { return SampleTruncatedAt(kInnerOutput, 2); }},
      {"bad_truncated_before_trailer", "ends right after the circuit record, without settings",
       [] {
         const Bytes sample = SampleDocument();
         return Truncated(sample, TrailerWithFont(sample));
       }},
      {"bad_truncated_in_trailer", "ends inside the settings after the circuit",
       [] {
         const Bytes sample = SampleDocument();
         return Truncated(sample, TrailerWithFont(sample) + 6);
       }},
      {"bad_truncated_in_font", "announces a canvas font but holds only 30 of its 60 bytes",
       [] {
         const Bytes sample = SampleDocument();
         return Truncated(sample, sample.size() - 30);
       }},
  };
}

std::vector<MalformedFile> ReferenceFaults() {
  using namespace marker;
  auto topCount = [](std::int32_t value) {
    return [value] {
      const Bytes sample = SampleDocument();
      return WithInt32(sample, TopReferenceCount(sample), value);
    };
  };
  return {
      {"bad_reference_count_zero", "reference count R = 0", topCount(0)},
      {"bad_reference_count_negative", "reference count R = -1", topCount(-1)},
      {"bad_reference_count_max", "reference count R = 2^31 - 1 in a file of about 1 KB",
       topCount(kInt32Max)},
      {"bad_reference_count_beyond_data",
       "reference count R = 1000: more numbered ports than the rest of the file can hold",
       topCount(1000)},
      {"bad_nested_reference_count_zero", "reference count R = 0 in the nested circuit",
       [] {
         const Bytes sample = SampleDocument();
         return WithInt32(sample, InnerReferenceCount(sample), 0);
       }},
      {"bad_source_number_equal_to_reference_count",
       "an input of the \"+\" names source R, one past the highest number",
       [] { return SampleWithReferenceCountAt(kPlusInputA, port_field::kSource); }},
      {"bad_source_number_max", "an input of the \"+\" names source 2^31 - 1",
       [] { return SampleWith(kPlusInputA, port_field::kSource, kInt32Max); }},
      {"bad_source_number_negative", "an input of the \"+\" names source -1",
       [] { return SampleWith(kPlusInputA, port_field::kSource, -1); }},
      {"bad_output_terminal_source_beyond", "the circuit's output terminal names source R",
       [] { return SampleWithReferenceCountAt(kOutputTerminal, port_field::kSource); }},
      {"bad_junction_source_beyond", "the second junction names source R",
       [] { return SampleWithReferenceCountAt(kSecondJunctionX, junction_field::kSource); }},
      {"bad_sub_circuit_input_source_beyond",
       "the nested circuit's input terminal names source R of the enclosing circuit",
       [] { return SampleWithReferenceCountAt(kInnerInput, port_field::kSource); }},
      {"bad_serial_number_equal_to_reference_count",
       "the output port of the \"+\" carries number R",
       [] { return SampleWithReferenceCountAt(kPlusOutput, port_field::kSerial); }},
      {"bad_serial_number_zero", "the output port of the \"+\" carries number 0",
       [] { return SampleWith(kPlusOutput, port_field::kSerial, 0); }},
      {"bad_serial_number_negative", "the circuit's input terminal carries number -1",
       [] { return SampleWith(kInputTerminal, port_field::kSerial, -1); }},
      {"bad_junction_serial_beyond", "the first junction carries number 2^31 - 1",
       [] { return SampleWith(kFirstJunctionX, junction_field::kSerial, kInt32Max); }},
      {"bad_sub_circuit_output_serial_beyond",
       "the nested circuit's output terminal carries number R of the enclosing circuit",
       [] { return SampleWithReferenceCountAt(kInnerOutput, port_field::kSerial); }},
  };
}

std::vector<MalformedFile> StructureFaults() {
  using namespace marker;
  std::vector<MalformedFile> files = {
      {"bad_plus_with_three_input_ports", "the \"+\" has three input port records",
       [] { return WithExtraPortRecord(kPlusInputB); }},
      {"bad_plus_with_two_output_ports", "the \"+\" has two output port records",
       [] { return WithExtraPortRecord(kPlusOutput); }},
      {"bad_constant_with_an_input_port",
       "the constant, which has no input, announces and holds an input port record",
       ConstantWithAnInputPort},
      {"bad_output_display_table_never_ends",
       "the output display's table has no closing 0: entries go on until the data ends",
       DisplayTableThatNeverEnds},
      {"bad_terminal_list_never_ends",
       "the input terminal list's next-element flag is 1 after its last record, where the data "
       "ends",
       TerminalListThatNeverEnds},
      {"bad_sub_circuits_nested_200_deep", "circuits nested 200 records deep",
       [] { return NestedDocument(200); }},
      {"bad_sub_circuits_nested_past_limit", "circuits nested one record deeper than allowed",
       [] { return NestedDocument(file_limits::kMaxNesting); }},
  };
  for (const std::int32_t kindCode : {200, 203, 207, 250, 299, 301, 1000, kInt32Max}) {
    files.push_back({"bad_kind_" + std::to_string(kindCode),
                     "kind code " + std::to_string(kindCode) +
                         ", for which no component and no kind block exists",
                     [kindCode] { return SampleWithPlusField(component_field::kKind, kindCode); }});
  }
  return files;
}

std::vector<MalformedFile> SizeFaults() {
  using namespace marker;
  return {
      {"bad_string_length_4_gigabytes",
       "the title's length prefix is 0xFF, 0xFFFF and 0xFFFFFFFF: 4 GB in a file of 1 KB",
       [] {
         return SampleWithTitlePrefix({0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF, 0xFF});
       }},
      {"bad_string_length_beyond_data", "the title's length prefix says 65280 bytes",
       [] {
         return SampleWithTitlePrefix({0xFF, 0x00, 0xFF});
       }},
      {"bad_wide_string_huge_length", "the title in the wide form with 2^31 UTF-16 units",
       [] {
         return SampleWithTitlePrefix({0xFF, 0xFE, 0xFF, 0xFF, 0xFF, 0xFF, 0x00, 0x00, 0x00, 0x80});
       }},
      {"bad_wide_string_length_beyond_data", "the title in the wide form with 65533 units",
       [] {
         return SampleWithTitlePrefix({0xFF, 0xFE, 0xFF, 0xFF, 0xFD, 0xFF});
       }},
      {"bad_wide_string_announced_twice",
       "the title's wide-form marker is followed by the wide-form marker again",
       [] {
         return SampleWithTitlePrefix({0xFF, 0xFE, 0xFF, 0xFF, 0xFE, 0xFF});
       }},
      {"bad_delay_length_max", "a delay line of length 2^31 - 1",
       [] { return SampleWith(kDelayLength, 0, kInt32Max); }},
      {"bad_delay_length_just_over_limit", "a delay line one longer than the dialog allows",
       [] { return SampleWith(kDelayLength, 0, file_limits::kMaxDelayLength + 1); }},
      {"bad_graph_points_zero", "a graph of 0 points",
       [] { return SampleWith(kGraphPoints, 0, 0); }},
      {"bad_graph_points_negative", "a graph of -1 points",
       [] { return SampleWith(kGraphPoints, 0, -1); }},
      {"bad_graph_points_billion", "a graph of 10^9 points",
       [] { return SampleWith(kGraphPoints, 0, 1000000000); }},
      {"bad_graph_height_zero", "a graph 0 lines high",
       [] { return SampleWith(kGraphHeight, 0, 0); }},
      {"bad_graph_width_billion", "a graph 10^9 characters wide",
       [] { return SampleWith(kGraphWidth, 0, 1000000000); }},
      {"bad_graph_samples_over_budget",
       "so many graphs of 10000 points that their samples would take far more memory than a "
       "file of this size may claim",
       GraphsOverSampleBudget},
      {"bad_component_x_max", "the \"+\" at x = 2^31 - 1",
       [] { return SampleWith(kPlusX, 0, kInt32Max); }},
      {"bad_component_y_min", "the \"+\" at y = -2^31",
       [] { return SampleWith(kPlusX, component_field::kY, kInt32Min); }},
      {"bad_component_width_billion", "the \"+\" 10^9 units wide",
       [] { return SampleWithPlusField(component_field::kWidth, 1000000000); }},
      {"bad_component_last_row_billion", "the \"+\" with a highest port row of 10^9",
       [] { return SampleWithPlusField(component_field::kLastRow, 1000000000); }},
      {"bad_component_thickness_negative", "the \"+\" drawn with line thickness -1",
       [] { return SampleWithPlusField(component_field::kThickness, -1); }},
      {"bad_port_row_billion", "an input port of the \"+\" in row 10^9",
       [] { return SampleWith(kPlusInputA, port_field::kRow, 1000000000); }},
      {"bad_port_thickness_million", "an input wire of the \"+\" 10^6 units thick",
       [] { return SampleWith(kPlusInputA, port_field::kThickness, 1000000); }},
      {"bad_junction_x_beyond", "the first junction at x = 2 * 10^6",
       [] { return SampleWith(kFirstJunctionX, 0, 2000000); }},
      {"bad_junction_thickness_negative", "the first junction with thickness -4",
       [] { return SampleWith(kFirstJunctionX, junction_field::kThickness, -4); }},
      {"bad_canvas_width_negative", "a canvas width of -5",
       [] { return SampleWithCanvasWidth(-5); }},
      {"bad_canvas_width_max", "a canvas width of 2^31 - 1",
       [] { return SampleWithCanvasWidth(kInt32Max); }},
  };
}

std::vector<MalformedFile> OddFiles() {
  using namespace marker;
  return {
      {"odd_empty_file", "0 bytes: opens as an empty document", [] { return Bytes{}; }},
      {"odd_version_text_differs",
       "version text \"1.0c\": opens as an empty document, without a message",
       [] { return SampleWithVersion("1.0c"); }},
      {"odd_font_flag_2", "font flag 2 and no font block: no canvas font", FontFlagTwo},
      {"odd_continue_flag_7_in_port_lists",
       "list flags of 7 instead of 1 in terminal and port lists, which go on for any value "
       "other than 0",
       ContinueFlagSevenInPortLists},
      {"odd_continue_flag_7_in_junction_list", "list flags of 7 instead of 1 in the junction list",
       ContinueFlagSevenInJunctionList},
      {"odd_fewer_port_records_than_ports",
       "the \"+\" holds one input port record of two; the other port stays unconnected",
       FewerPortRecordsThanPorts},
      {"odd_delay_length_zero", "a delay line of length 0, which reads as 1",
       [] { return SampleWith(kDelayLength, 0, 0); }},
      {"odd_delay_length_minus_3", "a delay line of length -3, which reads as 1",
       [] { return SampleWith(kDelayLength, 0, -3); }},
      {"odd_delay_length_at_limit", "a delay line of the longest length allowed",
       [] { return SampleWith(kDelayLength, 0, file_limits::kMaxDelayLength); }},
      {"odd_hazard_hold_minus_5", "a hazard filter holding for -5 passes",
       [] { return SampleWith(kHoldTicks, 0, -5); }},
      {"odd_unknown_port_roles",
       "port role codes 5, 99 and -1, which no port has; the roles are kept as stored",
       [] {
         Bytes bytes = SampleDocument();
         bytes = WithInt32(bytes, Field(bytes, kPlusInputA, port_field::kRole), 5);
         bytes = WithInt32(bytes, Field(bytes, kPlusOutput, port_field::kRole), 99);
         return WithInt32(bytes, Field(bytes, kFirstJunctionX, junction_field::kRole), -1);
       }},
      {"odd_colours_with_high_bits", "colours with the top byte set, kept as stored",
       [] {
         Bytes bytes = SampleDocument();
         bytes = WithInt32(bytes, Field(bytes, kPlusInputA, 0), 0xFF00FF00);
         bytes = WithInt32(bytes, Field(bytes, kPlusX, component_field::kColour), kInt32Min);
         return WithInt32(bytes, Field(bytes, kFirstJunctionX, junction_field::kColour), -1);
       }},
      {"odd_kind_codes_without_names",
       "kind codes -5 and 150: a two-input operator and a function that compute nothing",
       [] {
         Bytes bytes = SampleDocument();
         bytes = WithInt32(bytes, BeforeLabel(bytes, kPlusX, "+", component_field::kKind), -5);
         return WithInt32(bytes, BeforeLabel(bytes, kCosineX, "cos", component_field::kKind), 150);
       }},
      {"odd_top_input_terminal_source_out_of_range",
       "the circuit's input terminal names source 99999; a document's input terminals have none",
       [] { return SampleWith(kInputTerminal, port_field::kSource, 99999); }},
      {"odd_top_output_terminal_serial_out_of_range",
       "the circuit's output terminal carries number -1; a document's output terminals are not "
       "numbered",
       [] { return SampleWith(kOutputTerminal, port_field::kSerial, -1); }},
      {"odd_output_port_source_out_of_range",
       "the output port of the \"+\" names source -7; an output takes no wire",
       [] { return SampleWith(kPlusOutput, port_field::kSource, -7); }},
      {"odd_wide_string_title", "the title in the wide UTF-16 form", WideTitle},
      {"odd_owner_without_check_marker",
       "the owner stored unscrambled: it reads as what it unscrambles to", OwnerWithoutCheckMarker},
      {"odd_reference_number_given_twice",
       "the delay's output carries the number of the \"+\" output, whose wires lead to the port "
       "read last, the delay's own input among them",
       [] {
         Bytes bytes = SampleDocument();
         const std::int32_t plusNumber =
             Int32At(bytes, Field(bytes, kPlusOutput, port_field::kSerial));
         return WithInt32(bytes, Field(bytes, kDelayX, kDelayOutputSerial), plusNumber);
       }},
      {"odd_sub_circuits_nested_to_the_limit", "circuits nested as deep as allowed",
       [] { return NestedDocument(file_limits::kMaxNesting - 1); }},
  };
}
constexpr char kFileExtension[] = ".trv";

std::vector<MalformedFile> AllFiles() {
  std::vector<MalformedFile> all;
  for (auto group : {Truncations, ReferenceFaults, StructureFaults, SizeFaults, OddFiles}) {
    std::vector<MalformedFile> files = group();
    all.insert(all.end(), std::make_move_iterator(files.begin()),
               std::make_move_iterator(files.end()));
  }
  return all;
}

std::string Readme(const std::vector<MalformedFile>& files) {
  std::string text =
      "# Malformed circuit files\n"
      "\n"
      "Circuit files are untrusted input. Each file here is a sound document with one fault put "
      "in.\n"
      "Files named `bad_` must fail to open with \"Unerwartetes Dateiformat.\", without a crash, a "
      "hang\n"
      "or an allocation out of proportion to the file. Files named `odd_` hold something no "
      "writer\n"
      "produces that the reader accepts: they must open.\n"
      "\n"
      "The files and this list are written by the test `MalformedCollection` in\n"
      "`tests/document/test_malformed_files.cpp`. After changing the generator there, run that "
      "test\n"
      "program with `TRIVENOR_REGENERATE=1` set to rewrite them. They also start the fuzzer's "
      "corpus.\n"
      "\n"
      "| File | Fault |\n"
      "|---|---|\n";
  for (const MalformedFile& file : files) {
    text += "| `" + file.name + kFileExtension + "` | " + file.fault + " |\n";
  }
  return text;
}

// ---------------------------------------------------------------------------------------------
// Loading.

fs::path SourceFolder() {
  const char* source = std::getenv("TRIVENOR_SOURCE_DIR");
  if (source == nullptr) {
    throw std::runtime_error("TRIVENOR_SOURCE_DIR is not set");
  }
  return source;
}

fs::path CollectionFolder() {
  return SourceFolder() / "tests" / "document" / "malformed";
}

Bytes ReadFile(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw std::runtime_error("cannot read " + path.string());
  }
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

/// The committed files whose names start with `prefix`, in name order.
std::vector<fs::path> CommittedFiles(std::string_view prefix) {
  std::vector<fs::path> found;
  for (const auto& entry : fs::directory_iterator(CollectionFolder())) {
    if (entry.path().filename().string().starts_with(prefix)) {
      found.push_back(entry.path());
    }
  }
  std::sort(found.begin(), found.end());
  return found;
}

struct Opened {
  DocumentError error = DocumentError::None;
  std::unique_ptr<SubCircuit> circuit = std::make_unique<SubCircuit>();
  DocumentSettings settings;
};

/// As the editor and the runner open a document.
Opened Open(const fs::path& path) {
  Opened opened;
  DiskFileReader files;
  opened.error = OpenDocumentFile(path.string(), *opened.circuit, opened.settings, files);
  return opened;
}

/// A load from memory, as the fuzzer does it, with the peak of the heap it took.
struct MemoryLoad {
  bool malformed = false;
  std::size_t peakBytes = 0;
  /// Every wire of a loaded circuit comes from a port of that circuit; one from elsewhere
  /// would dangle.
  bool wiresStayInside = true;
};

bool WiresStayInside(const SubCircuit& circuit) {
  std::vector<const Port*> ports;
  test_support::CollectPorts(circuit, ports);
  const std::set<const Port*> inside(ports.begin(), ports.end());
  return std::all_of(ports.begin(), ports.end(), [&](const Port* port) {
    return port->source == nullptr || inside.contains(port->source);
  });
}

MemoryLoad LoadFromMemory(std::span<const std::uint8_t> bytes) {
  MemoryLoad load;
  NoFileReader files;
  const std::size_t liveBefore = test_support::LiveHeapBytes();
  test_support::RestartHeapPeak();
  {
    SubCircuit circuit;
    DocumentSettings settings;
    LoadContext context(files, bytes.size());
    Archive archive(bytes);
    try {
      SerializeDocument(archive, circuit, settings, &context);
    } catch (const FormatError&) {
      load.malformed = true;
    }
    load.peakBytes = test_support::PeakHeapBytes() - liveBefore;
    load.wiresStayInside = load.malformed || WiresStayInside(circuit);
  }
  return load;
}

/// The heap a load may take: the sample budget the reader grants every load, and a share per
/// byte of the file that covers the objects one record of the smallest size becomes.
std::size_t HeapBound(std::size_t fileSize) {
  constexpr std::size_t kFixed = (1u << 20) + file_limits::kBaseSampleSlots * sizeof(float);
  constexpr std::size_t kPerByte = 64;
  return kFixed + kPerByte * fileSize;
}

// ---------------------------------------------------------------------------------------------

TEST(MalformedCollection, CommittedFilesAreWhatTheGeneratorWrites) {
  const std::vector<MalformedFile> files = AllFiles();
  const fs::path folder = CollectionFolder();
  const char* regenerate = std::getenv("TRIVENOR_REGENERATE");
  if (regenerate != nullptr && std::string_view(regenerate) == "1") {
    fs::create_directories(folder);
    for (const fs::path& stale : CommittedFiles("bad_")) {
      fs::remove(stale);
    }
    for (const fs::path& stale : CommittedFiles("odd_")) {
      fs::remove(stale);
    }
    for (const MalformedFile& file : files) {
      const Bytes bytes = file.make();
      std::ofstream(folder / (file.name + kFileExtension), std::ios::binary)
          .write(reinterpret_cast<const char*>(bytes.data()),
                 static_cast<std::streamsize>(bytes.size()));
    }
    std::ofstream(folder / "README.md", std::ios::binary) << Readme(files);
  }

  std::set<fs::path> expected;
  for (const MalformedFile& file : files) {
    SCOPED_TRACE(file.name);
    const fs::path path = folder / (file.name + kFileExtension);
    expected.insert(path);
    ASSERT_TRUE(fs::exists(path)) << "run with TRIVENOR_REGENERATE=1";
    EXPECT_TRUE(ReadFile(path) == file.make()) << "run with TRIVENOR_REGENERATE=1";
  }
  const Bytes readme = ReadFile(folder / "README.md");
  EXPECT_EQ(std::string(readme.begin(), readme.end()), Readme(files));
  for (const std::string_view prefix : {"bad_", "odd_"}) {
    for (const fs::path& committed : CommittedFiles(prefix)) {
      EXPECT_TRUE(expected.contains(committed)) << committed << " is made by no generator";
    }
  }
}

// Each bad file must fail because of its one fault, not because the document it was made from
// is itself unreadable.
TEST(MalformedCollection, DocumentsTheFaultsArePutIntoLoad) {
  for (const Bytes& sound : {SampleDocument(), NestedDocument(3), TerminalsDocument(20)}) {
    const MemoryLoad load = LoadFromMemory(sound);
    EXPECT_FALSE(load.malformed);
    EXPECT_TRUE(load.wiresStayInside);
  }
}

TEST(BadFiles, FailToOpenAsMalformed) {
  const std::vector<fs::path> bad = CommittedFiles("bad_");
  ASSERT_FALSE(bad.empty());
  for (const fs::path& path : bad) {
    SCOPED_TRACE(path.filename().string());
    const Opened opened = Open(path);
    EXPECT_EQ(opened.error, DocumentError::BadFormat);
    EXPECT_EQ(DocumentErrorMessage(opened.error, path.filename().string()),
              "Unerwartetes Dateiformat.");
  }
}

TEST(BadFiles, TakeMemoryInProportionToTheirSize) {
  for (const fs::path& path : CommittedFiles("bad_")) {
    SCOPED_TRACE(path.filename().string());
    const Bytes bytes = ReadFile(path);
    const MemoryLoad load = LoadFromMemory(bytes);
    EXPECT_TRUE(load.malformed);
    EXPECT_LE(load.peakBytes, HeapBound(bytes.size()));
  }
}

TEST(OddFiles, Open) {
  const std::vector<fs::path> odd = CommittedFiles("odd_");
  ASSERT_FALSE(odd.empty());
  for (const fs::path& path : odd) {
    SCOPED_TRACE(path.filename().string());
    EXPECT_EQ(Open(path).error, DocumentError::None);
  }
}

Component& ComponentAt(SubCircuit& circuit, int x) {
  for (auto& component : circuit.components) {
    if (component->x == x) {
      return *component;
    }
  }
  throw std::out_of_range("no component at x = " + std::to_string(x));
}

Opened OpenOdd(const std::string& name) {
  Opened opened = Open(CollectionFolder() / (name + kFileExtension));
  EXPECT_EQ(opened.error, DocumentError::None) << name;
  return opened;
}

TEST(OddFiles, ReadAsTheReaderDefinesThem) {
  {
    Opened opened = OpenOdd("odd_version_text_differs");
    EXPECT_TRUE(opened.circuit->components.empty());
    EXPECT_TRUE(opened.circuit->label.empty());
  }
  EXPECT_FALSE(OpenOdd("odd_font_flag_2").settings.canvasFont.has_value());
  for (const char* name : {"odd_delay_length_zero", "odd_delay_length_minus_3"}) {
    Opened opened = OpenOdd(name);
    EXPECT_EQ(static_cast<DelayLine&>(ComponentAt(*opened.circuit, marker::kDelayX)).length, 1)
        << name;
  }
  {
    Opened opened = OpenOdd("odd_hazard_hold_minus_5");
    EXPECT_EQ(static_cast<HazardFilter&>(ComponentAt(*opened.circuit, marker::kHazardX)).holdTicks,
              -5);
  }
  {
    Opened opened = OpenOdd("odd_unknown_port_roles");
    Component& plus = ComponentAt(*opened.circuit, marker::kPlusX);
    EXPECT_EQ(static_cast<int>(plus.inputs[0]->role), 5);
    EXPECT_EQ(static_cast<int>(plus.outputs[0]->role), 99);
    EXPECT_EQ(static_cast<int>(opened.circuit->junctions[0]->port.role), -1);
  }
  {
    Opened opened = OpenOdd("odd_colours_with_high_bits");
    Component& plus = ComponentAt(*opened.circuit, marker::kPlusX);
    EXPECT_EQ(plus.inputs[0]->colour, 0xFF00FF00u);
    EXPECT_EQ(plus.colour, 0x80000000u);
    EXPECT_EQ(opened.circuit->junctions[0]->port.colour, 0xFFFFFFFFu);
  }
  {
    Opened opened = OpenOdd("odd_kind_codes_without_names");
    EXPECT_EQ(ComponentAt(*opened.circuit, marker::kPlusX).kind, -5);
    EXPECT_EQ(ComponentAt(*opened.circuit, marker::kPlusX).inputs.size(), 2u);
    EXPECT_EQ(ComponentAt(*opened.circuit, marker::kCosineX).kind, 150);
  }
  {
    Opened opened = OpenOdd("odd_reference_number_given_twice");
    Component& delay = ComponentAt(*opened.circuit, marker::kDelayX);
    EXPECT_EQ(delay.inputs[0]->source, delay.outputs[0].get());
    EXPECT_EQ(ComponentAt(*opened.circuit, marker::kDisplayX).inputs[0]->source,
              delay.outputs[0].get());
    EXPECT_EQ(ComponentAt(*opened.circuit, marker::kHazardX).inputs[0]->source, nullptr);
  }
  EXPECT_EQ(OpenOdd("odd_top_input_terminal_source_out_of_range").circuit->inputs[0]->source,
            nullptr);
  EXPECT_EQ(OpenOdd("odd_wide_string_title").circuit->label, "Schaltung über €");
  EXPECT_FALSE(OpenOdd("odd_owner_without_check_marker").circuit->owner.empty());
}

// No reader uses the number at a component's input or a document's output terminal, and other
// writers leave anything there; a save writes it back, also from a copy, and a copy keeps it
// when the original goes.
TEST(OddFiles, NumbersAtUnnumberedPortsComeBackByteForByte) {
  using namespace marker;
  const auto withNumbers = [](Bytes bytes) {
    bytes = WithInt32(bytes, Field(bytes, kPlusInputA, port_field::kSerial), 4711);
    bytes = WithInt32(bytes, Field(bytes, kPlusInputB, port_field::kSerial), -9);
    return WithInt32(bytes, Field(bytes, kOutputTerminal, port_field::kSerial), kInt32Min);
  };
  NoFileReader files;
  // Reading runs a pass, which moves the values on: the numbers must come back as they were in
  // what the same read of the file without them saves.
  const Bytes sample = SampleDocument();
  const Bytes expected =
      withNumbers(test_support::SaveDocument(*test_support::LoadDocument(sample, files)));
  auto loaded = test_support::LoadDocument(withNumbers(sample), files);
  EXPECT_EQ(test_support::SaveDocument(*loaded), expected);

  std::unique_ptr<Component> copy = loaded->Clone();
  loaded.reset();
  EXPECT_EQ(test_support::SaveDocument(static_cast<SubCircuit&>(*copy)), expected);
  EXPECT_EQ(Port().KeptNumber(), 0);
}

TEST(OddFiles, ContinueFlagsOtherThanOneKeepTheWiring) {
  {
    Opened opened = OpenOdd("odd_continue_flag_7_in_port_lists");
    SubCircuit& circuit = *opened.circuit;
    ASSERT_EQ(circuit.inputs.size(), 1u);
    Component& plus = ComponentAt(circuit, marker::kPlusX);
    EXPECT_EQ(plus.inputs[0]->source, circuit.inputs[0].get());
    EXPECT_EQ(plus.inputs[1]->source, &circuit.junctions[0]->port);
    EXPECT_EQ(ComponentAt(circuit, marker::kDelayX).inputs[0]->source, plus.outputs[0].get());
  }
  {
    Opened opened = OpenOdd("odd_continue_flag_7_in_junction_list");
    SubCircuit& circuit = *opened.circuit;
    ASSERT_EQ(circuit.junctions.size(), 2u);
    EXPECT_EQ(circuit.junctions[1]->port.source, &circuit.junctions[0]->port);
    EXPECT_EQ(ComponentAt(circuit, marker::kCosineX).inputs[0]->source,
              &circuit.junctions[1]->port);
  }
  {
    Opened opened = OpenOdd("odd_fewer_port_records_than_ports");
    Component& plus = ComponentAt(*opened.circuit, marker::kPlusX);
    EXPECT_EQ(plus.inputs[0]->source, opened.circuit->inputs[0].get());
    EXPECT_EQ(plus.inputs[1]->source, nullptr);
  }
}

// ---------------------------------------------------------------------------------------------
// Random damage to sound files: whatever comes of it loads or fails as malformed, never anything
// else, and never takes memory out of proportion.

/// Values that sit on the reader's boundaries or mean something in the format.
constexpr std::array<std::int32_t, 14> kTellingValues = {
    0, 1, -1, 2, 7, 255, 300, 209, 10001, 0x7FFFFFFF, INT32_MIN, 0xFFFF, 0x10000, 1000000001};

Bytes Mutated(Bytes bytes, std::mt19937& random) {
  const int changes = 1 + static_cast<int>(random() % 4);
  for (int i = 0; i < changes && !bytes.empty(); ++i) {
    const std::size_t at = random() % bytes.size();
    switch (random() % 7) {
      case 0:
        bytes[at] ^= static_cast<std::uint8_t>(1u << (random() % 8));
        break;
      case 1:
        bytes[at] = static_cast<std::uint8_t>(random());
        break;
      case 2:
        bytes.insert(bytes.begin() + static_cast<long>(at), static_cast<std::uint8_t>(random()));
        break;
      case 3:
        bytes.erase(bytes.begin() + static_cast<long>(at));
        break;
      case 4:
        if (at + 4 <= bytes.size()) {
          bytes = WithInt32(bytes, at, kTellingValues[random() % kTellingValues.size()]);
        }
        break;
      case 5: {
        // A stretch of the file repeated elsewhere: lists and records that go on.
        const std::size_t length = std::min<std::size_t>(1 + random() % 64, bytes.size() - at);
        const Bytes stretch(bytes.begin() + static_cast<long>(at),
                            bytes.begin() + static_cast<long>(at + length));
        bytes = WithInserted(bytes, random() % bytes.size(), stretch);
        break;
      }
      default:
        bytes.resize(at);
        break;
    }
  }
  return bytes;
}

TEST(RandomMutations, LoadOrFailAsMalformed) {
  std::vector<std::pair<std::string, Bytes>> sound = {{"sample", SampleDocument()},
                                                      {"nested", NestedDocument(4)}};
  const fs::path examples = SourceFolder() / "examples";
  if (fs::is_directory(examples)) {
    for (const auto& entry : fs::directory_iterator(examples)) {
      if (entry.path().extension() == kFileExtension) {
        sound.emplace_back(entry.path().filename().string(), ReadFile(entry.path()));
      }
    }
  }
  std::sort(sound.begin(), sound.end());

  constexpr int kMutationsPerFile = 2500;
  // A fixed start, so that a failure names a case that comes back on every run.
  std::mt19937 random(20211);
  for (const auto& [name, bytes] : sound) {
    int loaded = 0;
    for (int i = 0; i < kMutationsPerFile; ++i) {
      const Bytes mutated = Mutated(bytes, random);
      try {
        const MemoryLoad load = LoadFromMemory(mutated);
        loaded += load.malformed ? 0 : 1;
        ASSERT_LE(load.peakBytes, HeapBound(mutated.size())) << name << ", mutation " << i;
        ASSERT_TRUE(load.wiresStayInside) << name << ", mutation " << i;
      } catch (const std::exception& error) {
        FAIL() << name << ", mutation " << i << ": " << error.what();
      }
    }
    // Mutations that all fail at the version text would test nothing.
    EXPECT_GT(loaded, 0) << name;
  }
}

}  // namespace
}  // namespace trivenor
