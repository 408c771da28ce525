#pragma once

#include <ostream>
#include <span>
#include <string>

#include "document/circuit_files.h"

namespace trivenor {

/// The exit statuses of trivenor-run.
namespace run_status {
inline constexpr int kSuccess = 0;
/// A bad command line, or `--set` naming a slot without an input terminal; with `--pruefe`: a
/// check failed.
inline constexpr int kUsageError = 1;
inline constexpr int kChecksFailed = 1;
/// A file cannot be opened or written (the output included); with `--pruefe` also a table or
/// circuit that cannot be read.
inline constexpr int kFileError = 2;
/// The circuit file is malformed.
inline constexpr int kBadFormat = 3;
}  // namespace run_status

/// Carries out a trivenor-run command line (the arguments after the program name): loads the
/// circuit file as the editor opens it, then runs the steps left to right, writing the state
/// blocks to `out` and every message to `err`. Dynamic sub-circuits are read through `files`.
/// Returns the exit status; after a usage error nothing has been written to `out`.
int RunCommandLine(std::span<const std::string> arguments, std::ostream& out, std::ostream& err,
                   FileReader& files);

}  // namespace trivenor
