// The bundled exercises: the committed files are exactly what the generator in tools/ writes,
// every solution passes its table and no untouched exercise does.

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>
#include <string>

#include "checks/check_run.h"
#include "document/document_io.h"
#include "document/file_access.h"
#include "tools/exercise_circuits.h"
// Shared with the runner's tests rather than copied.
#include "../cli/temp_folder.h"

namespace trivenor {
namespace {

namespace fs = std::filesystem;

fs::path CommittedExercisesFolder() {
  const char* source = std::getenv("TRIVENOR_SOURCE_DIR");
  if (source == nullptr) {
    throw std::runtime_error("TRIVENOR_SOURCE_DIR is not set");
  }
  return fs::path(source) / "exercises";
}

CheckOutcome Check(const std::string& table, const std::string& circuitFile) {
  const FileContents contents = ReadWholeFile(table);
  EXPECT_EQ(contents.failure, ReadFailure::None) << table;
  const CheckTableReading reading = ReadCheckTable(contents.bytes);
  EXPECT_FALSE(reading.error) << table << ": " << reading.error->Text();
  SubCircuit circuit;
  DocumentSettings settings;
  DiskFileReader files;
  EXPECT_EQ(OpenDocumentFile(circuitFile, circuit, settings, files), DocumentError::None);
  EXPECT_FALSE(CheckTableFits(reading.table, circuit)) << circuitFile;
  return RunCheckTable(reading.table, circuit);
}

TEST(Exercises, SolutionsPassTheirTablesAndPlainExercisesDoNot) {
  const fs::path root = CommittedExercisesFolder();
  int perFolder[2] = {0, 0};
  for (const examples::Exercise& exercise : examples::BuildExercises()) {
    SCOPED_TRACE(exercise.baseName);
    const std::string table = (root / TablePath(exercise)).string();
    const CheckOutcome solved = Check(table, (root / SolutionPath(exercise)).string());
    EXPECT_TRUE(solved.AllRight()) << RightCountText(solved);
    EXPECT_FALSE(Check(table, (root / ExercisePath(exercise)).string()).AllRight());
    ++perFolder[exercise.folder == "klasse12" ? 0 : 1];
  }
  EXPECT_GE(perFolder[0], 8);
  EXPECT_GE(perFolder[1], 8);
}

TEST(Exercises, CommittedFilesAreExactlyWhatTheGeneratorWrites) {
  test_support::TempFolder folder;
  const fs::path generated = folder.File("");
  const auto failure = examples::WriteExercises(generated.string());
  ASSERT_FALSE(failure.has_value()) << failure->fileName;
  int files = 0;
  for (const auto& entry : fs::recursive_directory_iterator(generated)) {
    if (!entry.is_regular_file()) {
      continue;
    }
    const fs::path relative = fs::relative(entry.path(), generated);
    EXPECT_EQ(test_support::ReadBytes((CommittedExercisesFolder() / relative).string()),
              test_support::ReadBytes(entry.path().string()))
        << relative << " differs: run make_exercises exercises";
    ++files;
  }
  int committed = 0;
  for (const auto& entry : fs::recursive_directory_iterator(CommittedExercisesFolder())) {
    committed += entry.is_regular_file() ? 1 : 0;
  }
  EXPECT_EQ(committed, files) << "exercises/ holds files the generator does not write";
}

}  // namespace
}  // namespace trivenor
