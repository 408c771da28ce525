#pragma once

#include <QString>
#include <QWidget>
#include <functional>

namespace trivenor {

/// The file dialogs the document commands ask for a path. An empty answer means cancelled.
/// Tests put their own in place of Qt's dialogs.
struct FileDialogs {
  std::function<QString(QWidget* parent)> askOpenPath;
  std::function<QString(QWidget* parent, const QString& proposal)> askSavePath;
};

/// Qt's own file dialogs, offering every file: circuit files have no suffix of their own. Each
/// is made once, as a child of `window`, and shown again at every later request (over `window`,
/// whichever `parent` asks), so it also comes back in the folder the user last looked in.
FileDialogs StandardFileDialogs(QWidget& window);

}  // namespace trivenor
