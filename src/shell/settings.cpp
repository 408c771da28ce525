#include "shell/settings.h"

namespace trivenor {

QSettings UserSettings() {
  return QSettings(QString::fromLatin1(kOrganizationName), QString::fromLatin1(kApplicationName));
}

}  // namespace trivenor
