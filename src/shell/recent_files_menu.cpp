#include "shell/recent_files_menu.h"

#include <QDir>

namespace trivenor {

RecentFilesMenu::RecentFilesMenu(QMenu& menu, QAction& placeholder)
    : QObject(&menu), placeholder_(placeholder) {
  placeholder_.setEnabled(false);
  for (int i = 0; i < RecentFileList::kMaxEntries; ++i) {
    QAction* entry = new QAction(&menu);
    entry->setStatusTip(placeholder_.statusTip());
    // The path is looked up at the click, so that the entry opens what it shows now.
    connect(entry, &QAction::triggered, this, [this, i] {
      if (i < paths_.size()) {
        const QString path = paths_[i];
        emit openRequested(path);
      }
    });
    menu.insertAction(&placeholder_, entry);
    entries_[i] = entry;
  }
  Show({});
}

void RecentFilesMenu::Show(const QStringList& paths) {
  paths_ = paths;
  for (int i = 0; i < RecentFileList::kMaxEntries; ++i) {
    QAction& entry = *entries_[i];
    entry.setVisible(i < paths.size());
    if (i < paths.size()) {
      // A "&" in a path would otherwise turn the next letter into a mnemonic.
      QString shown = QDir::toNativeSeparators(paths[i]);
      shown.replace(u'&', QStringLiteral("&&"));
      entry.setText(QStringLiteral("&%1 %2").arg(i + 1).arg(shown));
    }
  }
  placeholder_.setVisible(paths.isEmpty());
}

}  // namespace trivenor
