#include "view/display_commands.h"

namespace trivenor {
namespace {

// A component wins over a port: a right press on a junction selects its port but leaves the
// component clicked before selected, and the commands keep acting on that component.
template <typename Change>
void ChangeSelection(CTrivenorDoc& document, Change change) {
  if (document.selectedComponent != nullptr) {
    change(*document.selectedComponent);
  } else if (document.selectedPort != nullptr) {
    change(*document.selectedPort);
  }
  document.SetModifiedFlag();
}

}  // namespace

void ApplyColour(CTrivenorDoc& document, Colour colour) {
  ChangeSelection(document, [&document, colour](auto& selected) {
    document.edit().Restyle(selected, colour, selected.thickness);
  });
}

void ApplyThickness(CTrivenorDoc& document, int thickness) {
  ChangeSelection(document, [&document, thickness](auto& selected) {
    document.edit().Restyle(selected, selected.colour, thickness);
  });
}

void ApplyCanvasFont(CTrivenorDoc& document, const FontRecord& record) {
  document.settings.canvasFont = record;
  document.SetModifiedFlag();
}

}  // namespace trivenor
