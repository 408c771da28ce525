#pragma once

#include <QSettings>
#include <QTemporaryDir>

namespace trivenor {

/// Sends the per-user settings and data of a test program into a temporary folder of its own
/// while it lives, so a test neither reads nor changes the recent files, preview settings and
/// recovery copies of whoever runs it. One per test object: QSettings takes the folder for the
/// whole process.
class IsolatedSettings {
 public:
  IsolatedSettings() {
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, folder_.path());
    qputenv("XDG_DATA_HOME", folder_.filePath(QStringLiteral("data")).toLocal8Bit());
  }

  bool isValid() const { return folder_.isValid(); }

 private:
  QTemporaryDir folder_;
};

}  // namespace trivenor
