#include "document/trivenor_doc.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <new>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "document/file_access.h"
#include "model/component_kind.h"
#include "model/constant.h"
#include "model/operators.h"

namespace trivenor {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

Bytes ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& path, const Bytes& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

/// Reads the disk as the editor does, noting what the load asked for and whether the document
/// was marked as loading meanwhile; can also fail as an exhausted memory would.
class WatchingFiles final : public FileReader {
 public:
  explicit WatchingFiles(const CTrivenorDoc& document) : document_(document) {}

  std::optional<std::string> Identity(const std::string& path) override {
    loadingWhenAsked = document_.loading;
    return disk_.Identity(path);
  }
  std::optional<Bytes> ReadAll(const std::string& path, std::size_t limit) override {
    filesRead.push_back(path);
    if (runOutOfMemory) {
      throw std::bad_alloc();
    }
    return disk_.ReadAll(path, limit);
  }

  bool loadingWhenAsked = false;
  bool runOutOfMemory = false;
  std::vector<std::string> filesRead;

 private:
  const CTrivenorDoc& document_;
  DiskFileReader disk_;
};

/// One document, with its hooks counted, working in a folder of its own.
class DocumentTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "trivenor-doc-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
    doc_.files = &files_;
    doc_.closeModelessDialogs = [this] { ++dialogCloses_; };
    doc_.updateAllViews = [this] {
      EXPECT_FALSE(doc_.loading) << "a view asked to redraw would still draw nothing";
      ++viewUpdates_;
    };
  }
  void TearDown() override {
    EXPECT_FALSE(doc_.loading);
    fs::remove_all(folder_);
  }

  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

  /// An edit: one more constant, and the document is modified.
  Component& AddConstant(const char* text) {
    Component& added = *doc_.circuit().components.emplace_back(std::make_unique<Constant>(text));
    doc_.SetModifiedFlag();
    return added;
  }

  void ExpectEmpty() const {
    EXPECT_TRUE(doc_.circuit().components.empty());
    EXPECT_TRUE(doc_.circuit().junctions.empty());
    EXPECT_TRUE(doc_.circuit().inputs.empty());
    EXPECT_EQ(doc_.settings.canvasWidth, 600);
    EXPECT_FALSE(doc_.settings.canvasFont.has_value());
  }

  void ExpectUntitled() const {
    EXPECT_EQ(doc_.Title(), "Unbenannt");
    EXPECT_EQ(doc_.PathName(), "");
    EXPECT_FALSE(doc_.IsModified());
  }

  fs::path folder_;
  CTrivenorDoc doc_;
  WatchingFiles files_{doc_};
  int dialogCloses_ = 0;
  int viewUpdates_ = 0;
};

TEST_F(DocumentTest, NewKeepsTheSpeedAndResetsEverythingElse) {
  ASSERT_EQ(doc_.SaveDocument(PathOf("alt.trv")), DocumentError::None);
  Component& constant = AddConstant("1");
  doc_.tickPeriod = 200;
  doc_.settings = {900, false, false, FontRecord{}};
  doc_.selectedComponent = &constant;
  doc_.selectedPort = doc_.wireTarget = doc_.editedInput = constant.outputs.at(0).get();
  doc_.subCircuitList.push_back(
      std::make_unique<SubCircuitListEntry>(SubCircuitListEntry{"a.trv", "/a.trv"}));
  bool referencesGoneWhenDialogsClose = false;
  doc_.closeModelessDialogs = [&] {
    // A dialog closing may still look at the selection; it must not find it dangling.
    referencesGoneWhenDialogsClose = doc_.selectedComponent == nullptr &&
                                     doc_.selectedPort == nullptr && doc_.wireTarget == nullptr &&
                                     doc_.editedInput == nullptr;
    ++dialogCloses_;
  };

  doc_.NewDocument();

  EXPECT_EQ(doc_.tickPeriod, 200);
  ExpectEmpty();
  EXPECT_TRUE(doc_.settings.spareFlag);
  EXPECT_TRUE(doc_.settings.editable);
  EXPECT_EQ(dialogCloses_, 1);
  EXPECT_TRUE(referencesGoneWhenDialogsClose);
  EXPECT_EQ(doc_.selectedComponent, nullptr);
  EXPECT_EQ(doc_.editedInput, nullptr);
  EXPECT_TRUE(doc_.subCircuitList.empty());
  ExpectUntitled();
}

TEST_F(DocumentTest, ZeroByteFileOpensEmptyUnderItsOwnName) {
  WriteBytes(PathOf("leer.trv"), {});
  AddConstant("1");
  doc_.settings.canvasWidth = 900;

  EXPECT_EQ(doc_.OpenDocument(PathOf("leer.trv")), DocumentError::None);
  ExpectEmpty();
  EXPECT_EQ(doc_.Title(), "leer.trv");
  EXPECT_EQ(doc_.PathName(), PathOf("leer.trv"));
  EXPECT_FALSE(doc_.IsModified());
  EXPECT_EQ(viewUpdates_, 1);
}

