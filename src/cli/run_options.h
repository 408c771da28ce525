#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <variant>
#include <vector>

namespace trivenor {

/// `--set ROW=VALUE`: the circuit input terminal in slot `row` takes `value`.
struct SetInputStep {
  int row = 0;
  float value = 0.0f;
  bool operator==(const SetInputStep&) const = default;
};

/// `--run N`: N evaluation passes of the top circuit.
struct RunPassesStep {
  std::uint64_t count = 0;
  bool operator==(const RunPassesStep&) const = default;
};

/// `--reset`: what the editor's "Reset" command does.
struct ResetStep {
  bool operator==(const ResetStep&) const = default;
};

/// `--print`: the state block, once.
struct PrintStep {
  bool operator==(const PrintStep&) const = default;
};

/// `--trace`: the state block now and after every later pass.
struct TraceStep {
  bool operator==(const TraceStep&) const = default;
};

/// `--save PATH`: the document as it is now, written to `path`.
struct SaveStep {
  std::string path;
  bool operator==(const SaveStep&) const = default;
};

using RunStep =
    std::variant<SetInputStep, RunPassesStep, ResetStep, PrintStep, TraceStep, SaveStep>;

/// What the command line asks for once it has been read completely.
struct RunRequest {
  enum class Action { Run, Grade, ShowHelp, UsageError };

  Action action = Action::UsageError;
  std::string file;  ///< the circuit file to load
  /// For Grade (`--pruefe TABELLE DATEI...`): the table, the circuit files in command-line order
  /// and the class overview to write (`--csv`, empty for none).
  std::string table;
  std::vector<std::string> gradedFiles;
  std::string overview;
  /// In command-line order. When the command line names neither `--print` nor `--trace`, a
  /// final PrintStep is appended, so the list says everything that will happen.
  std::vector<RunStep> steps;
  std::string error;  ///< for UsageError: what is wrong, in German
};

/// Reads the arguments after the program name. Nothing is carried out here, so a usage error
/// anywhere on the line is found before the circuit is touched. `--help` (or `-h`) anywhere as
/// an option wins over everything else, errors included.
RunRequest ParseRunArguments(std::span<const std::string> arguments);

}  // namespace trivenor
