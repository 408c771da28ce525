#pragma once

#include <cstdint>

#include "document/archive.h"

namespace trivenor {

/// `value`, provided it lies from `lowest` to `highest`: a file that holds anything else there is
/// nothing a writer produces.
inline std::int32_t Checked(std::int32_t value, std::int32_t lowest, std::int32_t highest) {
  if (value < lowest || value > highest) {
    throw FormatError();
  }
  return value;
}

}  // namespace trivenor
