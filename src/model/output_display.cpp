#include "model/output_display.h"

#include "model/component_kind.h"
#include "model/number_text.h"
#include "model/utf8_text.h"

namespace trivenor {

OutputDisplay::OutputDisplay() : Component(kind::OutputDisplay) {
  lastRow = 1;
  AddInput(0);
}

bool OutputDisplay::Evaluate() {
  const Port& in = *inputs[0];
  if (!in.valid) {
    label = "xxx";
    return true;
  }
  // Characters, not bytes: the clock widens the repainted box by this many character cells.
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
