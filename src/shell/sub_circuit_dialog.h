#pragma once

#include <QCheckBox>
#include <QDialog>
#include <QListWidget>
#include <QPointer>
#include <QString>
#include <functional>

#include "document/trivenor_doc.h"
#include "view/trivenor_view.h"

namespace trivenor {

/// Asks for a circuit file to read; an empty answer means cancelled. Tests put their own in place
/// of Qt's file dialog.
using AskCircuitPath = std::function<QString(QWidget* parent)>;

/// "Subschaltkreise einfügen": the modeless list of circuit files offered for insertion. "Laden"
/// adds a file to the document's list (without reading it), "Löschen" removes the selected one,
/// "Einfügen" arms the view to place the selected file once, as a copy or, with "Dynamisch", as
/// a dynamic sub-circuit. Each line refers to its entry of the document's list, never by index.
/// Leaving the screen and being destroyed end any placing the dialog armed.
/// The widgets carry the object names "list", "insert", "load", "delete" and "dynamic" for tests.
class SubCircuitDialog : public QDialog {
  Q_OBJECT

 public:
  /// `view` reaches the document; `owner` (the main window) parents the dialog.
  SubCircuitDialog(CTrivenorView& view, AskCircuitPath askPath, QWidget& owner);
  ~SubCircuitDialog() override;

  /// The close box and Escape only hide the dialog; the document keeps it until it is replaced.
  void reject() override;

 private:
  void Load();
  void Delete();
  void Insert();

  QListWidgetItem* SelectedLine() const;
  /// The line's entry, or null when it is no longer in the document's list.
  SubCircuitListEntry* EntryOf(const QListWidgetItem& line) const;
  void InsertLine(int position, const SubCircuitListEntry& entry);
  void EndPlacing();

  /// Buttons are pressed only while the main window, and so the view, exists; but the view may
  /// be destroyed before the dialog when the main window is torn down.
  QPointer<CTrivenorView> view_;
  CTrivenorDoc& document_;
  AskCircuitPath askPath_;
  QListWidget* list_;
  QCheckBox* dynamic_;
};

}  // namespace trivenor
