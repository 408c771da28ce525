#include "document/document_io.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "document/file_access.h"
#include "document/scramble.h"
#include "model/component_kind.h"
#include "model/constant.h"
#include "model/operators.h"
#include "model/output_display.h"

namespace trivenor {
namespace {

namespace fs = std::filesystem;
using ByteVector = std::vector<std::uint8_t>;

ByteVector ReadBytes(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return ByteVector(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const fs::path& path, const ByteVector& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
}

void AppendInt32(ByteVector& bytes, std::uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) {
    bytes.push_back(static_cast<std::uint8_t>(value >> shift));
  }
}

/// A small circuit with a wire of every kind the format stores: terminal to junction, junction
/// to component, component to component, into and out of a nested circuit, to an output
/// terminal. Evaluated until its values settle, so a reload gives back the same bytes.
void BuildSampleCircuit(SubCircuit& circuit, DocumentSettings& settings) {
  circuit.label = "Beispiel";
  circuit.owner = "Jürgen";
  circuit.password = "geheim";
  Port& input = *circuit.inputs.emplace_back(std::make_unique<Port>(PortRole::CircuitInput, 0));
  input.value = 4.0f;
  Junction& junction = *circuit.junctions.emplace_back(std::make_unique<Junction>());
  junction.port.source = &input;
  junction.port.x = 30;

  // Raw pointers: references into the vector would not survive its growth.
  Component* constant = circuit.components.emplace_back(std::make_unique<Constant>("2.5")).get();
  constant->x = 10;
  constant->colour = 0x0000FF;
  Component* plus =
      circuit.components.emplace_back(std::make_unique<TwoInputOperator>(kind::Plus)).get();
  plus->inputs[0]->source = constant->outputs[0].get();
  plus->inputs[1]->source = &junction.port;
  plus->inputs[1]->thickness = 2;

  auto nested = std::make_unique<SubCircuit>();
  nested->label = "Verdoppler";
  Port& nestedIn =
      *nested->inputs.emplace_back(std::make_unique<Port>(PortRole::SubCircuitInput, 0));
  nestedIn.source = plus->outputs[0].get();
  Component* times =
      nested->components.emplace_back(std::make_unique<TwoInputOperator>(kind::Times)).get();
  times->inputs[0]->source = &nestedIn;
  times->inputs[1]->source = &nestedIn;
  Port& nestedOut =
      *nested->outputs.emplace_back(std::make_unique<Port>(PortRole::SubCircuitOutput, 0));
  nestedOut.source = times->outputs[0].get();
  circuit.components.push_back(std::move(nested));

  auto display = std::make_unique<OutputDisplay>();
  display->texts = {{42.25f, "Ergebnis"}};
  display->inputs[0]->source = &nestedOut;
  circuit.components.push_back(std::move(display));
  circuit.outputs.emplace_back(std::make_unique<Port>(PortRole::CircuitOutput, 0))->source =
      &nestedOut;

  settings.canvasWidth = 800;
  settings.editable = false;
  settings.canvasFont.emplace();
  for (std::size_t i = 0; i < settings.canvasFont->size(); ++i) {
    (*settings.canvasFont)[i] = static_cast<std::uint8_t>(i * 7);
  }
  for (int pass = 0; pass < 3; ++pass) {
    circuit.Evaluate();
  }
}

/// Every test works in a folder of its own, removed afterwards.
class DocumentFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "trivenor-io-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override {
    fs::permissions(folder_, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(folder_);
  }

  std::string PathOf(const std::string& name) const { return (folder_ / name).string(); }

