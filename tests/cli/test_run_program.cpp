#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>

#include "sample_circuits.h"
#include "temp_folder.h"

namespace trivenor {
namespace {

/// One word for the shell, whatever characters the build folder's path holds.
std::string ShellQuoted(const std::string& word) {
  std::string quoted = "'";
  for (const char c : word) {
    quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
  }
  return quoted + "'";
}

struct ProgramResult {
  int status = -1;
  std::string out;
};

ProgramResult RunProgram(const std::string& arguments, const std::string& errorFile) {
  const std::string command =
      ShellQuoted(TRIVENOR_RUN_PATH) + " " + arguments + " 2>" + ShellQuoted(errorFile);
  ProgramResult result;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) {
    return result;
  }
  char buffer[256];
  std::size_t count;
  while ((count = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) {
    result.out.append(buffer, count);
  }
  const int wait = pclose(pipe);
  result.status = WIFEXITED(wait) ? WEXITSTATUS(wait) : -1;
  return result;
}

// The built program end to end: arguments, standard output and the exit status.
TEST(RunProgram, AddsAndReportsThroughExitStatus) {
  test_support::TempFolder folder;
  const std::string adder = folder.File("adder");
  test_support::SaveAdder(adder);
  const std::string errors = folder.File("stderr");

  const ProgramResult sum = RunProgram(ShellQuoted(adder) + " --set 0=2 --set 2=3 --run 1", errors);
  EXPECT_EQ(sum.status, 0);
  EXPECT_EQ(sum.out, "pass 1\nin 0 2\nin 2 3\nout 1 5\n");
  EXPECT_TRUE(test_support::ReadBytes(errors).empty());

  const ProgramResult missing = RunProgram(ShellQuoted(folder.File("nirgends")), errors);
  EXPECT_EQ(missing.status, 2);
  EXPECT_EQ(missing.out, "");
  EXPECT_FALSE(test_support::ReadBytes(errors).empty());
}

}  // namespace
}  // namespace trivenor
