#include <gtest/gtest.h>

#include <clocale>
#include <filesystem>
#include <initializer_list>
#include <sstream>
#include <string>
#include <vector>

#include "cli/runner.h"
#include "document/circuit_files.h"
#include "model/operators.h"
#include "model/output_display.h"
#include "sample_circuits.h"
#include "temp_folder.h"

namespace trivenor {
namespace {

using test_support::AddInputTerminal;
using test_support::AddOutputTerminal;
using test_support::Append;
using test_support::Connect;
using test_support::ReadBytes;
using test_support::SaveAdder;
using test_support::SaveCircuit;
using test_support::TempFolder;
using test_support::WriteBytes;

struct RunResult {
  int status;
  std::string out;
  std::string err;
};

RunResult RunWith(const std::string& file, std::initializer_list<std::string> options) {
  std::vector<std::string> arguments{file};
  arguments.insert(arguments.end(), options);
  std::ostringstream out;
  std::ostringstream err;
  DiskFileReader files;
  const int status = RunCommandLine(arguments, out, err, files);
  return {status, out.str(), err.str()};
}

class RunnerTest : public ::testing::Test {
 protected:
  RunnerTest() : adder_(folder_.File("adder")) { SaveAdder(adder_); }

  TempFolder folder_;
  std::string adder_;
};

TEST_F(RunnerTest, AddsTwoInputsInOnePass) {
  const RunResult result = RunWith(adder_, {"--set", "0=2", "--set", "2=3.25", "--run", "1"});
  EXPECT_EQ(result.status, run_status::kSuccess) << result.err;
  EXPECT_EQ(result.out, "pass 1\nin 0 2\nin 2 3.25\nout 1 5.25\n");
  EXPECT_EQ(result.err, "");
}

TEST_F(RunnerTest, TracePrintsNowAndAfterEveryLaterPass) {
  const RunResult result = RunWith(adder_, {"--set", "0=1", "--trace", "--set", "2=2", "--run", "2",
                                            "--set", "0=10", "--run", "1"});
  EXPECT_EQ(result.status, run_status::kSuccess) << result.err;
  // A typed value shows only after the next pass, as in the editor.
  EXPECT_EQ(result.out,
            "pass 0\nin 0 1\nin 2 0\nout 1 0\n"
            "pass 1\nin 0 1\nin 2 2\nout 1 3\n"
            "pass 2\nin 0 1\nin 2 2\nout 1 3\n"
            "pass 3\nin 0 10\nin 2 2\nout 1 12\n");
}

TEST_F(RunnerTest, CountsPassesSinceLoadingAcrossRunsAndResets) {
  const RunResult result = RunWith(adder_, {"--print", "--run", "2", "--run", "0", "--print",
                                            "--reset", "--run", "3", "--print"});
  EXPECT_EQ(result.status, run_status::kSuccess) << result.err;
  EXPECT_EQ(result.out,
            "pass 0\nin 0 0\nin 2 0\nout 1 0\npass 2\nin 0 0\nin 2 0\nout 1 0\n"
            "pass 5\nin 0 0\nin 2 0\nout 1 0\n");
}

TEST_F(RunnerTest, ResetSetsTheInputTerminalsToZero) {
  const RunResult result = RunWith(adder_, {"--set", "0=2", "--set", "2=3", "--run", "1", "--reset",
                                            "--print", "--run", "1", "--print"});
  EXPECT_EQ(result.status, run_status::kSuccess) << result.err;
  EXPECT_EQ(result.out, "pass 1\nin 0 0\nin 2 0\nout 1 0\npass 2\nin 0 0\nin 2 0\nout 1 0\n");
}

TEST_F(RunnerTest, SetOnASlotWithoutInputStopsWithStatus1) {
  // Slot 1 holds only an output terminal.
  const RunResult result = RunWith(adder_, {"--print", "--set", "1=5", "--print"});
  EXPECT_EQ(result.status, run_status::kUsageError);
  EXPECT_EQ(result.out, "pass 0\nin 0 0\nin 2 0\nout 1 0\n")
      << "the steps before it have run, none after";
  EXPECT_NE(result.err.find("Zeile 1"), std::string::npos) << result.err;
}

TEST_F(RunnerTest, UsageErrorPrintsNothingAndDoesNothing) {
  const std::string copy = folder_.File("copy");
  const RunResult result = RunWith(adder_, {"--print", "--save", copy, "--run", "x"});
  EXPECT_EQ(result.status, run_status::kUsageError);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find("Aufruf: trivenor-run DATEI"), std::string::npos) << result.err;
  EXPECT_FALSE(std::filesystem::exists(copy)) << "nothing may be saved";
}

TEST_F(RunnerTest, HelpGoesToStandardOutput) {
  const RunResult result = RunWith("--help", {});
  EXPECT_EQ(result.status, run_status::kSuccess);
  EXPECT_NE(result.out.find("--trace"), std::string::npos);
  EXPECT_EQ(result.err, "");
}

TEST_F(RunnerTest, MissingFileIsStatus2AndNamed) {
  const std::string missing = folder_.File("nirgends");
  const RunResult result = RunWith(missing, {"--print"});
  EXPECT_EQ(result.status, run_status::kFileError);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find(missing), std::string::npos) << result.err;
  EXPECT_NE(result.err.find("Die Datei kann nicht gefunden werden."), std::string::npos)
      << result.err;
}