  std::set<std::string> FolderEntries() const {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder_)) {
      names.insert(entry.path().filename().string());
    }
    return names;
  }

  DocumentError SaveSample(const std::string& path) {
    SubCircuit circuit;
    DocumentSettings settings;
    BuildSampleCircuit(circuit, settings);
    return SaveDocumentFile(path, circuit, settings);
  }

  DocumentError SaveEmpty(const std::string& path) {
    SubCircuit circuit;
    DocumentSettings settings;
    return SaveDocumentFile(path, circuit, settings);
  }

  DocumentError Open(const std::string& path) {
    circuit_ = std::make_unique<SubCircuit>();
    settings_ = DocumentSettings{};
    return OpenDocumentFile(path, *circuit_, settings_, files_);
  }

  void ExpectEmptyDocument() const {
    EXPECT_TRUE(circuit_->components.empty());
    EXPECT_TRUE(circuit_->inputs.empty());
    EXPECT_EQ(settings_.canvasWidth, 600);
    EXPECT_FALSE(settings_.canvasFont.has_value());
  }

  fs::path folder_;
  DiskFileReader files_;
  std::unique_ptr<SubCircuit> circuit_;
  DocumentSettings settings_;
};

TEST_F(DocumentFileTest, NewEmptyDocumentIsWrittenByteForByte) {
  ASSERT_EQ(SaveEmpty(PathOf("neu")), DocumentError::None);

  ByteVector expected = {0x04, '1', '.', '0', 'b'};
  // Owner and password are empty, so only the scrambled check marker is stored for them.
  std::string owner;
  ScrambleText(owner, 1, true);
  std::string password;
  ScrambleText(password, 2, true);
  ASSERT_EQ(owner.size(), 3u);
  ASSERT_EQ(password.size(), 3u);
  expected.push_back(3);
  expected.insert(expected.end(), owner.begin(), owner.end());
  expected.insert(expected.end(), {0x00, 0x00, 0x03});
  expected.insert(expected.end(), password.begin(), password.end());
  for (std::uint32_t value : {1u, 0u, 0u, 0u, 0u, 600u, 1u, 1u, 0u}) {
    AppendInt32(expected, value);
  }
  EXPECT_EQ(ReadBytes(PathOf("neu")), expected);
}

TEST_F(DocumentFileTest, SaveLoadSaveGivesTheSameBytesAndTheSameCircuit) {
  ASSERT_EQ(SaveSample(PathOf("erste")), DocumentError::None);
  ASSERT_EQ(Open(PathOf("erste")), DocumentError::None);

  const SubCircuit& loaded = *circuit_;
  EXPECT_EQ(loaded.label, "Beispiel");
  EXPECT_EQ(loaded.owner, "Jürgen");
  EXPECT_EQ(loaded.password, "geheim");
  ASSERT_EQ(loaded.components.size(), 4u);
  ASSERT_EQ(loaded.junctions.size(), 1u);
  const Component& constant = *loaded.components[0];
  const Component& plus = *loaded.components[1];
  const auto& nested = static_cast<const SubCircuit&>(*loaded.components[2]);
  EXPECT_EQ(constant.kind, kind::Constant);
  EXPECT_EQ(constant.colour, 0x0000FFu);
  EXPECT_EQ(plus.inputs[0]->source, constant.outputs[0].get());
  EXPECT_EQ(plus.inputs[1]->source, &loaded.junctions[0]->port);
  EXPECT_EQ(plus.inputs[1]->thickness, 2);
  EXPECT_EQ(loaded.junctions[0]->port.source, loaded.inputs[0].get());
  EXPECT_EQ(nested.inputs[0]->source, plus.outputs[0].get());
  EXPECT_EQ(loaded.outputs[0]->source, nested.outputs[0].get());
  EXPECT_EQ(loaded.components[3]->label, "Ergebnis");
  EXPECT_EQ(settings_.canvasWidth, 800);
  EXPECT_FALSE(settings_.editable);
  ASSERT_TRUE(settings_.canvasFont.has_value());
  EXPECT_EQ((*settings_.canvasFont)[59], static_cast<std::uint8_t>(59 * 7));

  ASSERT_EQ(SaveDocumentFile(PathOf("zweite"), *circuit_, settings_), DocumentError::None);
  EXPECT_EQ(ReadBytes(PathOf("zweite")), ReadBytes(PathOf("erste")));
}

