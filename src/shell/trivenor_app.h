#pragma once

#include <QApplication>
#include <QStringList>
#include <memory>

#include "document/trivenor_doc.h"
#include "shell/crash_recovery.h"
#include "shell/main_frame.h"
#include "shell/print_switches.h"

namespace trivenor {

/// What the application sets once, before any window: the names its settings are kept under,
/// the window icon, Qt's German texts (file dialogs, message box buttons, key names) and the
/// process locale.
void ConfigureApplication(QApplication& application);

/// The program's start-up: one document, one main window with its view, the command line.
class CTrivenorApp {
 public:
  CTrivenorApp() = default;
  CTrivenorApp(const CTrivenorApp&) = delete;
  CTrivenorApp& operator=(const CTrivenorApp&) = delete;

  /// `arguments` as QCoreApplication::arguments() gives them, the program first. Without a
  /// further argument the document starts new and empty; with one, that file is opened. Shows
  /// the main window. Returns false when the file cannot be opened: the failure has been
  /// reported, the window is gone again and the program is to end.
  /// The print switches ("/p FILE", "/pt FILE PRINTER [DRIVER PORT]") print the file without
  /// showing the window and return false too: the program ends with exitCode(). So do the
  /// picture switches ("/b FILE PICTURE", "/ba FILE PICTURE" for the worksheet).
  bool InitInstance(const QStringList& arguments);
  /// What the program returns when InitInstance returned false: 0 after a page was printed
  /// or a picture written, else 1 (the failure has been reported).
  int exitCode() const { return exitCode_; }

  CTrivenorDoc& document() { return document_; }
  /// Null before InitInstance and after it failed.
  CMainFrame* mainFrame() const { return mainFrame_.get(); }
  /// Null before InitInstance, after it failed and when printing.
  CrashRecovery* recovery() const { return recovery_.get(); }

 private:
  CTrivenorDoc document_;  // outlives the window, whose view refers to it
  std::unique_ptr<CMainFrame> mainFrame_;
  std::unique_ptr<CrashRecovery> recovery_;  // goes first: a clean end removes its copy
  int exitCode_ = 1;

  /// The file of a print switch, printed on the printer it asks for. False when reported.
  bool PrintFromCommandLine(const PrintSwitch& print);
};

}  // namespace trivenor
