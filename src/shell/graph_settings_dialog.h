#pragma once

#include <QButtonGroup>
#include <QDialog>
#include <QLineEdit>
#include <QPoint>
#include <QRect>
#include <QString>
#include <array>

#include "model/graph_plot.h"
#include "shell/dialog_units.h"
#include "shell/field_rules.h"

namespace trivenor {

/// What "Graphenfenster" asks for, as whole numbers. A radio group holds the index of its chosen
/// button, -1 while none is chosen. The defaults are the dialog's own, not the placing click's.
struct GraphDialogValues {
  int xScaleMode = -1;  ///< "Skalierung X": 0 "automatisch", 1 "manuell"
  int yScaleMode = -1;  ///< "Skalierung Y": 0 "automatisch", 1 "manuell"
  int xMax = 0;
  int yMax = 0;
  int xMin = 0;
  int yMin = 0;
  int pointCount = 0;
  int plotMode = -1;  ///< 0 "Fortlaufend (1.Port=y)", 1 "Abbildung (1.Port=y, 2.Port=x)"
  int widthChars = 0;
  int heightLines = 0;
  int recordPeriod = 0;
};

/// What the click placing a graph presets: "Fortlaufend", both axes automatic (manual ranges
/// -1 to 1), 4 lines by 4 characters, 100 points, a sample every 20 ticks.
GraphDialogValues GraphPlacingPresets();

/// The settings for the GraphPlot constructor. Only button 0 of a group counts as its first
/// choice, so a group left without a choice means "Abbildung" or manual scaling.
GraphSettings ToGraphSettings(const GraphDialogValues& values);

/// "Graphenfenster": the fixed shape of a graph about to be placed. The caller presets the
/// values, runs exec() and reads them back only when it returned QDialog::Accepted. "OK" reads
/// every number field, whatever the scaling choice, in a fixed order; the first refused field
/// shows its warning, gets the focus back and keeps the dialog open, and nothing is taken over.
/// The fields and radio buttons carry the member names as object names ("pointCount",
/// "plotMode0", "plotMode1", ...), the buttons "ok" and "cancel", for tests.
class GraphSettingsDialog : public QDialog {
  Q_OBJECT

 public:
  explicit GraphSettingsDialog(QWidget* parent = nullptr);

  const GraphDialogValues& values() const { return values_; }
  /// Takes `values` over and shows them in the controls.
  void SetValues(const GraphDialogValues& values);

  void accept() override;

 private:
  struct RadioGroup {
    int GraphDialogValues::*member;
    QButtonGroup* buttons;
  };
  struct NumberField {
    int GraphDialogValues::*member;
    QLineEdit* edit;
    WholeNumberRange range;
  };

  void AddGroupBox(const QString& title, const QRect& where);
  void AddLabel(const QString& text, QPoint where);
  QButtonGroup* AddRadioGroup(const char* name, const QString& first, QPoint first_at,
                              const QString& second, QPoint second_at);
  QLineEdit* AddField(const char* name, const QRect& where);

  DialogUnits units_;
  GraphDialogValues values_;
  std::array<RadioGroup, 3> radioGroups_;
  /// In the order "OK" reads them.
  std::array<NumberField, 8> numberFields_;
};

}  // namespace trivenor
