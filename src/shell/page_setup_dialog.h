#pragma once

#include <QComboBox>
#include <QDialog>
#include <QPrinter>
#include <QRadioButton>
#include <QWidget>

namespace trivenor {

/// "Seite einrichten": paper size and orientation, for a printer Qt's own page set-up does not
/// serve (output to a PDF file, which is all there is on a machine without a printer). It opens
/// with what `printer` has now; the margins are not its business. The widgets carry the object
/// names "paperSize", "portrait", "landscape", "ok" and "cancel" for tests.
class PageSetupDialog : public QDialog {
  Q_OBJECT

 public:
  explicit PageSetupDialog(const QPrinter& printer, QWidget* parent = nullptr);

  /// Gives `printer` the paper size and orientation chosen.
  void ApplyTo(QPrinter& printer) const;

 private:
  QComboBox* paperSize_;
  QRadioButton* portrait_;
  QRadioButton* landscape_;
};

}  // namespace trivenor
