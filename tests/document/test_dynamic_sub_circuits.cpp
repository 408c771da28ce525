#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include "circuit_file_support.h"
#include "document/archive.h"
#include "document/circuit_files.h"
#include "model/constant.h"
#include "model/graph_plot.h"
#include "model/operators.h"
#include "model/output_display.h"

namespace trivenor {
namespace {

using namespace test_support;

constexpr char kPartPath[] = "/Schaltungen/teil.tvr";

struct PartShape {
  std::string title;
  int inputs = 1;
  int outputs = 2;
  int operation = kind::Plus;
  std::string operand = "1";
};

/// in0 (operation) operand on every output, shown on a display and a graph as well.
std::unique_ptr<SubCircuit> BuildPart(const PartShape& shape) {
  auto part = std::make_unique<SubCircuit>();
  part->label = shape.title;
  for (int i = 0; i < shape.inputs; ++i) {
    AddInputTerminal(*part, i);
  }
  auto& operand = Append<Constant>(*part, shape.operand);
  auto& operation = Append<TwoInputOperator>(*part, shape.operation);
  operation.inputs[0]->source = part->inputs[0].get();
  operation.inputs[1]->source = operand.outputs[0].get();
  Append<OutputDisplay>(*part).inputs[0]->source = operation.outputs[0].get();
  Append<GraphPlot>(*part, GraphSettings{}).inputs[0]->source = operation.outputs[0].get();
  for (int i = 0; i < shape.outputs; ++i) {
    Port& out = AddOutputTerminal(*part, i);
    out.source = operation.outputs[0].get();
    // A document's top record carries whatever numbers its output terminals last had. These
    // name the enclosing circuit's first ports: a reader that took them would miswire.
    out.SetKeptNumber(i + 1);
  }
  return part;
}

Bytes PartFile(const PartShape& shape) {
  return SaveDocument(*BuildPart(shape));
}

const PartShape kStoredShape{"Addierer", 1, 2, kind::Plus, "1"};    // in0 + 1
const PartShape kFreshShape{"Verdoppler", 1, 2, kind::Times, "2"};  // in0 * 2

/// input 5 -> sub-circuit -> outputs, the second output through a junction. A constant comes
/// first so that the sub-circuit's outputs are not the first numbers of the record.
std::unique_ptr<SubCircuit> BuildHost(std::unique_ptr<SubCircuit> stored, const std::string& path) {
  auto host = std::make_unique<SubCircuit>();
  host->label = "Gastgeber";
  Port& in = AddInputTerminal(*host, 0);
  in.value = 5.0f;
  Append<Constant>(*host, "100");
  stored->path = path;
  SubCircuit& sub = Place(*host, std::move(stored));
  SetBody(sub, 200, 35, 70, 40, 4, 0xFF0000);
  sub.inputs[0]->source = &in;
  Junction& junction = AddJunction(*host, 300, 40);
  junction.port.source = sub.outputs.back().get();
  for (std::size_t i = 0; i < sub.outputs.size(); ++i) {
    AddOutputTerminal(*host, static_cast<int>(i)).source =
        i == 0 ? sub.outputs[0].get() : &junction.port;
  }
  return host;
}

SubCircuit& SubOf(SubCircuit& host) {
  return static_cast<SubCircuit&>(*host.components.at(1));
}

/// Whichever copy is used, it sits where the host file put it and is wired as there.
void ExpectPlacedAndWiredAsStored(SubCircuit& host) {
  SubCircuit& sub = SubOf(host);
  EXPECT_EQ(sub.path, kPartPath);
  EXPECT_EQ(std::tie(sub.x, sub.y, sub.width, sub.height, sub.thickness, sub.colour),
            std::make_tuple(200, 35, 70, 40, 4, Colour{0xFF0000}));
  ASSERT_EQ(sub.inputs.size(), 1u);
  ASSERT_EQ(sub.outputs.size(), 2u);
  EXPECT_EQ(sub.inputs[0]->source, host.inputs.at(0).get());
  EXPECT_EQ(host.outputs.at(0)->source, sub.outputs[0].get());
  EXPECT_EQ(host.junctions.at(0)->port.source, sub.outputs[1].get());
  ExpectNoForeignSources(host);
}

float SettledOutput(SubCircuit& circuit, std::size_t output = 0) {
  RunPasses(circuit, 10);
  return circuit.outputs.at(output)->value;
}

TEST(DynamicSubCircuit, ChangedInsideIsReadFromItsFile) {
  MemoryFiles files;
  files.files[kPartPath] = PartFile(kFreshShape);
  auto host = BuildHost(BuildPart(kStoredShape), kPartPath);
  auto loaded = LoadDocument(SaveDocument(*host), files);

  SubCircuit& sub = SubOf(*loaded);
  EXPECT_EQ(sub.label, "Verdoppler");
  EXPECT_TRUE(sub.dynamic);
  EXPECT_EQ(KindsOf(sub), std::vector<int>({kind::Constant, kind::Times}))
      << "the file's graph and display are gone";
  ExpectPlacedAndWiredAsStored(*loaded);
  EXPECT_EQ(sub.inputs[0]->role, PortRole::SubCircuitInput);
  for (const auto& port : sub.outputs) {
    EXPECT_EQ(port->role, PortRole::SubCircuitOutput);
  }
  EXPECT_EQ(SettledOutput(*loaded, 0), 10.0f);
  EXPECT_EQ(SettledOutput(*loaded, 1), 10.0f);
}

TEST(DynamicSubCircuit, EmptyTitleInTheFileGivesTheFileName) {
  const std::string path = "/Schaltungen/Unterordner/Zähler.tvr";
  MemoryFiles files;
  files.files[path] = PartFile({"", 1, 2, kind::Times, "2"});
  auto loaded = LoadDocument(SaveDocument(*BuildHost(BuildPart(kStoredShape), path)), files);
  EXPECT_EQ(SubOf(*loaded).label, "Zähler.tvr");
  EXPECT_TRUE(SubOf(*loaded).dynamic);
}

TEST(DynamicSubCircuit, StoredCopyStaysWhenTheFileCannotServe) {
  Bytes otherVersion = PartFile(kFreshShape);
  otherVersion.at(4) = 'c';
  const struct {
    const char* why;
    std::optional<Bytes> file;
  } cases[] = {
      {"extra input", PartFile({"Neu", 2, 2, kind::Times, "2"})},
      {"fewer outputs", PartFile({"Neu", 1, 1, kind::Times, "2"})},
      {"more outputs", PartFile({"Neu", 1, 3, kind::Times, "2"})},
      {"missing file", std::nullopt},
      {"other version text", otherVersion},
  };
  const Bytes document = SaveDocument(*BuildHost(BuildPart(kStoredShape), kPartPath));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.why);
    MemoryFiles files;
    if (c.file) {
      files.files[kPartPath] = *c.file;
    }
    auto loaded = LoadDocument(document, files);
    EXPECT_EQ(SubOf(*loaded).label, "Addierer");
    EXPECT_FALSE(SubOf(*loaded).dynamic);
    ExpectPlacedAndWiredAsStored(*loaded);
    EXPECT_EQ(SettledOutput(*loaded), 6.0f);
  }
}

