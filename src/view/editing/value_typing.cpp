#include "view/editing/value_typing.h"

#include <bit>
#include <cstdint>
#include <string>

#include "document/undo_step_names.h"
#include "model/number_text.h"
#include "model/virtual_key_codes.h"

namespace trivenor {

void ValueTyping::Start(Port& input) {
  context_.document.editedInput = &input;
  context_.state.valueText.clear();
  context_.state.mode = EditMode::EditingInputValue;
}

// A typed value is saved with the circuit, so it is an undo step, also in a locked circuit where
// typing is all that is allowed. The same value again (to the bit: -0 is not 0 in the file)
// changes nothing and makes no step.
void ValueTyping::Commit() {
  if (Port* input = context_.document.editedInput) {
    const float before = input->value;
    input->value = static_cast<float>(ReadNumber(context_.state.valueText));
    if (std::bit_cast<std::uint32_t>(input->value) != std::bit_cast<std::uint32_t>(before)) {
      context_.document.RecordStep(undo_step::kInputValue);
    }
  }
  context_.state.mode = EditMode::Idle;
}

void ValueTyping::Key(int virtualKey) {
  std::string& text = context_.state.valueText;
  if (virtualKey >= '0' && virtualKey <= '9') {
    text.push_back(static_cast<char>(virtualKey));
  } else if (virtualKey >= vk::kKeypadZero && virtualKey <= vk::kKeypadZero + 9) {
    text.push_back(static_cast<char>('0' + (virtualKey - vk::kKeypadZero)));
  } else if (virtualKey == vk::kBackspace) {
    if (!text.empty()) {
      text.pop_back();
    }
  } else if (virtualKey == vk::kEnter) {
    Commit();
  } else if (virtualKey == vk::kEscape) {
    context_.state.mode = EditMode::Idle;
  } else if (virtualKey == vk::kDelete) {
    if (Port* input = context_.document.editedInput; input != nullptr && context_.Editable()) {
      context_.edit().RemoveTerminal(*input);
      context_.document.SetModifiedFlag();
      context_.document.RecordStep(undo_step::kDeleteInput);
    } else if (input != nullptr) {
      context_.host.ReportLocked();
    }
    context_.state.mode = EditMode::Idle;
  } else if (virtualKey == vk::kKeypadMinus || virtualKey == vk::kMinus) {
    if (text.empty()) {
      text.push_back('-');
    }
  } else if (virtualKey == vk::kKeypadPoint || virtualKey == vk::kComma ||
             virtualKey == vk::kFullStop) {
    text.push_back('.');
  }
}

}  // namespace trivenor
