#include "shell/main_frame.h"

#include <QCloseEvent>
#include <QMenuBar>
#include <QStatusBar>

#include "shell/about_dialog.h"
#include "shell/check_commands.h"
#include "shell/circuit_info_dialog.h"
#include "shell/classroom_commands.h"
#include "shell/dialog_editor_host.h"
#include "shell/display_command_slots.h"
#include "shell/help_window.h"
#include "shell/main_window_keys.h"
#include "shell/parameter_dialogs.h"
#include "shell/picture_commands.h"
#include "shell/print_commands.h"
#include "shell/settings.h"
#include "shell/sub_circuit_commands.h"
#include "shell/undo_commands.h"

namespace trivenor {

CMainFrame::CMainFrame(CTrivenorDoc& document, QWidget* parent)
    : QMainWindow(parent),
      document_(document),
      view_(new CTrivenorView(document, this)),
      actions_(*this),
      documentCommands_(new DocumentCommands(document, *this)) {
  setCentralWidget(view_);
  // The keys place components from the first moment on, before any click on the canvas.
  view_->setFocus();
  view_->SetDialogHost(new DialogEditorHost(*this));  // owned by the frame, created after the view
  actions_.BuildMenuBar(*menuBar());
  CreateToolBar();
  CreateStatusBar();
  recentFilesMenu_ = new RecentFilesMenu(actions_.MenuOf(kFileRecent), actions_[kFileRecent]);
  recentFilesMenu_->Show(documentCommands_->recentFiles().paths());
  ConnectCommands();
  new MainWindowKeys(*this, actions_);  // owned by the frame
  resize(800, 600);
  UpdateTitle();
}

void CMainFrame::CreateToolBar() {
  toolBar_ = new QToolBar(QStringLiteral("Symbolleiste"), this);
  toolBar_->setObjectName(QStringLiteral("toolBar"));
  toolBar_->setIconSize(QSize(16, 15));
  toolBar_->setMovable(true);
  toolBar_->setFloatable(true);
  toolBar_->setAllowedAreas(Qt::AllToolBarAreas);
  actions_.BuildToolBar(*toolBar_);
  addToolBar(Qt::TopToolBarArea, toolBar_);
}

void CMainFrame::CreateStatusBar() {
  // A normal (not permanent) widget: the status bar hides it while it shows a command's prompt
  // and brings it back afterwards, which is exactly the idle message's part.
  messagePane_ = new QLabel(QString::fromUtf8(kIdleMessage), statusBar());
  statusBar()->addWidget(messagePane_, 1);
  lockIndicators_ = new LockIndicatorPanes(*statusBar());
}

void CMainFrame::ConnectCommands() {
  DocumentCommands* files = documentCommands_;
  connect(&actions_[kFileNew], &QAction::triggered, files, &DocumentCommands::New);
  connect(&actions_[kFileOpen], &QAction::triggered, files, &DocumentCommands::Open);
  connect(&actions_[kFileSave], &QAction::triggered, files, &DocumentCommands::Save);
  connect(&actions_[kFileSaveAs], &QAction::triggered, files, &DocumentCommands::SaveAs);
  connect(&actions_[kAppExit], &QAction::triggered, this, &QWidget::close);
  connect(recentFilesMenu_, &RecentFilesMenu::openRequested, files, &DocumentCommands::OpenRecent);
  connect(files, &DocumentCommands::documentReplaced, this, &CMainFrame::ShowNewContents);
  connect(files, &DocumentCommands::titleChanged, this, &CMainFrame::UpdateTitle);
  connect(files, &DocumentCommands::recentFilesChanged, this,
          [this] { recentFilesMenu_->Show(documentCommands_->recentFiles().paths()); });

  QAction& toolBarItem = actions_[kViewToolbar];
  toolBarItem.setChecked(true);
  connect(&toolBarItem, &QAction::toggled, toolBar_, &QWidget::setVisible);
  // The toolbar can also be closed while floating, or from the window's context menu.
  connect(toolBar_, &QToolBar::visibilityChanged, &toolBarItem, &QAction::setChecked);
  QAction& statusBarItem = actions_[kViewStatusBar];
  statusBarItem.setChecked(true);
  connect(&statusBarItem, &QAction::toggled, statusBar(), &QWidget::setVisible);

  connect(&actions_[kSpeed], &QAction::triggered, this, &CMainFrame::OnSpeed);
  connect(&actions_[kCanvasWidth], &QAction::triggered, this, &CMainFrame::OnCanvasWidth);
  connect(&actions_[kReset], &QAction::triggered, view_, &CTrivenorView::OnReset);
  connect(&actions_[kAppAbout], &QAction::triggered, this, &CMainFrame::OnAbout);
  ConnectPalettes();
  ConnectSubCircuitCommands(document_, *view_, actions_, *this);
  ConnectDisplayCommands(actions_, *view_, *this);
  ConnectCircuitInfo(actions_[kCircuitInfo], document_, *this);
  ConnectUndoCommands(document_, *view_, actions_, *this);
  ConnectCheckCommands(document_, *documentCommands_, actions_, *this);
  ConnectLockFeedback();

  ConnectPrintCommands(actions_, *view_, *this);
  ConnectPictureCommands(actions_, *view_, *this);
  ConnectClassroomCommands(actions_, *view_);

  // Owned by the frame through its QObject parent.
  ConnectHelpCommands(*new HelpCommands(*this), actions_, *view_);
}

void CMainFrame::ConnectPalettes() {
  CTrivenorView* view = view_;
  palettes_ = new PaletteSlots(*this, [view](int kind) { view->ArmPlacing(kind); });
  const auto open = [this](CommandId command, PaletteKind kind) {
    connect(&actions_[command], &QAction::triggered, palettes_,
            [this, kind] { palettes_->Open(kind); });
  };
  open(kPaletteArithmetic, PaletteKind::Arithmetic);
  open(kPaletteBasic, PaletteKind::BasicFunctions);
  open(kPaletteAll, PaletteKind::AllFunctions);

  // "Neu" and "Öffnen" take the palettes off the screen. Chained after whatever else the
  // document closes, and guarded: the document may outlive this window.
  QPointer<PaletteSlots> palettes = palettes_;
  document_.closeModelessDialogs = [palettes,
                                    closeOthers = std::move(document_.closeModelessDialogs)] {
    if (closeOthers) {
      closeOthers();
    }
    if (palettes) {
      palettes->CloseAll();
    }
  };
}

void CMainFrame::ConnectLockFeedback() {
  connect(view_, &CTrivenorView::lockRefused, this, [this] {
    statusBar()->showMessage(QString::fromUtf8(kLockedMessage), kLockedMessageMilliseconds);
  });
  // Locking and unlocking are steps of the history, and so is every open: the title follows.
  QPointer<CMainFrame> frame = this;
  document_.historyChanged = [frame, tellOthers = std::move(document_.historyChanged)] {
    if (tellOthers) {
      tellOthers();
    }
    if (frame) {
      frame->UpdateTitle();
    }
  };
}

void CMainFrame::ShowNewContents() {
  view_->OnInitialUpdate();
}

void CMainFrame::UpdateTitle() {
  QString title = QString::fromStdString(document_.Title());
  // Qt reads "[*]" in a title as the place of the modified mark; doubled it shows as written.
  title.replace(QStringLiteral("[*]"), QStringLiteral("[*][*]"));
  if (!document_.settings.editable) {
    title += QStringLiteral(" [gesperrt]");
  }
  setWindowTitle(title + QStringLiteral(" - ") + QString::fromLatin1(kApplicationName));
}

void CMainFrame::OnSpeed() {
  SpeedDialog dialog(this);
  dialog.SetValue(document_.tickPeriod);
  if (dialog.exec() == QDialog::Accepted) {
    // Takes effect when the clock re-arms after its next tick; the document is not modified.
    document_.tickPeriod = dialog.value();
  }
}

void CMainFrame::OnCanvasWidth() {
  CanvasWidthDialog dialog(this);
  dialog.SetValue(document_.settings.canvasWidth);
  if (dialog.exec() == QDialog::Accepted) {
    view_->SetCanvasWidth(dialog.value());
  }
}

void CMainFrame::OnAbout() {
  AboutDialog dialog(this);
  dialog.exec();
}

void CMainFrame::closeEvent(QCloseEvent* event) {
  if (documentCommands_->SaveModified()) {
    event->accept();
  } else {
    event->ignore();
  }
}

}  // namespace trivenor
