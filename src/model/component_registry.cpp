#include "model/component_registry.h"

#include <algorithm>
#include <stdexcept>
#include <string>

namespace trivenor {

void ComponentRegistry::Register(const ComponentKind& kind) {
  for (const int key : kind.keys) {
    if (key != 0 && ForKey(key) != nullptr) {
      throw std::logic_error("key " + std::to_string(key) + " arms two kinds");
    }
  }
  if (!named_.emplace(kind.code, kind).second) {
    throw std::logic_error("kind " + std::to_string(kind.code) + " registered twice");
  }
}

void ComponentRegistry::RegisterRange(int lowest, int highest, const ComponentKind& unnamed) {
  ranges_.push_back({lowest, highest, unnamed});
}

std::optional<ComponentKind> ComponentRegistry::Find(int code) const {
  if (const auto named = named_.find(code); named != named_.end()) {
    return named->second;
  }
  for (const Range& range : ranges_) {
    if (code >= range.lowest && code <= range.highest) {
      ComponentKind kind = range.unnamed;
      kind.code = code;
      return kind;
    }
  }
  return std::nullopt;
}

const ComponentKind* ComponentRegistry::ForKey(int virtualKey) const {
  if (virtualKey == 0) {
    return nullptr;  // what fills the key list of kinds with fewer keys
  }
  for (const auto& [code, kind] : named_) {
    if (std::find(kind.keys.begin(), kind.keys.end(), virtualKey) != kind.keys.end()) {
      return &kind;
    }
  }
  return nullptr;
}

std::vector<const ComponentKind*> ComponentRegistry::OnPalette(PaletteKind palette) const {
  std::vector<const ComponentKind*> offered;
  for (const auto& [code, kind] : named_) {
    if (kind.OnPalette(palette)) {
      offered.push_back(&kind);
    }
  }
  return offered;
}

const char* ComponentRegistry::Label(int code, ComponentClass componentClass) const {
  const std::optional<ComponentKind> kind = Find(code);
  return kind && kind->componentClass == componentClass ? kind->label : "";
}

}  // namespace trivenor
