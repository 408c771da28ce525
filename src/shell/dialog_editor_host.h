#pragma once

#include <QObject>
#include <QWidget>

#include "view/editor_dialogs.h"

namespace trivenor {

/// Opens the placing click's parameter dialogs as modal children of `window`, which also owns
/// the host: "Delay" and "HAZARD" preset with 1, "Wert Eingeben" empty, "Graphenfenster" with the
/// placing presets, "Ausgabetexte" on the new display's table.
class DialogEditorHost : public QObject, public EditorDialogs {
  Q_OBJECT

 public:
  explicit DialogEditorHost(QWidget& window) : QObject(&window), window_(window) {}

  std::optional<int> AskDelay(int preset) override;
  std::optional<std::string> AskConstantText() override;
  std::optional<int> AskHazardHold(int preset) override;
  /// The dialog starts from its own placing presets; `presets` is not consulted.
  std::optional<GraphSettings> AskGraphSettings(const GraphSettings& presets) override;
  void EditOutputTexts(std::vector<OutputText>& texts) override;

 private:
  QWidget& window_;
};

}  // namespace trivenor
