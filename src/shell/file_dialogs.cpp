#include "shell/file_dialogs.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QIdentityProxyModel>
#include <QPointer>
#include <memory>
#include <utility>

namespace trivenor {
namespace {

// On Linux "*.*" would hide every file without a dot in its name, and circuit files have no
// suffix of their own: the filter has to be "*".
constexpr char kAllFilesFilter[] = "Alle Dateien (*)";

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
      dialog_ = new QFileDialog(&window_, title_, QString(), QString::fromUtf8(kAllFilesFilter));
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
        // folder, as with Qt's static dialog.
        const QFileInfo proposed(proposal);
        QFileDialog& dialog = save->Get();
        dialog.setDirectory(proposed.absolutePath());
        dialog.selectFile(proposed.fileName());
        return save->Ask();
      },
  };
}

}  // namespace trivenor
