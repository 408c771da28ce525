#include "shell/trivenor_app.h"

#include <QIcon>
#include <QLibraryInfo>
#include <QPrinter>
#include <QStatusBar>
#include <QTranslator>
#include <clocale>
#include <cstdlib>
#include <optional>

#include "shell/picture_commands.h"
#include "shell/print_commands.h"
#include "shell/settings.h"

namespace trivenor {

void ConfigureApplication(QApplication& application) {
  QCoreApplication::setOrganizationName(QString::fromLatin1(kOrganizationName));
  QCoreApplication::setApplicationName(QString::fromLatin1(kApplicationName));
  QApplication::setWindowIcon(QIcon(QStringLiteral(":/trivenor.xpm")));

  // Without the catalogue (package qt6-translations-l10n) Qt's own texts stay English; the
  // program still works.
  auto* qtTexts = new QTranslator(&application);
  if (qtTexts->load(QStringLiteral("qtbase_de"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(qtTexts);
  }

  // The process runs in the user's locale like any desktop program. The circuit's numbers are
  // read and written without the C library's locale-dependent functions, precisely so that
  // this cannot turn "0.5" into "0,5" in a file or a display.
  std::setlocale(LC_ALL, "");
}

bool CTrivenorApp::InitInstance(const QStringList& arguments) {
  exitCode_ = EXIT_FAILURE;
  mainFrame_ = std::make_unique<CMainFrame>(document_);
  if (const std::optional<PrintSwitch> print = ParsePrintSwitch(arguments)) {
    exitCode_ = PrintFromCommandLine(*print) ? EXIT_SUCCESS : EXIT_FAILURE;
    mainFrame_.reset();
    return false;
  }
  if (const std::optional<PictureSwitch> picture = ParsePictureSwitch(arguments)) {
    exitCode_ = ExportFromCommandLine(*mainFrame_, *picture) ? EXIT_SUCCESS : EXIT_FAILURE;
    mainFrame_.reset();
    return false;
  }
  DocumentCommands& files = mainFrame_->documentCommands();
  recovery_ = std::make_unique<CrashRecovery>(document_, DefaultRecoveryFolder());
  QObject::connect(&files, &DocumentCommands::documentReplaced, recovery_.get(),
                   &CrashRecovery::DocumentLeft);
  QObject::connect(&files, &DocumentCommands::titleChanged, recovery_.get(),
                   &CrashRecovery::DocumentLeft);
  QObject::connect(
      recovery_.get(), &CrashRecovery::failed, mainFrame_->statusBar(),
      [bar = mainFrame_->statusBar()](const QString& text) { bar->showMessage(text); });
  if (recovery_->OfferLeftCopies(*mainFrame_, files)) {
    // The recovered circuit is the document, whatever the command line names.
  } else if (arguments.size() < 2) {
    files.New();
  } else if (files.OpenFile(arguments[1]) != DocumentCommands::OpenResult::Opened) {
    recovery_.reset();
    mainFrame_.reset();
    return false;
  }
  recovery_->Start();
  mainFrame_->show();
  return true;
}

bool CTrivenorApp::PrintFromCommandLine(const PrintSwitch& print) {
  QPrinter printer;
  if (const QString missing = ChoosePrinter(print, printer); !missing.isEmpty()) {
    WarnAboutPrinting(*mainFrame_, missing);
    return false;
  }
  if (mainFrame_->documentCommands().OpenFile(print.file) != DocumentCommands::OpenResult::Opened) {
    return false;
  }
  if (!PrintOnePage(printer, mainFrame_->view())) {
    WarnAboutPrinting(*mainFrame_, QString::fromUtf8(kPrintFailed));
    return false;
  }
  return true;
}

}  // namespace trivenor