TEST(DynamicSubCircuit, FileThatEndsEarlyFailsTheWholeLoad) {
  MemoryFiles files;
  Bytes part = PartFile(kFreshShape);
  part.resize(part.size() / 2);
  files.files[kPartPath] = part;
  const Bytes document = SaveDocument(*BuildHost(BuildPart(kStoredShape), kPartPath));
  EXPECT_THROW(LoadDocument(document, files), FormatError);
}

TEST(DynamicSubCircuit, NamingTheDocumentItselfKeepsTheStoredCopy) {
  // Same terminal counts as the host, so only the open-file rule keeps the host out of itself.
  const std::string path = "/Dokumente/selbst.tvr";
  const Bytes document = SaveDocument(*BuildHost(BuildPart(kStoredShape), path));
  MemoryFiles files;
  files.files[path] = document;
  auto loaded = LoadDocument(document, files, nullptr, path);
  EXPECT_EQ(SubOf(*loaded).label, "Addierer");
  EXPECT_FALSE(SubOf(*loaded).dynamic);
  EXPECT_EQ(SubOf(*loaded).path, path);
}

// ---- Chains of files --------------------------------------------------------------------------

std::unique_ptr<SubCircuit> Leaf(const std::string& title, int operation = kind::Plus) {
  return BuildPart({title, 1, 1, operation, operation == kind::Plus ? "1" : "2"});
}

