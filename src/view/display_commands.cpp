#include "view/display_commands.h"

#include <optional>

#include "document/undo_step_names.h"

namespace trivenor {
namespace {

// A component wins over a port: a right press on a junction selects its port but leaves the
// component clicked before selected, and the commands keep acting on that component. Only a pen
// that really changes is an undo step; without a selection the document is just marked modified.
void RestyleSelection(CTrivenorDoc& document, std::optional<Colour> colour,
                      std::optional<int> thickness, const char* step) {
  auto change = [&](auto& selected) {
    const Colour newColour = colour.value_or(selected.colour);
    const int newThickness = thickness.value_or(static_cast<int>(selected.thickness));
    if (newColour != selected.colour || newThickness != selected.thickness) {
      document.edit().Restyle(selected, newColour, newThickness);
      document.RecordStep(step);
    }
  };
  if (document.selectedComponent != nullptr) {
    change(*document.selectedComponent);
  } else if (document.selectedPort != nullptr) {
    change(*document.selectedPort);
  }
  document.SetModifiedFlag();
}

}  // namespace

void ApplyColour(CTrivenorDoc& document, Colour colour) {
  RestyleSelection(document, colour, std::nullopt, undo_step::kColour);
}

void ApplyThickness(CTrivenorDoc& document, int thickness) {
  RestyleSelection(document, std::nullopt, thickness, undo_step::kThickness);
}

void ApplyCanvasFont(CTrivenorDoc& document, const FontRecord& record) {
  const bool changed = document.settings.canvasFont != record;
  document.settings.canvasFont = record;
  if (changed) {
    document.RecordStep(undo_step::kCanvasFont);
  }
  document.SetModifiedFlag();
}

}  // namespace trivenor
