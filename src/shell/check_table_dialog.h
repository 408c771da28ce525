#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QTableWidget>

#include "checks/check_table_writing.h"
#include "document/trivenor_doc.h"

namespace trivenor {

/// "Prüftabelle erstellen...": the teacher's grid, a column per input and output of the current
/// circuit. The teacher types input rows; "Ausrechnen" fills the outputs from the circuit, which
/// is the reference solution, on a copy of it; every cell stays editable; "Speichern" writes the
/// table next to the circuit's file. Named parts for tests: "task", "grid", "compute", "save".
class CheckTableDialog : public QDialog {
  Q_OBJECT

 public:
  CheckTableDialog(CTrivenorDoc& document, QWidget* parent);

  QTableWidget& grid() const { return *grid_; }
  QLineEdit& task() const { return *task_; }

  void Compute();
  /// True once the table has been written.
  bool Save();

 private:
  /// The grid as a draft, up to its last row with any text.
  CheckTableDraft Draft() const;
  /// Keeps one empty row below the last one with text, for the next row to be typed.
  void GrowIfFull();

  CTrivenorDoc& document_;
  QLineEdit* task_;
  QTableWidget* grid_;
  int inputCount_;
  int outputCount_;
};

}  // namespace trivenor
