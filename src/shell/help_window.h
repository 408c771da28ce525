#pragma once

#include <QDialog>
#include <QPointer>
#include <QString>

#include "shell/command_actions.h"

class QTextBrowser;

namespace trivenor {

/// The program's help: one German page bundled with the program, shown in a window of its own
/// beside the editor, so a child can keep it open while building.
class HelpWindow : public QDialog {
  Q_OBJECT

 public:
  explicit HelpWindow(QWidget* parent = nullptr);

  /// Scrolls to the section named `anchor`; an empty anchor shows the top with the contents.
  void ShowSection(const QString& anchor);
  /// The shown page's address, for tests.
  QString CurrentSource() const;

 private:
  QTextBrowser* browser_;
};

/// What "Hilfethemen" and F1 open: one help window per main window, created on first use and
/// brought to the front afterwards. Shift+F1 asks "what is this?" about the next thing clicked.
class HelpCommands : public QObject {
  Q_OBJECT

 public:
  explicit HelpCommands(QWidget& owner);

  void ShowContents();
  void EnterContextHelp();
  HelpWindow* window() const { return window_; }

 private:
  QWidget& owner_;
  QPointer<HelpWindow> window_;
};

/// Connects "Hilfethemen", F1 and Shift+F1 to `help`, and gives every command and the canvas the
/// text context help shows for them: a command's status-bar prompt.
void ConnectHelpCommands(HelpCommands& help, const CommandActions& actions, QWidget& canvas);

}  // namespace trivenor
