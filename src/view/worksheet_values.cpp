#include "view/worksheet_values.h"

#include <algorithm>

#include "model/component_kind.h"
#include "model/utf8_text.h"

namespace trivenor {

HiddenDisplayValues::HiddenDisplayValues(SubCircuit& circuit, bool hide) {
  if (!hide) {
    return;
  }
  for (const auto& component : circuit.components) {
    if (component->kind != kind::OutputDisplay) {
      continue;
    }
    const int padding = std::max(CharacterCount(component->label) - 1, 0);
    std::string hidden = std::string(static_cast<std::size_t>(padding / 2), ' ') + kHiddenValue +
                         std::string(static_cast<std::size_t>(padding - padding / 2), ' ');
    saved_.emplace_back(component.get(), std::exchange(component->label, std::move(hidden)));
  }
}

HiddenDisplayValues::~HiddenDisplayValues() {
  for (auto& [component, label] : saved_) {
    component->label = std::move(label);
  }
}

}  // namespace trivenor
