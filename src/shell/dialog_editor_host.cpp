#include "shell/dialog_editor_host.h"

#include "shell/graph_settings_dialog.h"
#include "shell/output_texts_dialog.h"
#include "shell/parameter_dialogs.h"

namespace trivenor {

std::optional<int> DialogEditorHost::AskDelay(int preset) {
  DelayDialog dialog(&window_);
  dialog.SetValue(preset);
  if (dialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return dialog.value();
}

std::optional<std::string> DialogEditorHost::AskConstantText() {
  ValueDialog dialog(&window_);
  if (dialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return dialog.text();
}

std::optional<int> DialogEditorHost::AskHazardHold(int preset) {
  HazardDialog dialog(&window_);
  dialog.SetValue(preset);
  if (dialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return dialog.value();
}

std::optional<GraphSettings> DialogEditorHost::AskGraphSettings(const GraphSettings&) {
  GraphSettingsDialog dialog(&window_);
  dialog.SetValues(GraphPlacingPresets());
  if (dialog.exec() != QDialog::Accepted) {
    return std::nullopt;
  }
  return ToGraphSettings(dialog.values());
}

void DialogEditorHost::EditOutputTexts(std::vector<OutputText>& texts) {
  OutputTextsDialog dialog(texts, &window_);
  dialog.exec();
}

}  // namespace trivenor
