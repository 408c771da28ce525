#pragma once

#include <QAction>
#include <QMenu>
#include <QObject>
#include <QStringList>
#include <array>

#include "shell/recent_files.h"

namespace trivenor {

/// The recent files in the "&Datei" menu, in place of the "Letzte Datei" item: "&1 path" to
/// "&4 path", newest first. With no recent files the item itself shows, greyed.
class RecentFilesMenu : public QObject {
  Q_OBJECT

 public:
  /// `placeholder` is the "Letzte Datei" action, already in `menu`.
  RecentFilesMenu(QMenu& menu, QAction& placeholder);

  void Show(const QStringList& paths);

 signals:
  void openRequested(const QString& path);

 private:
  QAction& placeholder_;
  // Made once and relabelled: an entry may be the very action whose click changes the list.
  std::array<QAction*, RecentFileList::kMaxEntries> entries_;
  QStringList paths_;
};

}  // namespace trivenor
