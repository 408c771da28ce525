#include "shell/document_commands.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <exception>

namespace trivenor {

namespace {

// Reported when something other than the file itself fails (memory running out, say).
constexpr char kOpenFailed[] = "Fehler beim Öffnen des Dokuments.";
constexpr char kSaveFailed[] = "Fehler beim Speichern des Dokuments.";

/// The wait cursor for as long as it lives.
class WaitCursor {
 public:
  WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
  ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;
};

void ShowWarning(QWidget& window, const QString& text) {
  QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(), text,
                  QMessageBox::Ok, &window);
  box.exec();
}

}  // namespace

DocumentCommands::DocumentCommands(CTrivenorDoc& document, QWidget& window)
    : QObject(&window),
      fileDialogs(StandardFileDialogs(window)),
      document_(document),
      window_(window) {}

void DocumentCommands::New() {
  if (!SaveModified()) {
    return;
  }
  document_.NewDocument();
  emit documentReplaced();
  emit titleChanged();
}

void DocumentCommands::Open() {
  const QString path = fileDialogs.askOpenPath(&window_);
  if (!path.isEmpty()) {
    OpenFile(path);
  }
}

DocumentCommands::OpenResult DocumentCommands::OpenFile(const QString& path) {
  if (!SaveModified()) {
    return OpenResult::Cancelled;
  }
  const bool opened = Load([&] { return document_.OpenDocument(path.toStdString()); }, path);
  if (opened) {
    AddRecent(QString::fromStdString(document_.PathName()));
  }
  return opened ? OpenResult::Opened : OpenResult::Failed;
}

bool DocumentCommands::OpenRecovered(const QString& copyPath, const QString& originalPath) {
  return Load(
      [&] { return document_.RecoverDocument(copyPath.toStdString(), originalPath.toStdString()); },
      copyPath);
}

bool DocumentCommands::Load(const std::function<DocumentError()>& read, const QString& path) {
  DocumentError error = DocumentError::None;
  bool failedUnexpectedly = false;  // memory running out, say
  {
    const WaitCursor waiting;
    try {
      error = read();
    } catch (const std::exception&) {
      failedUnexpectedly = true;
    }
  }
  const bool opened = error == DocumentError::None && !failedUnexpectedly;
  // A file that could not be read at all leaves the document as it was; one that failed while
  // being read leaves a new, empty document, which the view has to start over with as well.
  // (Had the document been new already, starting over with it changes nothing.)
  const bool documentIsNew = document_.PathName().empty() && !document_.IsModified();
  if (opened || documentIsNew) {
    emit documentReplaced();
  }
  emit titleChanged();

  if (failedUnexpectedly) {
    ShowWarning(window_, QString::fromUtf8(kOpenFailed));
  } else if (error != DocumentError::None) {
    ReportError(error, path);
  }
  return opened;
}

void DocumentCommands::OpenRecent(const QString& path) {
  if (OpenFile(path) == OpenResult::Failed) {
    recentFiles_.Remove(path);
    recentFiles_.Save();
    emit recentFilesChanged();
  }
}

bool DocumentCommands::Save() {
  const QString path = QString::fromStdString(document_.PathName());
  return path.isEmpty() ? SaveAs() : SaveTo(path);
}

bool DocumentCommands::SaveAs() {
  // An untitled document proposes its title in the working folder.
  const QString proposal = document_.PathName().empty()
                               ? QString::fromStdString(document_.Title())
                               : QString::fromStdString(document_.PathName());
  const QString path = fileDialogs.askSavePath(&window_, proposal);
  return !path.isEmpty() && SaveTo(path);
}

bool DocumentCommands::SaveModified() {
  if (!document_.IsModified()) {
    return true;
  }
  QMessageBox question(
      QMessageBox::Question, QGuiApplication::applicationDisplayName(),
      QStringLiteral("Änderungen in %1 speichern?").arg(QString::fromStdString(document_.Title())),
      QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, &window_);
  question.setDefaultButton(QMessageBox::Yes);
  switch (question.exec()) {
    case QMessageBox::Yes:
      return Save();
    case QMessageBox::No:
      return true;
    default:  // "Abbrechen", Escape, the close box
      return false;
  }
}

bool DocumentCommands::SaveTo(const QString& path) {
  DocumentError error = DocumentError::None;
  try {
    const WaitCursor waiting;
    error = document_.SaveDocument(path.toStdString());
  } catch (const std::exception&) {
    ShowWarning(window_, QString::fromUtf8(kSaveFailed));
    return false;
  }
  if (error != DocumentError::None) {
    ReportError(error, path);
    return false;
  }
  AddRecent(QString::fromStdString(document_.PathName()));
  emit titleChanged();
  return true;
}

void DocumentCommands::AddRecent(const QString& path) {
  recentFiles_.Add(path);
  recentFiles_.Save();
  emit recentFilesChanged();
}

void DocumentCommands::ReportError(DocumentError error, const QString& path) {
  ShowWarning(window_,
              QString::fromStdString(DocumentErrorMessage(error, FileTitleOf(path.toStdString()))));
}

}  // namespace trivenor
