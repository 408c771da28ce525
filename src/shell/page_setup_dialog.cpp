#include "shell/page_setup_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "shell/dialog_units.h"

namespace trivenor {
namespace {

// The paper printers commonly take, the usual one first.
constexpr QPageSize::PageSizeId kOffered[] = {QPageSize::A4, QPageSize::A3, QPageSize::A5,
                                              QPageSize::Letter, QPageSize::Legal};

}  // namespace

PageSetupDialog::PageSetupDialog(const QPrinter& printer, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("Seite einrichten"));
  setFont(DialogUnits::DialogFont());
  const DialogUnits units;
  setFixedSize(units.ToPixels(QSize(190, 78)));
  const auto label = [&](const QString& text, QPoint where) {
    auto* made = new QLabel(text, this);
    made->move(units.ToPixels(where));
    made->adjustSize();
  };

  label(QStringLiteral("Papierformat:"), {7, 9});
  paperSize_ = new QComboBox(this);
  paperSize_->setObjectName(QStringLiteral("paperSize"));
  paperSize_->setGeometry(units.ToPixels(QRect(70, 7, 80, 14)));
  for (const QPageSize::PageSizeId size : kOffered) {
    paperSize_->addItem(QPageSize::name(size), static_cast<int>(size));
  }
  const QPageSize current = printer.pageLayout().pageSize();
  if (paperSize_->findData(static_cast<int>(current.id())) < 0) {
    paperSize_->addItem(current.name(), static_cast<int>(current.id()));  // set elsewhere
  }
  paperSize_->setCurrentIndex(paperSize_->findData(static_cast<int>(current.id())));

  label(QStringLiteral("Ausrichtung:"), {7, 30});
  portrait_ = new QRadioButton(QStringLiteral("Hochformat"), this);
  portrait_->setObjectName(QStringLiteral("portrait"));
  portrait_->setGeometry(units.ToPixels(QRect(70, 29, 80, 10)));
  landscape_ = new QRadioButton(QStringLiteral("Querformat"), this);
  landscape_->setObjectName(QStringLiteral("landscape"));
  landscape_->setGeometry(units.ToPixels(QRect(70, 41, 80, 10)));
  (printer.pageLayout().orientation() == QPageLayout::Landscape ? landscape_ : portrait_)
      ->setChecked(true);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("ok"));
  ok->setGeometry(units.ToPixels(QRect(77, 57, 50, 14)));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
  cancel->setObjectName(QStringLiteral("cancel"));
  cancel->setGeometry(units.ToPixels(QRect(133, 57, 50, 14)));
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void PageSetupDialog::ApplyTo(QPrinter& printer) const {
  const auto size = static_cast<QPageSize::PageSizeId>(paperSize_->currentData().toInt());
  printer.setPageSize(QPageSize(size));
  printer.setPageOrientation(landscape_->isChecked() ? QPageLayout::Landscape
                                                     : QPageLayout::Portrait);
}

}  // namespace trivenor
