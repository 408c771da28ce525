#include "cli/run_options.h"

#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>

#include "model/number_text.h"

namespace trivenor {

namespace {

/// A whole argument as a decimal integer: no blanks, no "+", nothing after the digits.
template <typename Integer>
std::optional<Integer> ReadWholeInteger(std::string_view text) {
  Integer result{};
  const char* end = text.data() + text.size();
  const auto [stop, error] = std::from_chars(text.data(), end, result);
  if (text.empty() || error != std::errc() || stop != end) {
    return std::nullopt;
  }
  return result;
}

std::string Quoted(std::string_view text) {
  return "„" + std::string(text) + "“";
}

/// Reads the command line left to right, keeping only the first error so that a later
/// `--help` is still seen.
class ArgumentReader {
 public:
  explicit ArgumentReader(std::span<const std::string> arguments) : arguments_(arguments) {}

  RunRequest Read() {
    while (next_ < arguments_.size()) {
      ReadOne(arguments_[next_++]);
    }
    if (showHelp_) {
      return WithoutSteps(RunRequest::Action::ShowHelp, "");
    }
    if (grading_) {
      return ReadGrading();
    }
    if (!request_.overview.empty()) {
      Fail("--csv gehört zu --pruefe.");
    }
    if (files_.size() > 1) {
      Fail("Nur eine Schaltkreisdatei, nicht auch " + Quoted(files_[1]) + ".");
    }
    if (error_.empty() && files_.empty()) {
      error_ = "Keine Schaltkreisdatei angegeben.";
    }
    if (!error_.empty()) {
      return WithoutSteps(RunRequest::Action::UsageError, error_);
    }
    if (!printsState_) {
      request_.steps.emplace_back(PrintStep{});
    }
    request_.action = RunRequest::Action::Run;
    request_.file = files_.front();
    return std::move(request_);
  }

 private:
  void ReadOne(const std::string& argument) {
    if (argument == "--help" || argument == "-h") {
      showHelp_ = true;
    } else if (argument == "--set") {
      ReadSet();
    } else if (argument == "--run") {
      ReadRun();
    } else if (argument == "--reset") {
      request_.steps.emplace_back(ResetStep{});
    } else if (argument == "--print") {
      request_.steps.emplace_back(PrintStep{});
      printsState_ = true;
    } else if (argument == "--trace") {
      request_.steps.emplace_back(TraceStep{});
      printsState_ = true;
    } else if (argument == "--save") {
      ReadSave();
    } else if (argument == "--pruefe") {
      ReadGradingTable();
    } else if (argument == "--csv") {
      if (const auto path = TakeArgument("--csv")) {
        request_.overview = *path;
      }
    } else if (argument.starts_with("-")) {
      Fail("Unbekannte Option " + Quoted(argument) + ".");
    } else {
      ReadFile(argument);
    }
  }

  void ReadSet() {
    const auto argument = TakeArgument("--set");
    if (!argument) {
      return;
    }
    const std::size_t equals = argument->find('=');
    if (equals == std::string::npos) {
      Fail("--set erwartet ZEILE=WERT, nicht " + Quoted(*argument) + ".");
      return;
    }
    const auto row = ReadWholeInteger<int>(std::string_view(*argument).substr(0, equals));
    if (!row) {
      Fail("Die Zeile in " + Quoted(*argument) + " ist keine ganze Zahl.");
      return;
    }
    // The value is read as the editor reads a typed value, so both agree on every text.
    const double value = ReadNumber(std::string_view(*argument).substr(equals + 1));
    request_.steps.emplace_back(SetInputStep{*row, static_cast<float>(value)});
  }

  void ReadRun() {
    const auto argument = TakeArgument("--run");
    if (!argument) {
      return;
    }
    const auto count = ReadWholeInteger<std::uint64_t>(*argument);
    if (!count) {
      Fail("--run erwartet eine Anzahl ab 0, nicht " + Quoted(*argument) + ".");
      return;
    }
    request_.steps.emplace_back(RunPassesStep{*count});
  }

  void ReadSave() {
    const auto argument = TakeArgument("--save");
    if (argument) {
      request_.steps.emplace_back(SaveStep{*argument});
    }
  }

  void ReadFile(const std::string& argument) {
    if (argument.empty()) {
      Fail("Der Name der Schaltkreisdatei ist leer.");
      return;
    }
    files_.push_back(argument);
  }

  void ReadGradingTable() {
    if (grading_) {
      Fail("--pruefe darf nur einmal vorkommen.");
    }
    grading_ = true;
    if (const auto table = TakeArgument("--pruefe")) {
      request_.table = *table;
    }
  }

  /// Grading runs each file through the table alone; steps of a single run have no place in it.
  RunRequest ReadGrading() {
    if (!request_.steps.empty()) {
      Fail(
          "--pruefe lässt sich nicht mit --set, --run, --reset, --print, --trace oder --save "
          "verbinden.");
    }
    if (files_.empty()) {
      Fail("--pruefe braucht mindestens eine Schaltkreisdatei.");
    }
    if (!error_.empty()) {
      return WithoutSteps(RunRequest::Action::UsageError, error_);
    }
    request_.action = RunRequest::Action::Grade;
    request_.gradedFiles = std::move(files_);
    return std::move(request_);
  }

  /// The argument of `option`. A following long option means the argument was forgotten
  /// ("--save --print" must not write a file called "--print"), so it stays to be read as an
  /// option. An empty argument counts as missing too, since nothing has that name.
  std::optional<std::string> TakeArgument(std::string_view option) {
    if (next_ == arguments_.size() || arguments_[next_].empty() ||
        arguments_[next_].starts_with("--")) {
      Fail("Option " + std::string(option) + " braucht ein Argument.");
      return std::nullopt;
    }
    return arguments_[next_++];
  }

  static RunRequest WithoutSteps(RunRequest::Action action, std::string error) {
    RunRequest request;
    request.action = action;
    request.error = std::move(error);
    return request;
  }

  void Fail(std::string message) {
    if (error_.empty()) {
      error_ = std::move(message);
    }
  }

  std::span<const std::string> arguments_;
  std::size_t next_ = 0;
  RunRequest request_;
  std::string error_;
  std::vector<std::string> files_;
  bool grading_ = false;
  bool printsState_ = false;
  bool showHelp_ = false;
};

}  // namespace

RunRequest ParseRunArguments(std::span<const std::string> arguments) {
  return ArgumentReader(arguments).Read();
}

}  // namespace trivenor
