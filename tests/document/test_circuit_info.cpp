#include "document/circuit_info.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

namespace trivenor {
namespace {

namespace fs = std::filesystem;

/// The values of the document as ApplyCircuitInfo sets them, the password included.
CircuitInfo Stored(const CTrivenorDoc& document) {
  CircuitInfo stored = ReadCircuitInfo(document);
  stored.password = document.circuit().password;
  return stored;
}

void ExpectSame(const CircuitInfo& actual, const CircuitInfo& expected) {
  EXPECT_EQ(actual.title, expected.title);
  EXPECT_EQ(actual.owner, expected.owner);
  EXPECT_EQ(actual.password, expected.password);
  EXPECT_EQ(actual.editable, expected.editable);
}

const CircuitInfo kLocked = {
    .title = "Ampel", .owner = "Erika Mustermann", .password = "Geheim42", .editable = false};

TEST(CircuitInfoTest, WithoutAStoredPasswordWhateverIsTypedIsTaken) {
  CTrivenorDoc document;
  // An empty password field leaves the circuit unprotected.
  ASSERT_TRUE(ApplyCircuitInfo(
      document, {.title = "Erst", .owner = "Max", .password = "", .editable = true}));
  EXPECT_TRUE(document.IsModified());
  EXPECT_TRUE(document.circuit().password.empty());

  ASSERT_TRUE(ApplyCircuitInfo(document, kLocked));
  ExpectSame(Stored(document), kLocked);
}

TEST(CircuitInfoTest, AStoredPasswordRefusesEveryOtherTextAndChangesNothing) {
  for (const char* typed : {"", "geheim42", "GEHEIM42", "Geheim4", "Geheim42 ", " Geheim42"}) {
    SCOPED_TRACE(typed);
    CTrivenorDoc document;
    ASSERT_TRUE(ApplyCircuitInfo(document, kLocked));
    document.SetModifiedFlag(false);

    // Setting the check box again is exactly what a refused password must not let through.
    EXPECT_FALSE(ApplyCircuitInfo(
        document, {.title = "Neu", .owner = "Wer", .password = typed, .editable = true}));
    ExpectSame(Stored(document), kLocked);
    EXPECT_FALSE(document.IsModified());
    EXPECT_FALSE(PasswordOpens(document, typed));
  }
}

TEST(CircuitInfoTest, TheStoredPasswordUnlocksAndStaysTheSame) {
  CTrivenorDoc document;
  ASSERT_TRUE(ApplyCircuitInfo(document, kLocked));
  document.SetModifiedFlag(false);

  const CircuitInfo unlocked = {
      .title = "Ampel 2", .owner = "", .password = "Geheim42", .editable = true};
  ASSERT_TRUE(ApplyCircuitInfo(document, unlocked));
  ExpectSame(Stored(document), unlocked);
  EXPECT_TRUE(document.IsModified());
}

/// Saving and reopening, in a folder of its own.
class CircuitInfoFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::string pattern = (fs::temp_directory_path() / "trivenor-info-XXXXXX").string();
    ASSERT_NE(mkdtemp(pattern.data()), nullptr);
    folder_ = pattern;
  }
  void TearDown() override { fs::remove_all(folder_); }

  /// Saves `document` and opens the file into `reopened`; returns the bytes of the file.
  std::string SaveAndReopen(CTrivenorDoc& document, CTrivenorDoc& reopened) {
    const std::string path = (folder_ / "kreis").string();
    EXPECT_EQ(document.SaveDocument(path), DocumentError::None);
    EXPECT_EQ(reopened.OpenDocument(path), DocumentError::None);
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
  }

 private:
  fs::path folder_;
};

TEST_F(CircuitInfoFileTest, SavingKeepsAllFourAndHidesOwnerAndPassword) {
  CTrivenorDoc document;
  ASSERT_TRUE(ApplyCircuitInfo(document, kLocked));
  CTrivenorDoc reopened;
  const std::string bytes = SaveAndReopen(document, reopened);

  ExpectSame(Stored(reopened), kLocked);
  EXPECT_NE(bytes.find(kLocked.title), std::string::npos) << "the title is stored plain";
  EXPECT_EQ(bytes.find(kLocked.owner), std::string::npos);
  EXPECT_EQ(bytes.find(kLocked.password), std::string::npos);
  EXPECT_TRUE(PasswordOpens(reopened, kLocked.password));
  EXPECT_FALSE(PasswordOpens(reopened, ""));
}

// Regression: a password with a character the file's code page cannot hold was saved as "?" and
// then never matched what the user typed, locking the circuit for good.
TEST_F(CircuitInfoFileTest, APasswordOutsideTheCodePageStillOpensAfterReopening) {
  CTrivenorDoc document;
  CircuitInfo locked = kLocked;
  locked.password = "Ωmega€";  // "€" is in the code page, "Ω" is not
  ASSERT_TRUE(ApplyCircuitInfo(document, locked));
  EXPECT_TRUE(PasswordOpens(document, "Ωmega€"));

  CTrivenorDoc reopened;
  SaveAndReopen(document, reopened);
  EXPECT_EQ(reopened.circuit().password, document.circuit().password);
  EXPECT_TRUE(PasswordOpens(reopened, "Ωmega€"));
  EXPECT_FALSE(PasswordOpens(reopened, "Ωmega"));
  locked.editable = true;
  EXPECT_TRUE(ApplyCircuitInfo(reopened, locked));
  EXPECT_TRUE(reopened.settings.editable);
}

}  // namespace
}  // namespace trivenor
