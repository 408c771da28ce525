#include "model/output_display.h"

#include "model/component_kind.h"
#include "model/number_text.h"

namespace trivenor {

namespace {

/// Characters, not bytes: the clock widens the repainted box by this many character cells.
int CharacterCount(const std::string& utf8) {
  int count = 0;
  for (const char c : utf8) {
    if ((static_cast<unsigned char>(c) & 0xC0u) != 0x80u) {
      ++count;
    }
  }
  return count;
}

}  // namespace

OutputDisplay::OutputDisplay() : Component(kind::OutputDisplay) {
  lastRow = 1;
  AddInput(0);
  textLength = 0;
}

bool OutputDisplay::Evaluate() {
  const Port& in = *inputs[0];
  if (!in.valid) {
    label = "xxx";
    return true;
  }
  textLength = CharacterCount(label);
  for (const OutputText& entry : texts) {
    if (entry.value == in.value) {
      label = entry.text;
      return true;
    }
  }
  label = FormatValue(in.value);
  return true;
}

}  // namespace trivenor
