#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>
#include <functional>

namespace trivenor {

/// The file dialogs the document commands ask for a path. An empty answer means cancelled.
/// Tests put their own in place of Qt's dialogs.
struct FileDialogs {
  std::function<QString(QWidget* parent)> askOpenPath;
  std::function<QString(QWidget* parent, const QString& proposal)> askSavePath;
};

/// "Trivenor-Schaltkreise (*.trv)" first, then "Alle Dateien (*)", as every file dialog of the
/// editor offers them.
QStringList CircuitFileFilters();

/// What "Speichern unter" proposes for the document's title or path: with ".trv" when the name
/// has no extension, else as it is (a file of another name is still saved under that name).
QString WithCircuitSuffix(const QString& name);

/// Qt's own file dialogs with the circuit filters, the first chosen at the start: a name typed
/// without an extension gets ".trv" while it is chosen; files of any name open under the
/// second. Each
/// is made once, as a child of `window`, and shown again at every later request (over `window`,
/// whichever `parent` asks), so it also comes back in the folder the user last looked in.
FileDialogs StandardFileDialogs(QWidget& window);

}  // namespace trivenor