TEST_F(DocumentFileTest, EmptyFileAndOtherVersionOpenAsEmptyDocuments) {
  WriteBytes(PathOf("leer"), {});
  EXPECT_EQ(Open(PathOf("leer")), DocumentError::None);
  ExpectEmptyDocument();

  ByteVector otherVersion = {0x04, '1', '.', '0', 'c'};
  AppendInt32(otherVersion, 0xDEADBEEF);
  WriteBytes(PathOf("andere"), otherVersion);
  EXPECT_EQ(Open(PathOf("andere")), DocumentError::None);
  ExpectEmptyDocument();
}

TEST_F(DocumentFileTest, TruncatedFileIsABadFormat) {
  ASSERT_EQ(SaveSample(PathOf("ganz")), DocumentError::None);
  const ByteVector whole = ReadBytes(PathOf("ganz"));
  // Inside the version text, right after it, inside the circuit, inside the trailer.
  for (const std::size_t length :
       {std::size_t{1}, std::size_t{5}, whole.size() / 2, whole.size() - 1}) {
    WriteBytes(PathOf("kurz"), ByteVector(whole.begin(), whole.begin() + length));
    EXPECT_EQ(Open(PathOf("kurz")), DocumentError::BadFormat) << "cut after " << length;
  }
}

TEST_F(DocumentFileTest, OversizedFileIsRefusedAsBadFormat) {
  // Zero bytes read as an empty version text, which would open as an empty document.
  std::ofstream(PathOf("riesig")).close();
  fs::resize_file(PathOf("riesig"), kMaxDocumentBytes + 1);
  EXPECT_EQ(Open(PathOf("riesig")), DocumentError::BadFormat);
}

TEST_F(DocumentFileTest, MissingFolderOrPipeCannotBeOpened) {
  EXPECT_EQ(Open(PathOf("fehlt")), DocumentError::NotFound);
  EXPECT_EQ(Open(PathOf("fehlt/auch")), DocumentError::NotFound);
  EXPECT_EQ(Open(""), DocumentError::NotFound);
  EXPECT_EQ(Open(folder_.string()), DocumentError::ReadFailed);
  // A pipe without a writer would block a plain open for ever.
  ASSERT_EQ(mkfifo(PathOf("rohr").c_str(), 0600), 0);
  EXPECT_EQ(Open(PathOf("rohr")), DocumentError::ReadFailed);
}

TEST_F(DocumentFileTest, DynamicSubCircuitNamingItsOwnDocumentKeepsItsStoredCopy) {
  SubCircuit circuit;
  DocumentSettings settings;
  auto inner = std::make_unique<SubCircuit>();
  inner->path = PathOf("selbst");
  inner->components.push_back(std::make_unique<Constant>("7"));
  circuit.components.push_back(std::move(inner));
  circuit.components.push_back(std::make_unique<Constant>("8"));
  ASSERT_EQ(SaveDocumentFile(PathOf("selbst"), circuit, settings), DocumentError::None);

  // Read again from the file, the sub-circuit would hold the document's two components.
  ASSERT_EQ(Open(PathOf("selbst")), DocumentError::None);
  const auto& loaded = static_cast<const SubCircuit&>(*circuit_->components.at(0));
  ASSERT_EQ(loaded.components.size(), 1u);
  EXPECT_EQ(loaded.components[0]->label, "7");
}

TEST_F(DocumentFileTest, InjectedFailureHalfWayLeavesTheOldFileAndNoTemporary) {
  ASSERT_EQ(SaveEmpty(PathOf("alt")), DocumentError::None);
  const ByteVector old = ReadBytes(PathOf("alt"));
  int writes = 0;
  {
    // The first write gets half its bytes onto the disk, the next finds it full.
    ScopedWriteFault fault([&](std::size_t written, std::size_t size) {
      ++writes;
      return written == 0 ? WriteFault{size / 2, 0} : WriteFault{SIZE_MAX, ENOSPC};
    });
    EXPECT_EQ(SaveSample(PathOf("alt")), DocumentError::DiskFull);
  }
  EXPECT_EQ(writes, 2);
  EXPECT_EQ(ReadBytes(PathOf("alt")), old);
  EXPECT_EQ(FolderEntries(), std::set<std::string>{"alt"});
}

