#pragma once

#include <string>

namespace trivenor {

/// The short reminder printed to stderr after a usage error.
std::string UsageText();

/// The full explanation `--help` prints to stdout.
std::string HelpText();

}  // namespace trivenor
