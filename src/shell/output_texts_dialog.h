#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QListWidget>
#include <QString>
#include <vector>

#include "model/output_display.h"

namespace trivenor {

/// "Ausgabetexte": fills the text table of a display that is being placed. The list shows one
/// row "value: text" per entry; "Neu" appends the two fields as typed, "Löschen" removes the
/// selected row. "OK" replaces the table with the rows in reverse order (the last row becomes
/// the first entry, so of two rows with the same value the lower one is found first);
/// "Abbrechen" leaves the table alone. There is no check and no message: a value that is not a
/// number becomes 0.
/// The widgets carry the object names "list", "value", "text", "new", "delete", "ok" and
/// "cancel" for tests.
class OutputTextsDialog : public QDialog {
  Q_OBJECT

 public:
  /// `texts` must outlive the dialog.
  explicit OutputTextsDialog(std::vector<OutputText>& texts, QWidget* parent = nullptr);

  void accept() override;

 private:
  void AppendRow(const QString& value_text, const QString& text);
  void AppendTypedRow();
  void DeleteSelectedRow();

  std::vector<OutputText>& texts_;
  QListWidget* list_;
  QLineEdit* valueField_;
  QLineEdit* textField_;
};

}  // namespace trivenor