TEST_F(DocumentTest, TruncatedFileLeavesAnEmptyUntitledDocument) {
  AddConstant("1");
  AddConstant("2");
  ASSERT_EQ(doc_.SaveDocument(PathOf("ganz.trv")), DocumentError::None);
  const Bytes whole = ReadBytes(PathOf("ganz.trv"));
  WriteBytes(PathOf("kurz.trv"), Bytes(whole.begin(), whole.end() - 1));

  EXPECT_EQ(doc_.OpenDocument(PathOf("kurz.trv")), DocumentError::BadFormat);
  ExpectEmpty();
  ExpectUntitled();
}

TEST_F(DocumentTest, FileThatCannotBeReadLeavesTheCurrentDocumentUntouched) {
  Component& constant = AddConstant("1");
  doc_.settings.canvasWidth = 900;
  ASSERT_EQ(doc_.SaveDocument(PathOf("alt.trv")), DocumentError::None);
  doc_.SetModifiedFlag();
  doc_.selectedComponent = &constant;
  // Too large is found out while reading, before the document is touched.
  std::ofstream(PathOf("riesig")).close();
  fs::resize_file(PathOf("riesig"), kMaxDocumentBytes + 1);
  const std::string folderPath = folder_.string() + "/";
  const std::pair<std::string, DocumentError> cases[] = {
      {PathOf("fehlt.trv"), DocumentError::NotFound},
      {folderPath, DocumentError::ReadFailed},
      {PathOf("riesig"), DocumentError::BadFormat},
  };

  for (const auto& [path, expected] : cases) {
    EXPECT_EQ(doc_.OpenDocument(path), expected) << path;
    ASSERT_EQ(doc_.circuit().components.size(), 1u) << path;
    EXPECT_EQ(doc_.selectedComponent, &constant);
    EXPECT_EQ(doc_.settings.canvasWidth, 900);
    EXPECT_EQ(doc_.Title(), "alt.trv");
    EXPECT_EQ(doc_.PathName(), PathOf("alt.trv"));
    EXPECT_TRUE(doc_.IsModified());
  }
  EXPECT_EQ(dialogCloses_, 0);

  // The message names the file; a path without a last component is named whole.
  EXPECT_EQ(
      DocumentErrorMessage(DocumentError::NotFound, FileTitleOf(PathOf("fehlt.trv"))).substr(0, 10),
      "fehlt.trv\n");
  EXPECT_EQ(DocumentErrorMessage(DocumentError::ReadFailed, FileTitleOf(folderPath)),
            "Beim Lesen von " + folderPath + " ist ein unerwarteter Fehler aufgetreten.");
}

TEST_F(DocumentTest, SaveAsTakesTheNewNameAndClearsModified) {
  AddConstant("2.5");
  ASSERT_EQ(doc_.SaveDocument(PathOf("alt.trv")), DocumentError::None);
  AddConstant("3");
  bool loadingWhileWriting = false;
  const ScopedWriteFault watch([&](std::size_t, std::size_t) {
    loadingWhileWriting = doc_.loading;
    return WriteFault{};
  });
  // Kept absolute, so that the working folder may change before the next "Speichern".
  const std::string relative = fs::relative(PathOf("neu.trv")).string();

  EXPECT_EQ(doc_.SaveDocument(relative), DocumentError::None);
  EXPECT_TRUE(loadingWhileWriting);
  EXPECT_EQ(doc_.Title(), "neu.trv");
  EXPECT_TRUE(fs::path(doc_.PathName()).is_absolute());
  EXPECT_TRUE(fs::equivalent(doc_.PathName(), PathOf("neu.trv")));
  EXPECT_FALSE(doc_.IsModified());
  EXPECT_EQ(viewUpdates_, 2);
}

TEST_F(DocumentTest, OtherVersionOpensEmptyUnderItsNameAndSavingMakesItAnEmptyCircuit) {
  WriteBytes(PathOf("andere.trv"), {0x04, '1', '.', '0', 'c', 0xEF, 0xBE, 0xAD, 0xDE});
  AddConstant("1");

  EXPECT_EQ(doc_.OpenDocument(PathOf("andere.trv")), DocumentError::None);
  ExpectEmpty();
  EXPECT_EQ(doc_.Title(), "andere.trv");
  EXPECT_FALSE(doc_.IsModified());

  ASSERT_EQ(doc_.SaveDocument(doc_.PathName()), DocumentError::None);
  SubCircuit empty;
  DocumentSettings defaults;
  ASSERT_EQ(SaveDocumentFile(PathOf("leer.trv"), empty, defaults), DocumentError::None);
  EXPECT_EQ(ReadBytes(PathOf("andere.trv")), ReadBytes(PathOf("leer.trv")));
}