TEST_F(DocumentFileTest, WriteErrorsAreClassifiedAndLeaveNoFileBehind) {
  const std::vector<std::pair<int, DocumentError>> cases = {
      {ENOSPC, DocumentError::DiskFull},    {EDQUOT, DocumentError::DiskFull},
      {EFBIG, DocumentError::DiskFull},     {EROFS, DocumentError::WriteDenied},
      {EACCES, DocumentError::WriteDenied}, {EIO, DocumentError::WriteFailed},
  };
  for (const auto& [error, expected] : cases) {
    ScopedWriteFault fault([error = error](std::size_t, std::size_t) {
      return WriteFault{0, error};
    });
    EXPECT_EQ(SaveSample(PathOf("neu")), expected) << "errno " << error;
    EXPECT_TRUE(FolderEntries().empty()) << "errno " << error;
  }
}

TEST_F(DocumentFileTest, RealFileSizeLimitIsReportedAsDiskFull) {
  ASSERT_EQ(SaveEmpty(PathOf("alt")), DocumentError::None);
  const ByteVector old = ReadBytes(PathOf("alt"));

  rlimit saved{};
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  rlimit small = saved;
  small.rlim_cur = 100;  // smaller than the sample document
  struct sigaction ignore {};
  ignore.sa_handler = SIG_IGN;
  struct sigaction previous {};
  ASSERT_EQ(sigaction(SIGXFSZ, &ignore, &previous), 0);
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
  const DocumentError result = SaveSample(PathOf("alt"));
  setrlimit(RLIMIT_FSIZE, &saved);
  sigaction(SIGXFSZ, &previous, nullptr);

  EXPECT_EQ(result, DocumentError::DiskFull);
  EXPECT_EQ(ReadBytes(PathOf("alt")), old);
  EXPECT_EQ(FolderEntries(), std::set<std::string>{"alt"});
}

