#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "cli/run_options.h"

namespace trivenor {
namespace {

using Action = RunRequest::Action;

RunRequest Parse(std::initializer_list<const char*> words) {
  const std::vector<std::string> arguments(words.begin(), words.end());
  return ParseRunArguments(arguments);
}

TEST(RunOptions, ReadsEveryOptionInCommandLineOrder) {
  const RunRequest request = Parse({"circuit.trv", "--set", "2=1.5", "--run", "10", "--reset",
                                    "--print", "--trace", "--save", "out.trv", "--run", "0"});
  ASSERT_EQ(request.action, Action::Run) << request.error;
  EXPECT_EQ(request.file, "circuit.trv");
  const std::vector<RunStep> expected = {
      SetInputStep{2, 1.5f}, RunPassesStep{10},   ResetStep{},     PrintStep{},
      TraceStep{},           SaveStep{"out.trv"}, RunPassesStep{0}};
  EXPECT_EQ(request.steps, expected);
}

TEST(RunOptions, PrintsOnceAtTheEndOnlyWhenNothingElsePrints) {
  EXPECT_EQ(Parse({"c"}).steps, std::vector<RunStep>{PrintStep{}});

  const std::vector<RunStep> runThenPrint = {RunPassesStep{3}, PrintStep{}};
  EXPECT_EQ(Parse({"c", "--run", "3"}).steps, runThenPrint);

  const std::vector<RunStep> printThenRun = {PrintStep{}, RunPassesStep{3}};
  EXPECT_EQ(Parse({"c", "--print", "--run", "3"}).steps, printThenRun);

  const std::vector<RunStep> traceThenRun = {TraceStep{}, RunPassesStep{3}};
  EXPECT_EQ(Parse({"c", "--trace", "--run", "3"}).steps, traceThenRun);
}

TEST(RunOptions, TakesTheFileAfterOptionsToo) {
  const RunRequest request = Parse({"--run", "1", "circuit.trv"});
  ASSERT_EQ(request.action, Action::Run) << request.error;
  EXPECT_EQ(request.file, "circuit.trv");
}

TEST(RunOptions, ReadsSlotsAsSignedIntegersAndValuesAsTheEditorDoes) {
  // Slots in files may be negative; the value text follows atof, so a comma ends the number and
  // trailing letters are ignored.
  const struct {
    const char* argument;
    SetInputStep expected;
  } cases[] = {
      {"-3=7", {-3, 7.0f}}, {"0= -2.5e1x", {0, -25.0f}}, {"1=2,5", {1, 2.0f}},
      {"1=", {1, 0.0f}},    {"1=abc", {1, 0.0f}},        {"4=1=2", {4, 1.0f}},
  };
  for (const auto& c : cases) {
    const RunRequest request = Parse({"c", "--set", c.argument});
    ASSERT_EQ(request.action, Action::Run) << c.argument << ": " << request.error;
    EXPECT_EQ(request.steps.front(), RunStep(c.expected)) << c.argument;
  }
}

TEST(RunOptions, RejectsBadCommandLinesWithAMessage) {
  const struct {
    const char* what;
    std::initializer_list<const char*> words;
  } cases[] = {
      {"nothing at all", {}},
      {"no file", {"--run", "1"}},
      {"two files", {"a", "b"}},
      {"an empty file name", {""}},
      {"an unknown option", {"c", "--frobnicate"}},
      {"a single-dash unknown option", {"c", "-x"}},
      {"--set at the end", {"c", "--set"}},
      {"--run at the end", {"c", "--run"}},
      {"--save at the end", {"c", "--save"}},
      {"--save with an empty path", {"c", "--save", ""}},
      {"--save followed by an option", {"c", "--save", "--print"}},
      {"--set without =", {"c", "--set", "5"}},
      {"--set with a fractional slot", {"c", "--set", "1.5=2"}},
      {"--set with a slot of letters", {"c", "--set", "x=2"}},
      {"--set with no slot", {"c", "--set", "=2"}},
      {"--set with a blank before the slot", {"c", "--set", " 1=2"}},
      {"--set with a slot beyond int", {"c", "--set", "99999999999=2"}},
      {"--run negative", {"c", "--run", "-1"}},
      {"--run with a plus sign", {"c", "--run", "+3"}},
      {"--run with trailing garbage", {"c", "--run", "3x"}},
      {"--run fractional", {"c", "--run", "1.0"}},
      {"--run beyond 64 bits", {"c", "--run", "18446744073709551616"}},
      {"an error after valid options", {"c", "--print", "--run", "2", "--bogus"}},
      {"--pruefe without a file", {"--pruefe", "t.csv"}},
      {"--pruefe without its table", {"c", "--pruefe"}},
      {"--pruefe with a step", {"--pruefe", "t.csv", "c", "--run", "2"}},
      {"--pruefe twice", {"--pruefe", "t.csv", "--pruefe", "u.csv", "c"}},
      {"--csv without --pruefe", {"c", "--csv", "o.csv"}},
  };
  for (const auto& c : cases) {
    const std::vector<std::string> arguments(c.words.begin(), c.words.end());
    const RunRequest request = ParseRunArguments(arguments);
    EXPECT_EQ(request.action, Action::UsageError) << c.what;
    EXPECT_FALSE(request.error.empty()) << c.what;
    EXPECT_TRUE(request.steps.empty()) << c.what;
  }
}

TEST(RunOptions, GradingTakesEveryFileWhereverItStands) {
  const RunRequest request = Parse({"a.trv", "--pruefe", "t.csv", "b.trv", "--csv", "o.csv"});
  ASSERT_EQ(request.action, Action::Grade) << request.error;
  EXPECT_EQ(request.table, "t.csv");
  EXPECT_EQ(request.gradedFiles, (std::vector<std::string>{"a.trv", "b.trv"}));
  EXPECT_EQ(request.overview, "o.csv");
}

TEST(RunOptions, HelpWinsWherever) {
  EXPECT_EQ(Parse({"--help"}).action, Action::ShowHelp);
  EXPECT_EQ(Parse({"-h"}).action, Action::ShowHelp);
  EXPECT_EQ(Parse({"c", "--run", "1", "--help"}).action, Action::ShowHelp);
  EXPECT_EQ(Parse({"--bogus", "--help"}).action, Action::ShowHelp);
  // A forgotten argument must not swallow the --help after it.
  EXPECT_EQ(Parse({"c", "--save", "--help"}).action, Action::ShowHelp);
}

}  // namespace
}  // namespace trivenor
