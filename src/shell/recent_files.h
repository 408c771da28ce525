#pragma once

#include <QString>
#include <QStringList>

namespace trivenor {

/// The most recently used circuit files, newest first, at most four, kept in the per-user
/// settings under "Recent File List" as "File1" to "File4".
class RecentFileList {
 public:
  static constexpr int kMaxEntries = 4;

  /// Reads the list the settings hold; entries that are empty are skipped.
  static RecentFileList Load();

  const QStringList& paths() const { return paths_; }

  /// Puts `path` first; an entry for the same file moves up instead of appearing twice, and
  /// the oldest entry drops off beyond four.
  void Add(const QString& path);
  void Remove(const QString& path);

  /// Writes the list, removing the value names of entries no longer there.
  void Save() const;

 private:
  QStringList paths_;
};

}  // namespace trivenor