/// A circuit with one input and one output that passes through `inner`, placed with `innerPath`.
std::unique_ptr<SubCircuit> Wrap(const std::string& title, std::unique_ptr<SubCircuit> inner,
                                 const std::string& innerPath) {
  auto outer = std::make_unique<SubCircuit>();
  outer->label = title;
  Port& in = AddInputTerminal(*outer, 0);
  in.value = 5.0f;
  inner->path = innerPath;
  SubCircuit& placed = Place(*outer, std::move(inner));
  placed.inputs[0]->source = &in;
  AddOutputTerminal(*outer, 0).source = placed.outputs[0].get();
  return outer;
}

SubCircuit& Inner(SubCircuit& outer) {
  return static_cast<SubCircuit&>(*outer.components.at(0));
}

TEST(DynamicSubCircuit, TwoFilesNamingEachOtherEndWhereTheChainLeadsBack) {
  MemoryFiles files;
  files.files["/a.tvr"] = SaveDocument(*Wrap("A-Datei", Leaf("B-Kopie in A"), "/b.tvr"));
  files.files["/b.tvr"] = SaveDocument(*Wrap("B-Datei", Leaf("A-Kopie in B"), "/a.tvr"));
  const Bytes document = SaveDocument(*Wrap("Dokument", Leaf("A-Kopie im Dokument"), "/a.tvr"));
  auto loaded = LoadDocument(document, files);

  SubCircuit& a = Inner(*loaded);
  SubCircuit& b = Inner(a);
  SubCircuit& back = Inner(b);
  EXPECT_EQ(std::tie(a.label, a.dynamic), std::make_tuple("A-Datei", true));
  EXPECT_EQ(std::tie(b.label, b.dynamic), std::make_tuple("B-Datei", true));
  EXPECT_EQ(std::tie(back.label, back.dynamic, back.path),
            std::make_tuple("A-Kopie in B", false, "/a.tvr"));
  EXPECT_EQ(SettledOutput(*loaded), 6.0f);
}

TEST(DynamicSubCircuit, InsideADynamicFileIsReadAgainFromItsOwnFile) {
  MemoryFiles files;
  files.files["/innen.tvr"] = SaveDocument(*Leaf("Innen neu", kind::Times));
  files.files["/aussen.tvr"] = SaveDocument(*Wrap("Außen neu", Leaf("Innen alt"), "/innen.tvr"));
  const Bytes document = SaveDocument(
      *Wrap("Dokument", Wrap("Außen alt", Leaf("Innen uralt"), "/innen.tvr"), "/aussen.tvr"));

  auto loaded = LoadDocument(document, files);
  EXPECT_EQ(Inner(*loaded).label, "Außen neu");
  EXPECT_EQ(Inner(Inner(*loaded)).label, "Innen neu");
  EXPECT_TRUE(Inner(Inner(*loaded)).dynamic);
  EXPECT_EQ(SettledOutput(*loaded), 10.0f);

  // Placing the outer file re-reads what is dynamic inside it as well.
  auto placed = ReadAsSubCircuit(files.files["/aussen.tvr"], files);
  EXPECT_EQ(Inner(*placed).label, "Innen neu");
  EXPECT_TRUE(Inner(*placed).dynamic);
}

TEST(DynamicSubCircuit, SiblingsNamingTheSameFileAreBothReadFromIt) {
  auto document = std::make_unique<SubCircuit>();
  Port& in = AddInputTerminal(*document, 0);
  in.value = 5.0f;
  for (int i = 0; i < 2; ++i) {
    auto stored = Leaf("alt");
    stored->path = kPartPath;
    SubCircuit& sub = Place(*document, std::move(stored));
    sub.inputs[0]->source = &in;
    AddOutputTerminal(*document, i).source = sub.outputs[0].get();
  }
  MemoryFiles files;
  files.files[kPartPath] = SaveDocument(*Leaf("neu", kind::Times));
  auto loaded = LoadDocument(SaveDocument(*document), files);
  for (std::size_t i = 0; i < 2; ++i) {
    SubCircuit& sub = static_cast<SubCircuit&>(*loaded->components.at(i));
    EXPECT_EQ(std::tie(sub.label, sub.dynamic), std::make_tuple("neu", true)) << i;
    EXPECT_EQ(SettledOutput(*loaded, i), 10.0f) << i;
  }
}

