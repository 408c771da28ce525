#include "shell/settings.h"

namespace trivenor {

QSettings UserSettings() {
  return QSettings(QString::fromLatin1(kOrganizationName), QString::fromLatin1(kApplicationName));
}

namespace {
constexpr char kPreviewPagesKey[] = "Settings/PreviewPages";
constexpr char kZoomKey[] = "Settings/Zoom";
}  // namespace

int PreviewPages() {
  return UserSettings().value(QString::fromLatin1(kPreviewPagesKey)).toInt() == 2 ? 2 : 1;
}

void SetPreviewPages(int pages) {
  UserSettings().setValue(QString::fromLatin1(kPreviewPagesKey), pages == 2 ? 2 : 1);
}

int CanvasZoom() {
  return UserSettings().value(QString::fromLatin1(kZoomKey), 100).toInt();
}

void SetCanvasZoom(int percent) {
  UserSettings().setValue(QString::fromLatin1(kZoomKey), percent);
}

}  // namespace trivenor
