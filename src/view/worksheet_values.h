#pragma once

#include <string>
#include <utility>
#include <vector>

#include "model/sub_circuit.h"

namespace trivenor {

/// What a worksheet shows where a result would stand: pupils write the value in its place.
inline constexpr char kHiddenValue[] = "?";

/// For a worksheet: while it lives, every output display of `circuit` shows "?" in place of its
/// text, padded with spaces to the text's length so the box keeps about its size. The texts
/// come back when it ends. With `hide` false it changes nothing.
class HiddenDisplayValues {
 public:
  HiddenDisplayValues(SubCircuit& circuit, bool hide);
  ~HiddenDisplayValues();
  HiddenDisplayValues(const HiddenDisplayValues&) = delete;
  HiddenDisplayValues& operator=(const HiddenDisplayValues&) = delete;

 private:
  std::vector<std::pair<Component*, std::string>> saved_;
};

}  // namespace trivenor
