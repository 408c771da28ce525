#include "shell/recent_files.h"

#include <QFileInfo>
#include <QSettings>

#include "shell/settings.h"

namespace trivenor {

namespace {

constexpr char kGroup[] = "Recent File List";

QString ValueName(int number) {
  return QStringLiteral("File%1").arg(number);
}

/// Two spellings of one file ("./a.trv", "/home/x/a.trv") are one entry.
QString Normalized(const QString& path) {
  return QFileInfo(path).absoluteFilePath();
}

}  // namespace

RecentFileList RecentFileList::Load() {
  RecentFileList list;
  QSettings settings = UserSettings();
  settings.beginGroup(QLatin1String(kGroup));
  for (int number = 1; number <= kMaxEntries; ++number) {
    const QString path = settings.value(ValueName(number)).toString();
    if (!path.isEmpty() && !list.paths_.contains(path)) {
      list.paths_.append(path);
    }
  }
  return list;
}

void RecentFileList::Add(const QString& path) {
  const QString entry = Normalized(path);
  paths_.removeAll(entry);
  paths_.prepend(entry);
  while (paths_.size() > kMaxEntries) {
    paths_.removeLast();
  }
}

void RecentFileList::Remove(const QString& path) {
  paths_.removeAll(Normalized(path));
}

void RecentFileList::Save() const {
  QSettings settings = UserSettings();
  settings.beginGroup(QLatin1String(kGroup));
  for (int number = 1; number <= kMaxEntries; ++number) {
    if (number <= paths_.size()) {
      settings.setValue(ValueName(number), paths_[number - 1]);
    } else {
      settings.remove(ValueName(number));
    }
  }
}

}  // namespace trivenor