TEST_F(DocumentTest, FailedSaveKeepsTheNameAndTheModifiedFlag) {
  AddConstant("1");
  ASSERT_EQ(doc_.SaveDocument(PathOf("alt.trv")), DocumentError::None);
  AddConstant("2");
  {
    const ScopedWriteFault full([](std::size_t, std::size_t) {
      return WriteFault{SIZE_MAX, ENOSPC};
    });
    EXPECT_EQ(doc_.SaveDocument(PathOf("neu.trv")), DocumentError::DiskFull);
  }
  EXPECT_EQ(doc_.Title(), "alt.trv");
  EXPECT_EQ(doc_.PathName(), PathOf("alt.trv"));
  EXPECT_TRUE(doc_.IsModified());
  EXPECT_EQ(doc_.circuit().components.size(), 2u);
  EXPECT_FALSE(fs::exists(PathOf("neu.trv")));
}

TEST_F(DocumentTest, DynamicSubCircuitNamingTheDocumentItselfKeepsItsStoredCopy) {
  auto inner = std::make_unique<SubCircuit>();
  // Another spelling of the document's path: the file is recognised, not the text.
  inner->path = (folder_ / "." / "selbst.trv").string();
  inner->components.push_back(std::make_unique<Constant>("7"));
  doc_.circuit().components.push_back(std::move(inner));
  AddConstant("8");
  ASSERT_EQ(doc_.SaveDocument(PathOf("selbst.trv")), DocumentError::None);
  doc_.NewDocument();

  ASSERT_EQ(doc_.OpenDocument(PathOf("selbst.trv")), DocumentError::None);
  EXPECT_TRUE(files_.loadingWhenAsked);
  EXPECT_TRUE(files_.filesRead.empty());
  const auto& loaded = static_cast<const SubCircuit&>(*doc_.circuit().components.at(0));
  ASSERT_EQ(loaded.components.size(), 1u);
  EXPECT_EQ(loaded.components[0]->label, "7");
}

TEST_F(DocumentTest, ExhaustedMemoryDuringTheLoadLeavesNoHalfReadDocument) {
  AddConstant("1");
  ASSERT_EQ(doc_.SaveDocument(PathOf("teil.trv")), DocumentError::None);
  auto inner = std::make_unique<SubCircuit>();
  inner->path = PathOf("teil.trv");
  doc_.circuit().components.push_back(std::move(inner));
  ASSERT_EQ(doc_.SaveDocument(PathOf("ganz.trv")), DocumentError::None);
  files_.runOutOfMemory = true;

  EXPECT_THROW(doc_.OpenDocument(PathOf("ganz.trv")), std::bad_alloc);
  EXPECT_EQ(files_.filesRead.size(), 1u);
  ExpectEmpty();
  ExpectUntitled();
}

// An open that replaced the document starts its history over; a file that cannot be read leaves
// the document, and so its history, as it was.
TEST_F(DocumentTest, AnOpenThatReplacedTheDocumentLeavesNothingToUndo) {
  doc_.edit().AddJunction(100, 100);
  doc_.RecordStep("Knoten einfügen");
  EXPECT_EQ(doc_.OpenDocument(PathOf("fehlt")), DocumentError::NotFound);
  EXPECT_TRUE(doc_.CanUndo());
  WriteBytes(PathOf("abgeschnitten"), {4, '1', '.', '0', 'b', 0});
  EXPECT_EQ(doc_.OpenDocument(PathOf("abgeschnitten")), DocumentError::BadFormat);
  EXPECT_FALSE(doc_.CanUndo());
}

// The passes run on a plan compiled from the circuit: whatever changes or replaces the circuit
// must reach it before the next pass, or it would run a circuit that is gone.
TEST_F(DocumentTest, PassesFollowEditsUndoRedoOpenNewTypedValuesAndReset) {
  CircuitEdit& edit = doc_.edit();
  Port& in = edit.AddTerminal(PortRole::CircuitInput, 0, 10, 10);
  in.value = 2;
  Component& plus = edit.Place(std::make_unique<TwoInputOperator>(kind::Plus), 200, 100);
  edit.Connect(in, *plus.inputs[0]);
  edit.Connect(in, *plus.inputs[1]);
  doc_.RecordStep("Verbinden");
  auto sum = [this] { return doc_.circuit().components.at(0)->outputs[0]->value; };
  doc_.RunPass();
  EXPECT_EQ(sum(), 4.0f);
  ASSERT_EQ(doc_.SaveDocument(PathOf("summe.trv")), DocumentError::None);
  doc_.Undo();
  doc_.RunPass();
  doc_.Redo();
  doc_.RunPass();
  EXPECT_EQ(sum(), 4.0f);
  doc_.NewDocument();
  doc_.RunPass();
  ASSERT_EQ(doc_.OpenDocument(PathOf("summe.trv")), DocumentError::None);
  doc_.circuit().inputs[0]->value = 5;
  doc_.RunPass();
  EXPECT_EQ(sum(), 10.0f);
  doc_.ResetValues();
  doc_.RunPass();
  EXPECT_EQ(sum(), 0.0f);
}

}  // namespace
}  // namespace trivenor