// ---- Files on disk ----------------------------------------------------------------------------

class DiskFiles : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("trivenor-" + std::to_string(getpid()) + "-" +
               testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::create_directories(folder_);
  }
  void TearDown() override {
    stopWatchdogs_ = true;
    for (std::thread& watchdog : watchdogs_) {
      watchdog.join();
    }
    std::error_code ignored;
    std::filesystem::remove_all(folder_, ignored);
  }

  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }
  std::string Write(const std::string& name, const Bytes& bytes) const {
    std::ofstream out(folder_ / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return PathOf(name);
  }
  std::string Link(const std::string& name, const std::string& target) const {
    std::filesystem::create_symlink(target, folder_ / name);
    return PathOf(name);
  }
  /// A named pipe. Opening it to read would wait for a writer; a watchdog plays that writer and
  /// goes at once, so a reader that opens it gets an empty file and the test fails, not hangs.
  std::string Fifo(const std::string& name) {
    const std::string path = PathOf(name);
    EXPECT_EQ(mkfifo(path.c_str(), 0600), 0);
    watchdogs_.emplace_back([this, path] {
      while (!stopWatchdogs_) {
        // Without a reader waiting this fails at once instead of blocking.
        if (const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK); fd >= 0) {
          close(fd);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
      }
    });
    return path;
  }

  DiskFileReader files_;
  std::filesystem::path folder_;
  std::atomic<bool> stopWatchdogs_ = false;
  std::vector<std::thread> watchdogs_;
};

TEST_F(DiskFiles, IdentityFollowsLinksAndOnlyRegularFilesAreRead) {
  const Bytes bytes = PartFile(kFreshShape);
  const std::string part = Write("teil.tvr", bytes);
  std::filesystem::create_directory(folder_ / "unten");
  ASSERT_TRUE(files_.Identity(part).has_value());
  EXPECT_EQ(files_.Identity(Link("verweis.tvr", part)), files_.Identity(part));
  EXPECT_EQ(files_.Identity(PathOf("unten/../teil.tvr")), files_.Identity(part));
  EXPECT_FALSE(files_.Identity(PathOf("fehlt.tvr")).has_value());

  EXPECT_EQ(files_.ReadAll(part, SIZE_MAX), bytes);
  EXPECT_EQ(files_.ReadAll(part, 10)->size(), 11u) << "one past the limit shows it is exceeded";
  EXPECT_FALSE(files_.ReadAll(Fifo("rohr"), SIZE_MAX).has_value());
  EXPECT_FALSE(files_.ReadAll(folder_.string(), SIZE_MAX).has_value());
  EXPECT_FALSE(files_.ReadAll(PathOf("fehlt.tvr"), SIZE_MAX).has_value());
}

TEST_F(DiskFiles, DynamicSubCircuitsAreReadFromDisk) {
  const std::string part = Write("teil.tvr", PartFile(kFreshShape));
  const std::string documentPath = PathOf("dokument.tvr");
  const std::string backToDocument = Link("zurueck.tvr", documentPath);
  const struct {
    std::string path;
    bool replaced;
  } cases[] = {
      {part, true},          {Link("verweis.tvr", part), true}, {backToDocument, false},
      {Fifo("rohr"), false}, {folder_.string(), false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.path);
    const Bytes document = SaveDocument(*BuildHost(BuildPart(kStoredShape), c.path));
    Write("dokument.tvr", document);
    auto loaded = LoadDocument(document, files_, nullptr, *files_.Identity(documentPath));
    SubCircuit& sub = SubOf(*loaded);
    EXPECT_EQ(sub.dynamic, c.replaced);
    EXPECT_EQ(sub.label, c.replaced ? "Verdoppler" : "Addierer");
    EXPECT_EQ(sub.path, c.path);
  }
}

}  // namespace
}  // namespace trivenor