TEST_F(RunnerTest, TruncatedFileIsStatus3) {
  std::vector<char> bytes = ReadBytes(adder_);
  bytes.resize(bytes.size() / 2);
  const std::string truncated = folder_.File("truncated");
  WriteBytes(truncated, bytes);

  const RunResult result = RunWith(truncated, {"--print"});
  EXPECT_EQ(result.status, run_status::kBadFormat);
  EXPECT_EQ(result.out, "");
  EXPECT_NE(result.err.find("Unerwartetes Dateiformat."), std::string::npos) << result.err;
  EXPECT_NE(result.err.find(truncated), std::string::npos) << "names the file: " << result.err;
}

TEST_F(RunnerTest, EmptyFileAndForeignVersionOpenAsEmptyCircuits) {
  const std::string empty = folder_.File("empty");
  WriteBytes(empty, {});
  const std::string foreign = folder_.File("foreign");
  WriteBytes(foreign, {4, '2', '.', '0', 'a', 'x', 'y', 'z'});

  for (const std::string& file : {empty, foreign}) {
    const RunResult result = RunWith(file, {"--run", "2"});
    EXPECT_EQ(result.status, run_status::kSuccess) << file << ": " << result.err;
    EXPECT_EQ(result.out, "pass 2\n") << file;
  }
  EXPECT_EQ(RunWith(empty, {}).out, "pass 0\n");
}

TEST_F(RunnerTest, SavedFileLoadsWithTheStateAtSaving) {
  const std::string copy = folder_.File("copy");
  const RunResult saving = RunWith(
      adder_, {"--set", "0=2", "--set", "2=3", "--run", "1", "--save", copy, "--set", "0=100"});
  ASSERT_EQ(saving.status, run_status::kSuccess) << saving.err;

  // The typed values are stored with the terminals; loading evaluates them once.
  const RunResult loading = RunWith(copy, {});
  EXPECT_EQ(loading.status, run_status::kSuccess) << loading.err;
  EXPECT_EQ(loading.out, "pass 0\nin 0 2\nin 2 3\nout 1 5\n");
}

TEST_F(RunnerTest, FailedSaveIsStatus2AndNamesTheTarget) {
  const std::string unreachable = folder_.File("no-such-folder/copy");
  const RunResult result = RunWith(adder_, {"--save", unreachable, "--print"});
  EXPECT_EQ(result.status, run_status::kFileError);
  EXPECT_EQ(result.out, "") << "the run stops at the failed save";
  EXPECT_NE(result.err.find(unreachable), std::string::npos) << result.err;
}

TEST_F(RunnerTest, PrintsDisplaysOfTheTopCircuitAndInvalidOutputs) {
  SubCircuit circuit;
  Port& in = AddInputTerminal(circuit, 0);
  auto& named = Append<OutputDisplay>(circuit);
  named.texts = {{1.0f, "größer"}};
  Connect(*named.inputs[0], in);
  auto& divide = Append<TwoInputOperator>(circuit, kind::Divide);
  Connect(*divide.inputs[0], in);
  auto& numeric = Append<OutputDisplay>(circuit);
  Connect(*numeric.inputs[0], *divide.outputs[0]);
  Connect(AddOutputTerminal(circuit, 3), *divide.outputs[0]);
  const std::string file = folder_.File("displays");
  SaveCircuit(file, circuit);

  // 1 / 0 is invalid, on the terminal and in the display fed by it.
  const RunResult result = RunWith(file, {"--set", "0=1", "--run", "2"});
  EXPECT_EQ(result.status, run_status::kSuccess) << result.err;
  EXPECT_EQ(result.out, "pass 2\nin 0 1\nout 3 xxx\ndisplay 0 größer\ndisplay 1 xxx\n");
}

TEST_F(RunnerTest, NumbersIgnoreTheProcessLocale) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "de_DE.UTF-8") == nullptr) {
    GTEST_SKIP() << "locale de_DE.UTF-8 is not installed";
  }
  const RunResult fraction = RunWith(adder_, {"--set", "0=0.25", "--set", "2=0.5", "--run", "1"});
  const RunResult large = RunWith(adder_, {"--set", "0=1234567", "--run", "1"});
  std::setlocale(LC_ALL, previous.c_str());
  EXPECT_EQ(fraction.out, "pass 1\nin 0 0.25\nin 2 0.5\nout 1 0.75\n");
  EXPECT_EQ(large.out, "pass 1\nin 0 1.23457e+06\nin 2 0\nout 1 1.23457e+06\n");
}

/// A stream that refuses every write, as standard output does on a full disk.
class BrokenBuffer : public std::streambuf {
 protected:
  int_type overflow(int_type) override { return traits_type::eof(); }
  std::streamsize xsputn(const char*, std::streamsize) override { return 0; }
};

TEST_F(RunnerTest, UnwritableOutputIsAFailureNotASuccess) {
  BrokenBuffer broken;
  std::ostream out(&broken);
  std::ostringstream err;
  DiskFileReader files;
  // So many passes that a run which went on after the first failed print would not finish.
  const std::vector<std::string> arguments{adder_, "--trace", "--run", "1000000000"};
  EXPECT_EQ(RunCommandLine(arguments, out, err, files), run_status::kFileError);
  EXPECT_NE(err.str().find("Ausgabe"), std::string::npos) << err.str();
}

}  // namespace
}  // namespace trivenor
