#include "shell/picture_commands.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

#include "shell/main_frame.h"
#include "shell/print_commands.h"
#include "view/picture_export.h"

namespace trivenor {
namespace {

// Without a screen (QT_QPA_PLATFORM=offscreen, as a script runs the switch) nobody could close a
// message box and the program would wait for ever: while this lives, every box that comes up is
// written to the standard error stream and closed instead.
class UnattendedMessages {
 public:
  UnattendedMessages() {
    const QString platform = QGuiApplication::platformName();
    if (platform != QStringLiteral("offscreen") && platform != QStringLiteral("minimal")) {
      return;
    }
    QObject::connect(&timer_, &QTimer::timeout, [] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        std::fprintf(stderr, "%s\n", qPrintable(box->text()));
        box->reject();
      }
    });
    timer_.start(10);
  }

 private:
  QTimer timer_;
};

QString UnknownFormat(const QString& path) {
  return QStringLiteral("„%1“: Bilder werden als .png oder .svg gespeichert.").arg(path);
}

// The dialog offers the document's own name with the picture's ending.
QString SuggestedName(const CTrivenorDoc& document) {
  const QString path = QString::fromStdString(document.PathName());
  return path.isEmpty() ? QString()
                        : QFileInfo(path).dir().filePath(QFileInfo(path).completeBaseName());
}

void OnExportPicture(CTrivenorView& view, QWidget& window) {
  QStringList filters;
  for (const char* filter : kPictureFilters) {
    filters << QString::fromUtf8(filter);
  }
  QFileDialog dialog(&window, QStringLiteral("Als Bild exportieren"),
                     SuggestedName(view.document()));
  dialog.setAcceptMode(QFileDialog::AcceptSave);
  dialog.setNameFilters(filters);
  if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
    return;
  }
  const QString filter = dialog.selectedNameFilter();
  const PictureFormat chosen =
      filter.contains(QStringLiteral(".svg")) ? PictureFormat::Svg : PictureFormat::Png;
  // A name typed without an ending gets the chosen kind's; one typed with the other ending keeps
  // it, and the file holds what its name says.
  QString path = dialog.selectedFiles().front();
  if (!PictureFormatOf(path)) {
    path += chosen == PictureFormat::Svg ? QStringLiteral(".svg") : QStringLiteral(".png");
  }
  const PictureLook look{filter.startsWith(QStringLiteral("Arbeitsblatt")), view.wireValues};
  const QString failure = ExportPicture(view.document(), path, *PictureFormatOf(path), look);
  // The picture laid the circuit out without the editing's feedback: the screen takes its own
  // layout back.
  view.viewport()->update();
  if (!failure.isEmpty()) {
    WarnAboutPrinting(window, failure);
  }
}

}  // namespace

void ConnectPictureCommands(const CommandActions& actions, CTrivenorView& view, QWidget& window) {
  CTrivenorView* target = &view;
  QWidget* parent = &window;
  QObject::connect(&actions[kExportPicture], &QAction::triggered, target,
                   [target, parent] { OnExportPicture(*target, *parent); });
}

bool ExportFromCommandLine(CMainFrame& frame, const PictureSwitch& picture) {
  const UnattendedMessages unattended;
  const std::optional<PictureFormat> format = PictureFormatOf(picture.picture);
  if (!format) {
    WarnAboutPrinting(frame, UnknownFormat(picture.picture));
    return false;
  }
  if (frame.documentCommands().OpenFile(picture.file) != DocumentCommands::OpenResult::Opened) {
    return false;
  }
  CTrivenorView& view = frame.view();
  const QString failure =
      ExportPicture(view.document(), picture.picture, *format, {picture.worksheet, false});
  if (!failure.isEmpty()) {
    WarnAboutPrinting(frame, failure);
    return false;
  }
  return true;
}

}  // namespace trivenor
