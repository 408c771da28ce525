#pragma once

#include <QApplication>
#include <QStringList>
#include <memory>

#include "document/trivenor_doc.h"
#include "shell/main_frame.h"

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
  bool InitInstance(const QStringList& arguments);

  CTrivenorDoc& document() { return document_; }
  /// Null before InitInstance and after it failed.
  CMainFrame* mainFrame() const { return mainFrame_.get(); }

 private:
  CTrivenorDoc document_;  // outlives the window, whose view refers to it
  std::unique_ptr<CMainFrame> mainFrame_;
};

}  // namespace trivenor
