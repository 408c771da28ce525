#include "view/editing/component_placing.h"

#include <algorithm>
#include <optional>
#include <utility>

#include "document/sub_circuit_placing.h"
#include "document/undo_step_names.h"
#include "model/component_kind.h"
#include "model/component_registry.h"

namespace trivenor {

namespace {

/// What `kind` makes from the answer of its dialog; nothing when the dialog was cancelled.
template <typename Answer>
std::unique_ptr<Component> CreateFromAnswer(const ComponentKind& kind,
                                            std::optional<Answer> answer) {
  return answer ? kind.Create(std::move(*answer)) : nullptr;
}

}  // namespace

void ComponentPlacing::Click(int x, int y) {
  if (!context_.Editable()) {
    context_.host.ReportLocked();
    return;  // stays armed
  }
  // Before any dialog, so a cancelled one still leaves the document modified.
  context_.document.SetModifiedFlag();
  if (std::unique_ptr<Component> component = Create(context_.state.modeArg)) {
    const bool subCircuit = component->kind == kind::SubCircuit;
    context_.edit().Place(std::move(component), (x / 10) * 10, ((y - 5) / 10) * 10 + 5);
    context_.document.RecordStep(subCircuit ? undo_step::kPlaceSubCircuit
                                            : undo_step::kPlaceComponent);
  }
  context_.state.mode = EditMode::Idle;
}

std::unique_ptr<Component> ComponentPlacing::Create(int kindCode) {
  const std::optional<ComponentKind> chosen = ComponentKinds().Find(kindCode);
  if (!chosen) {
    return nullptr;
  }
  EditorDialogs& dialogs = context_.host.dialogs();
  switch (chosen->dialog) {
    case PlacingDialog::None:
      return chosen->Create();
    case PlacingDialog::Delay:
      return CreateFromAnswer(*chosen, dialogs.AskDelay(1));
    case PlacingDialog::ConstantText:
      return CreateFromAnswer(*chosen, dialogs.AskConstantText());
    case PlacingDialog::HazardHold:
      return CreateFromAnswer(*chosen, dialogs.AskHazardHold(1));
    case PlacingDialog::GraphSettings:
      return CreateFromAnswer(*chosen, dialogs.AskGraphSettings(GraphSettings{}));
    case PlacingDialog::OutputTexts: {
      // Made before its dialog, which edits its table; inserted only after the dialog, so no
      // pass of the clock meanwhile sees it half set up.
      std::unique_ptr<Component> display = chosen->Create();
      dialogs.EditOutputTexts(static_cast<OutputDisplay&>(*display).texts);
      return display;
    }
    case PlacingDialog::SubCircuitFile:
      return LoadChosenSubCircuit();
  }
  return nullptr;
}

std::unique_ptr<Component> ComponentPlacing::LoadChosenSubCircuit() {
  const SubCircuitListEntry* entry = context_.state.chosenSubCircuit;
  // "Neu" and "Öffnen" empty the list the entry lives in; a stale choice places nothing.
  const auto& list = context_.document.subCircuitList;
  if (entry == nullptr || std::none_of(list.begin(), list.end(), [entry](const auto& listed) {
        return listed.get() == entry;
      })) {
    return nullptr;
  }
  return LoadSubCircuitToPlace(*entry, context_.state.insertDynamic, *context_.document.files);
}

}  // namespace trivenor
