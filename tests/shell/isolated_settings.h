#pragma once

#include <QSettings>
#include <QTemporaryDir>

namespace trivenor {

/// Sends the per-user settings of a test program into a temporary folder of its own while it
/// lives, so a test neither reads nor changes the recent files and preview settings of whoever
/// runs it. One per test object: QSettings takes the folder for the whole process.
class IsolatedSettings {
 public:
  IsolatedSettings() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_.path());
  }

  bool isValid() const { return folder_.isValid(); }

 private:
  QTemporaryDir folder_;
};

}  // namespace trivenor
