#include "shell/file_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QIdentityProxyModel>
#include <QPointer>
#include <memory>
#include <utility>

namespace trivenor {
namespace {

constexpr char kCircuitFilter[] = "Trivenor-Schaltkreise (*.trv)";
// On Linux "*.*" would hide every file without a dot in its name (an "aufgabe1" saved before
// circuits had a suffix), and Qt's save dialog would turn a typed "a.trv" into "a.*" on
// switching to it: every file is "*" here.
constexpr char kAllFilesFilter[] = "Alle Dateien (*)";
constexpr char kCircuitSuffix[] = "trv";

bool HasCircuitSuffix(const QString& name) {
  return QFileInfo(name).suffix().compare(QString::fromLatin1(kCircuitSuffix),
                                          Qt::CaseInsensitive) == 0;
}

/// Qt's file dialog, which in saving gives a name typed without an extension the circuit suffix
/// while the circuit filter is chosen, and leaves it as typed under "Alle Dateien". Set when the
/// name is taken, so that Qt's own question before replacing a file asks about the right one.
class CircuitFileDialog : public QFileDialog {
 public:
  using QFileDialog::QFileDialog;

  void accept() override {
    const bool circuits =
        acceptMode() == AcceptSave && selectedNameFilter() == QString::fromUtf8(kCircuitFilter);
    setDefaultSuffix(circuits ? QString::fromLatin1(kCircuitSuffix) : QString());
    QFileDialog::accept();
  }
};

/// The file list as Qt's file system model gives it, but without the blank picture the model
/// puts before the first column's title. The model makes that picture anew at every paint of
/// the title row, and each one takes another entry of the pixmap cache.
class NoHeaderPicture : public QIdentityProxyModel {
 public:
  using QIdentityProxyModel::QIdentityProxyModel;

  QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
    return role == Qt::DecorationRole ? QVariant()
                                      : QIdentityProxyModel::headerData(section, orientation, role);
  }
};

/// A file dialog made at its first use and kept for the later ones. Every new QFileDialog loads
/// its icons afresh, and Qt keeps each icon it has painted in its process-wide pixmap cache
/// under that icon's own key: a dialog made per request grew the editor by some 20 KB at every
/// "Öffnen" until that cache was full.
class ReusedFileDialog {
 public:
  ReusedFileDialog(QWidget& window, QFileDialog::AcceptMode mode, QString title)
      : window_(window), mode_(mode), title_(std::move(title)) {}

  QFileDialog& Get() {
    if (!dialog_) {
      dialog_ = new CircuitFileDialog(&window_, title_);
      dialog_->setNameFilters(CircuitFileFilters());
      dialog_->setProxyModel(new NoHeaderPicture(dialog_));  // the dialog takes it over
      dialog_->setAcceptMode(mode_);
      dialog_->setFileMode(mode_ == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                            : QFileDialog::AnyFile);
    }
    return *dialog_;
  }

  /// The path chosen, empty when cancelled.
  QString Ask() {
    QFileDialog& dialog = Get();
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
      return QString();
    }
    return dialog.selectedFiles().front();
  }

 private:
  QWidget& window_;
  QFileDialog::AcceptMode mode_;
  QString title_;
  QPointer<QFileDialog> dialog_;  // the window may delete it along with itself
};

}  // namespace

QStringList CircuitFileFilters() {
  return {QString::fromUtf8(kCircuitFilter), QString::fromUtf8(kAllFilesFilter)};
}

QString WithCircuitSuffix(const QString& name) {
  return QFileInfo(name).suffix().isEmpty() ? name + QStringLiteral(".trv") : name;
}

FileDialogs StandardFileDialogs(QWidget& window) {
  // Shared, so that copies of the answer keep asking the same two dialogs.
  auto open =
      std::make_shared<ReusedFileDialog>(window, QFileDialog::AcceptOpen, QStringLiteral("Öffnen"));
  auto save = std::make_shared<ReusedFileDialog>(window, QFileDialog::AcceptSave,
                                                 QStringLiteral("Speichern unter"));
  return {
      [open](QWidget* /*parent*/) { return open->Ask(); },
      [save](QWidget* /*parent*/, const QString& proposal) {
        // A proposal without a folder (an untitled document's name) stands in the working
        // folder, as with Qt's static dialog. A name of another suffix shows under its filter.
        const QFileInfo proposed(WithCircuitSuffix(proposal));
        QFileDialog& dialog = save->Get();
        dialog.selectNameFilter(
            CircuitFileFilters().at(HasCircuitSuffix(proposed.fileName()) ? 0 : 1));
        dialog.setDirectory(proposed.absolutePath());
        dialog.selectFile(proposed.fileName());
        return save->Ask();
      },
  };
}

}  // namespace trivenor
