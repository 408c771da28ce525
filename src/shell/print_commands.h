#pragma once

#include <QDialog>
#include <QObject>
#include <QPrinter>
#include <QWidget>
#include <functional>

#include "shell/command_actions.h"
#include "view/trivenor_view.h"

namespace trivenor {

/// Reported when a page could not be printed.
inline constexpr char kPrintFailed[] = "Das Dokument konnte nicht gedruckt werden.";

/// A warning box about printing, over `window`.
void WarnAboutPrinting(QWidget& window, const QString& text);

/// Prints the view's circuit as one page on `printer`, as a worksheet ("?" in place of the
/// results) when asked. False when nothing was printed: the document is loading, or the printer
/// (or the PDF file) cannot be opened.
bool PrintOnePage(QPrinter& printer, CTrivenorView& view, bool worksheet = false);

/// "Drucken...", "Seitenansicht" and "Druckereinrichtung..." on the one printer the main window
/// keeps for the whole run, so a printer chosen in the set-up is the one printed on.
class PrintCommands : public QObject {
  Q_OBJECT

 public:
  /// A child of `window`, which parents the dialogs.
  PrintCommands(CTrivenorView& view, QWidget& window);

  /// The print dialog for one page, then the page; "Arbeitsblatt drucken..." prints the
  /// worksheet.
  void Print(bool worksheet = false);
  /// Qt's print preview, showing one page or two facing pages as it did the last time.
  void Preview();
  /// The page set-up of the printer: Qt's for a printer of the platform, PageSetupDialog for
  /// output to a PDF file. What is chosen holds for the following prints and previews.
  void PrintSetup();

  QPrinter& printer() { return printer_; }

  /// Runs a modal dialog and tells whether it was accepted. Tests put their own in place, so
  /// no real print dialog ever opens in them.
  std::function<bool(QDialog&)> runDialog = [](QDialog& dialog) {
    return dialog.exec() == QDialog::Accepted;
  };

 private:
  CTrivenorView& view_;
  QWidget& window_;
  QPrinter printer_;
};

/// Creates the print commands for `window` and connects them to their actions (the toolbar's
/// print button is the action of "Drucken..."), "Arbeitsblatt drucken..." among them.
PrintCommands& ConnectPrintCommands(const CommandActions& actions, CTrivenorView& view,
                                    QWidget& window);

}  // namespace trivenor
