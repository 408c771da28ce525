#pragma once

#include <QLabel>
#include <QMainWindow>
#include <QToolBar>

#include "document/trivenor_doc.h"
#include "shell/command_actions.h"
#include "shell/document_commands.h"
#include "shell/lock_indicators.h"
#include "shell/palette_slots.h"
#include "shell/recent_files_menu.h"
#include "view/trivenor_view.h"

namespace trivenor {

/// The one main window: menu bar, toolbar (movable, dockable on every side), status bar with the
/// message pane and the lock indicators, and the view of the document in the middle. It routes
/// the menu commands to their handlers and keeps the title "<document> - Trivenor" current, with
/// " [gesperrt]" after the name while the circuit is locked. It asks to save a modified document
/// before it closes.
class CMainFrame : public QMainWindow {
  Q_OBJECT

 public:
  /// What the message pane shows while no command is hovered.
  static constexpr char kIdleMessage[] = "Drücken Sie F1, um Hilfe zu erhalten.";
  /// What the status bar says for a while when the lock refuses an edit.
  static constexpr char kLockedMessage[] = "Der Schaltkreis ist gesperrt.";
  static constexpr int kLockedMessageMilliseconds = 4000;

  /// `document` must outlive the window.
  explicit CMainFrame(CTrivenorDoc& document, QWidget* parent = nullptr);

  CTrivenorView& view() const { return *view_; }
  DocumentCommands& documentCommands() const { return *documentCommands_; }
  QAction& action(CommandId id) const { return actions_[id]; }
  QToolBar& toolBar() const { return *toolBar_; }
  QLabel& messagePane() const { return *messagePane_; }
  LockIndicatorPanes& lockIndicators() const { return *lockIndicators_; }
  PaletteSlots& palettes() const { return *palettes_; }

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void CreateToolBar();
  void CreateStatusBar();
  void ConnectCommands();
  void ConnectPalettes();
  /// The status bar tells when the lock refuses an edit; the title carries the lock.
  void ConnectLockFeedback();
  /// After "Neu" and every open that emptied the document.
  void ShowNewContents();
  void UpdateTitle();

  void OnSpeed();
  void OnCanvasWidth();
  void OnAbout();

  CTrivenorDoc& document_;
  CTrivenorView* view_;
  CommandActions actions_;
  QToolBar* toolBar_ = nullptr;
  QLabel* messagePane_ = nullptr;
  LockIndicatorPanes* lockIndicators_ = nullptr;
  DocumentCommands* documentCommands_;
  RecentFilesMenu* recentFilesMenu_ = nullptr;
  PaletteSlots* palettes_ = nullptr;
};

}  // namespace trivenor
