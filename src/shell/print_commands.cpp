#include "shell/print_commands.h"

#include <QAction>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>

#include "shell/page_setup_dialog.h"
#include "shell/settings.h"

namespace trivenor {
namespace {

// Through the dialog's own buttons, so its toolbar shows the mode that is in effect.
void ShowPreviewPages(QPrintPreviewDialog& dialog, int pages) {
  const QString name =
      pages == 2 ? QStringLiteral("facingModeAction") : QStringLiteral("singleModeAction");
  if (auto* mode = dialog.findChild<QAction*>(name)) {
    mode->trigger();
  }
}

int ShownPreviewPages(const QPrintPreviewDialog& dialog) {
  const auto* preview = dialog.findChild<QPrintPreviewWidget*>();
  return preview != nullptr && preview->viewMode() == QPrintPreviewWidget::FacingPagesView ? 2 : 1;
}

}  // namespace

void WarnAboutPrinting(QWidget& window, const QString& text) {
  QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(), text,
                  QMessageBox::Ok, &window);
  box.exec();
}

bool PrintOnePage(QPrinter& printer, CTrivenorView& view, bool worksheet) {
  // Checked before the job starts: a loading document must not leave an empty page behind.
  if (view.document().loading) {
    return false;
  }
  QPainter painter;
  if (!painter.begin(&printer)) {
    return false;
  }
  const bool printed = view.PrintPage(painter, worksheet);
  return painter.end() && printed;
}

PrintCommands::PrintCommands(CTrivenorView& view, QWidget& window)
    : QObject(&window), view_(view), window_(window) {}

void PrintCommands::Print(bool worksheet) {
  QPrintDialog dialog(&printer_, &window_);
  dialog.setMinMax(1, 1);
  if (runDialog(dialog) && !PrintOnePage(printer_, view_, worksheet)) {
    WarnAboutPrinting(window_, QString::fromUtf8(kPrintFailed));
  }
}

void PrintCommands::Preview() {
  QPrintPreviewDialog dialog(&printer_, &window_);
  // The page preview takes the place of the window, as large as the window itself.
  dialog.resize(window_.size());
  // Also called when the page is printed from the preview's own print button.
  connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter* printer) {
    if (!PrintOnePage(*printer, view_)) {
      WarnAboutPrinting(window_, QString::fromUtf8(kPrintFailed));
    }
  });
  ShowPreviewPages(dialog, PreviewPages());
  runDialog(dialog);
  SetPreviewPages(ShownPreviewPages(dialog));
}

void PrintCommands::PrintSetup() {
  if (printer_.outputFormat() == QPrinter::NativeFormat) {
    QPageSetupDialog dialog(&printer_, &window_);
    runDialog(dialog);
    return;
  }
  // Qt's page set-up is made for the platform's printers only and says it cannot be used on
  // others: output to a PDF file, all there is without a printer, is set up in a dialog of our
  // own.
  PageSetupDialog dialog(printer_, &window_);
  if (runDialog(dialog)) {
    dialog.ApplyTo(printer_);
  }
}

PrintCommands& ConnectPrintCommands(const CommandActions& actions, CTrivenorView& view,
                                    QWidget& window) {
  auto* commands = new PrintCommands(view, window);
  QObject::connect(&actions[kFilePrint], &QAction::triggered, commands,
                   [commands] { commands->Print(); });
  QObject::connect(&actions[kPrintWorksheet], &QAction::triggered, commands,
                   [commands] { commands->Print(true); });
  QObject::connect(&actions[kFilePrintPreview], &QAction::triggered, commands,
                   &PrintCommands::Preview);
  QObject::connect(&actions[kFilePrintSetup], &QAction::triggered, commands,
                   &PrintCommands::PrintSetup);
  return *commands;
}

}  // namespace trivenor
