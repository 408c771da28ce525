#include "shell/circuit_info_dialog.h"

#include <QLabel>
#include <QPushButton>
#include <utility>

#include "shell/dialog_units.h"
#include "shell/field_refusal.h"

namespace trivenor {
namespace {

QLineEdit* AddField(QDialog& dialog, const DialogUnits& units, const char* name, QRect rect) {
  auto* field = new QLineEdit(&dialog);
  field->setObjectName(QString::fromLatin1(name));
  field->setGeometry(units.ToPixels(rect));
  return field;
}

void AddLabel(QDialog& dialog, const DialogUnits& units, const QString& text, QPoint topLeft) {
  auto* label = new QLabel(text, &dialog);
  label->move(units.ToPixels(topLeft));
  label->adjustSize();
}

QPushButton* AddButton(QDialog& dialog, const DialogUnits& units, const QString& text,
                       const char* name, QRect rect) {
  auto* button = new QPushButton(text, &dialog);
  button->setObjectName(QString::fromLatin1(name));
  button->setGeometry(units.ToPixels(rect));
  return button;
}

}  // namespace

CircuitInfoDialog::CircuitInfoDialog(bool passwordStored,
                                     std::function<bool(const std::string&)> passwordOpens,
                                     QWidget* parent)
    : QDialog(parent), passwordOpens_(std::move(passwordOpens)) {
  setWindowTitle(QStringLiteral("Schaltkreisinformationen"));
  setFont(DialogUnits::DialogFont());
  const DialogUnits units;
  // The row of the repetition pushes everything below it down.
  const int below = passwordStored ? 0 : 18;
  setFixedSize(units.ToPixels(QSize(220, 104 + below)));

  // Created in tab order.
  title_ = AddField(*this, units, "title", {7, 7, 206, 14});
  AddLabel(*this, units, QStringLiteral("erstellt von"), {7, 31});
  owner_ = AddField(*this, units, "owner", {55, 29, 158, 14});
  AddLabel(*this, units, QStringLiteral("Passwort:"), {7, 51});
  password_ = AddField(*this, units, "password", {100, 49, 80, 14});
  password_->setEchoMode(QLineEdit::Password);
  if (!passwordStored) {
    AddLabel(*this, units, QStringLiteral("Passwort wiederholen:"), {7, 69});
    repeatedPassword_ = AddField(*this, units, "repeatedPassword", {100, 67, 80, 14});
    repeatedPassword_->setEchoMode(QLineEdit::Password);
  }
  editable_ = new QCheckBox(QStringLiteral("Änderungen zulassen"), this);
  editable_->setObjectName(QStringLiteral("editable"));
  editable_->setGeometry(units.ToPixels(QRect(7, 68 + below, 120, 10)));

  QPushButton* ok = AddButton(*this, units, QStringLiteral("OK"), "ok", {107, 83 + below, 50, 14});
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  QPushButton* cancel =
      AddButton(*this, units, QStringLiteral("Abbrechen"), "cancel", {163, 83 + below, 50, 14});
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  title_->setFocus();
}

void CircuitInfoDialog::SetInfo(const CircuitInfo& info) {
  shown_ = info;
  title_->setText(QString::fromStdString(info.title));
  owner_->setText(QString::fromStdString(info.owner));
  password_->setText(QString::fromStdString(info.password));
  if (repeatedPassword_ != nullptr) {
    repeatedPassword_->setText(password_->text());
  }
  editable_->setChecked(info.editable);
}

CircuitInfo CircuitInfoDialog::info() const {
  return {.title = title_->text().toStdString(),
          .owner = owner_->text().toStdString(),
          .password = password_->text().toStdString(),
          .editable = editable_->isChecked()};
}

void CircuitInfoDialog::accept() {
  if (repeatedPassword_ != nullptr && repeatedPassword_->text() != password_->text()) {
    RefuseField(*this, *repeatedPassword_, kPasswordsDiffer);
    return;
  }
  const CircuitInfo typed = info();
  const bool changed = typed.title != shown_.title || typed.owner != shown_.owner ||
                       typed.editable != shown_.editable;
  // A typed password that does not open is refused even alone: it was meant to change something.
  if ((changed || !typed.password.empty()) && !passwordOpens_(typed.password)) {
    RefuseField(*this, *password_, kWrongPassword);
    return;
  }
  QDialog::accept();
}

void ShowCircuitInfo(CTrivenorDoc& document, QWidget& parent) {
  CircuitInfoDialog dialog(
      !document.circuit().password.empty(),
      [&document](const std::string& typed) { return PasswordOpens(document, typed); }, &parent);
  dialog.SetInfo(ReadCircuitInfo(document));
  if (dialog.exec() == QDialog::Accepted && ApplyCircuitInfo(document, dialog.info())) {
    document.UpdateAllViews();
  }
}

void ConnectCircuitInfo(QAction& command, CTrivenorDoc& document, QWidget& parent) {
  QObject::connect(&command, &QAction::triggered, &parent,
                   [&document, &parent] { ShowCircuitInfo(document, parent); });
}

}  // namespace trivenor
