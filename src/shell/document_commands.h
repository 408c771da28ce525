#pragma once

#include <QObject>
#include <QString>
#include <QWidget>
#include <functional>

#include "document/trivenor_doc.h"
#include "shell/file_dialogs.h"
#include "shell/recent_files.h"

namespace trivenor {

/// "Neu", "Öffnen...", "Speichern", "Speichern unter..." and the recent files, with the save
/// question before the document is given up and the error reports after a failed read or write.
/// The document is the one of the whole run; these commands empty and refill it.
class DocumentCommands : public QObject {
  Q_OBJECT

 public:
  enum class OpenResult { Opened, Cancelled, Failed };

  /// `window` parents the dialogs and message boxes.
  DocumentCommands(CTrivenorDoc& document, QWidget& window);

  void New();
  /// The open dialog, then the save question, then the file.
  void Open();
  /// Asks whether to save a modified document, then opens `path`. A failed open is reported.
  OpenResult OpenFile(const QString& path);
  /// Opens the recovery copy at `copyPath` as the modified document of the user's file
  /// `originalPath` (empty: untitled). No save question: it comes at start-up. True when opened;
  /// a failure is reported.
  bool OpenRecovered(const QString& copyPath, const QString& originalPath);
  /// Opens a file of the recent list; one that fails to open leaves the list.
  void OpenRecent(const QString& path);
  /// Saves under the document's path, asking for one when it has none. False when cancelled
  /// or failed (reported).
  bool Save();
  bool SaveAs();
  /// Before the document is given up: when it is modified asks "Änderungen in ... speichern?".
  /// "Ja" saves, "Nein" goes on without saving. False when the action is to be abandoned:
  /// "Abbrechen", or a save that was cancelled or failed.
  bool SaveModified();

  const RecentFileList& recentFiles() const { return recentFiles_; }

  FileDialogs fileDialogs;

 signals:
  /// The document has been emptied and perhaps refilled: the view starts over with it.
  void documentReplaced();
  /// The document's title may have changed.
  void titleChanged();
  void recentFilesChanged();

 private:
  /// Reads the document through `read` (the file at `path`) under the wait cursor, lets the
  /// view start over when the document was replaced and reports a failure. True when read.
  bool Load(const std::function<DocumentError()>& read, const QString& path);
  bool SaveTo(const QString& path);
  void AddRecent(const QString& path);
  void ReportError(DocumentError error, const QString& path);

  CTrivenorDoc& document_;
  QWidget& window_;
  RecentFileList recentFiles_ = RecentFileList::Load();
};

}  // namespace trivenor