TEST_F(DocumentFileTest, ReplacedFileKeepsItsPermissionsAndLinks) {
  ASSERT_EQ(SaveEmpty(PathOf("datei")), DocumentError::None);
  fs::permissions(PathOf("datei"),
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  fs::create_symlink("datei", PathOf("verweis"));

  ASSERT_EQ(SaveSample(PathOf("verweis")), DocumentError::None);
  EXPECT_TRUE(fs::is_symlink(fs::symlink_status(PathOf("verweis"))));
  EXPECT_EQ(fs::status(PathOf("datei")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
  EXPECT_EQ(Open(PathOf("datei")), DocumentError::None);
  EXPECT_EQ(circuit_->components.size(), 4u);
}

TEST_F(DocumentFileTest, NewFileGetsTheUsualPermissions) {
  const mode_t mask = umask(022);
  umask(mask);
  ASSERT_EQ(SaveEmpty(PathOf("neu")), DocumentError::None);
  struct stat info {};
  ASSERT_EQ(stat(PathOf("neu").c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0666 & ~mask);
}

TEST_F(DocumentFileTest, UnusableNamesAreBadNames) {
  ASSERT_EQ(SaveEmpty(PathOf("datei")), DocumentError::None);
  EXPECT_EQ(SaveEmpty(PathOf("fehlt/neu")), DocumentError::BadName);
  EXPECT_EQ(SaveEmpty(PathOf("datei/neu")), DocumentError::BadName);
  EXPECT_EQ(SaveEmpty(folder_.string()), DocumentError::BadName);
  EXPECT_EQ(SaveEmpty(PathOf("ordner/")), DocumentError::BadName);
  EXPECT_EQ(SaveEmpty(""), DocumentError::BadName);
  EXPECT_EQ(SaveEmpty(PathOf(std::string(300, 'a'))), DocumentError::BadName);
  EXPECT_EQ(FolderEntries(), std::set<std::string>{"datei"});
}

/// Permission bits bind only a process that lacks the power to override them (not root).
bool PermissionBitsBind(const fs::path& folder) {
  const fs::path probe = folder / "probe";
  std::ofstream(probe).close();
  fs::permissions(probe, fs::perms::owner_read);
  const bool bind = access(probe.c_str(), W_OK) != 0;
  fs::remove(probe);
  return bind;
}

class PermissionTest : public DocumentFileTest {
 protected:
  void SetUp() override {
    DocumentFileTest::SetUp();
    if (!PermissionBitsBind(folder_)) {
      GTEST_SKIP() << "this process overrides permission bits (root?): read-only files and "
                      "folders cannot be made here";
    }
  }
};

TEST_F(PermissionTest, ReadOnlyFileIsNotReplacedThoughItsFolderIsWritable) {
  ASSERT_EQ(SaveEmpty(PathOf("fest")), DocumentError::None);
  const ByteVector old = ReadBytes(PathOf("fest"));
  fs::permissions(PathOf("fest"), fs::perms::owner_read);
  EXPECT_EQ(SaveSample(PathOf("fest")), DocumentError::WriteDenied);
  EXPECT_EQ(ReadBytes(PathOf("fest")), old);
}

TEST_F(PermissionTest, ReadOnlyFolderAndUnreadableFileAreDenied) {
  ASSERT_EQ(SaveEmpty(PathOf("geheim")), DocumentError::None);
  fs::permissions(PathOf("geheim"), fs::perms::none);
  EXPECT_EQ(Open(PathOf("geheim")), DocumentError::ReadDenied);

  fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
  EXPECT_EQ(SaveEmpty(PathOf("neu")), DocumentError::WriteDenied);
}

TEST(DocumentErrorMessage, InsertsTheTitleWhereTheTextHasOne) {
  const std::string title = "Schaltung %1.trv";
  EXPECT_EQ(DocumentErrorMessage(DocumentError::None, title), "");
  EXPECT_EQ(DocumentErrorMessage(DocumentError::BadFormat, title), "Unerwartetes Dateiformat.");
  EXPECT_EQ(DocumentErrorMessage(DocumentError::NotFound, title),
            "Schaltung %1.trv\nDie Datei kann nicht gefunden werden.\nÜberprüfen Sie, ob der "
            "korrekte Pfad und Dateiname angegeben wurde.");
  EXPECT_EQ(DocumentErrorMessage(DocumentError::DiskFull, title), "Das Ziellaufwerk ist voll.");
  EXPECT_EQ(DocumentErrorMessage(DocumentError::ReadDenied, title),
            "Von Schaltung %1.trv kann nicht gelesen werden, da sie von einem anderen Benutzer "
            "Anwender geöffnet ist.");
  EXPECT_EQ(DocumentErrorMessage(DocumentError::WriteDenied, title),
            "In Schaltung %1.trv kann nicht geschrieben werden, da sie schreibgeschützt oder von "
            "einem anderen Benutzer geöffnet ist.");
  EXPECT_EQ(DocumentErrorMessage(DocumentError::BadName, title), "Ungültiger Dateiname.");
  EXPECT_EQ(DocumentErrorMessage(DocumentError::ReadFailed, title),
            "Beim Lesen von Schaltung %1.trv ist ein unerwarteter Fehler aufgetreten.");
  EXPECT_EQ(DocumentErrorMessage(DocumentError::WriteFailed, title),
            "Beim Schreiben von Schaltung %1.trv ist ein unerwarteter Fehler aufgetreten.");
}

}  // namespace
}  // namespace trivenor
