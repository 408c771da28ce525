#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "cli/runner.h"
#include "document/circuit_files.h"
#include "sample_circuits.h"
#include "temp_folder.h"

namespace trivenor {
namespace {

using test_support::ReadBytes;
using test_support::SaveAdder;
using test_support::SaveCircuit;
using test_support::TempFolder;
using test_support::WriteBytes;

struct GradeResult {
  int status;
  std::string out;
  std::string err;
};

void WriteText(const std::string& path, const std::string& text) {
  WriteBytes(path, std::vector<char>(text.begin(), text.end()));
}

GradeResult Grade(const std::vector<std::string>& arguments) {
  std::ostringstream out;
  std::ostringstream err;
  DiskFileReader files;
  const int status = RunCommandLine(arguments, out, err, files);
  return {status, out.str(), err.str()};
}

// A class folder: one child's adder is right, one subtracts, one file is damaged.
class GradingTest : public ::testing::Test {
 protected:
  GradingTest()
      : table_(folder_.File("aufgabe.csv")),
        right_(folder_.File("kind1.trv")),
        wrong_(folder_.File("kind2.trv")),
        damaged_(folder_.File("kind3.trv")) {
    // The adder's inputs lie in slots 0 and 2, its output in slot 1: E1 is slot 0, E2 slot 2.
    WriteText(table_, "# Addiere.\nE1;E2;A1\n1;2;3\n4;4;8\n");
    SaveAdder(right_);
    SubCircuit minus;
    test_support::BuildOperator(minus, kind::Minus);
    SaveCircuit(wrong_, minus);
    SaveAdder(damaged_);
    std::vector<char> cut = ReadBytes(damaged_);
    cut.resize(cut.size() / 2);
    WriteBytes(damaged_, cut);
  }

  TempFolder folder_;
  std::string table_;
  std::string right_;
  std::string wrong_;
  std::string damaged_;
};

TEST_F(GradingTest, ExitStatusSaysWhetherAllPassedFailedOrCouldNotBeRead) {
  const GradeResult all = Grade({"--pruefe", table_, right_});
  EXPECT_EQ(all.status, 0) << all.err;
  EXPECT_EQ(all.out, right_ +
                         ": 2 von 2 richtig\n1 Dateien: 1 alles richtig, 0 mit Fehlern, "
                         "0 nicht lesbar\n");

  const GradeResult failed = Grade({"--pruefe", table_, right_, wrong_});
  EXPECT_EQ(failed.status, 1) << failed.err;
  EXPECT_NE(failed.out.find(wrong_ + ": 0 von 2 richtig; Zeile 3: E1 = 1, E2 = 2; A1 soll 3 "
                                     "sein, ist -1\n"),
            std::string::npos)
      << failed.out;

  const std::string overview = folder_.File("klasse.csv");
  const GradeResult damaged =
      Grade({"--pruefe", table_, damaged_, right_, wrong_, "--csv", overview});
  EXPECT_EQ(damaged.status, 2);
  EXPECT_NE(damaged.err.find(damaged_), std::string::npos) << damaged.err;
  EXPECT_NE(damaged.out.find(damaged_ + ": kann nicht gelesen werden\n"), std::string::npos);
  EXPECT_NE(damaged.out.find("3 Dateien: 1 alles richtig, 1 mit Fehlern, 1 nicht lesbar\n"),
            std::string::npos)
      << damaged.out;
  const std::vector<char> bytes = ReadBytes(overview);
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()),
            "Datei;Richtig;Gesamt;Erster Fehler\n" + damaged_ + ";;;kann nicht gelesen werden\n" +
                right_ + ";2;2;\n" + wrong_ +
                ";0;2;\"Zeile 3: E1 = 1, E2 = 2; A1 soll 3 sein, ist -1\"\n");
}

TEST_F(GradingTest, AnUnreadableTableStopsBeforeAnyFile) {
  WriteText(table_, "E1;E2;Summe\n1;2;3\n");
  const GradeResult result = Grade({"--pruefe", table_, right_});
  EXPECT_EQ(result.status, 2);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find("Zeile 1, Spalte 3: Unbekannte Spalte „Summe“"), std::string::npos)
      << result.err;
}

}  // namespace
}  // namespace trivenor
