#include "shell/parameter_dialogs.h"

#include <QLabel>
#include <QPushButton>

#include "shell/field_refusal.h"

namespace trivenor {

ParameterDialog::ParameterDialog(const QString& title, const Layout& layout, QWidget* parent)
    : QDialog(parent) {
  setWindowTitle(title);
  setFont(DialogUnits::DialogFont());
  setFixedSize(units_.ToPixels(layout.client));

  // Created in tab order: field, "OK", "Abbrechen".
  field_ = new QLineEdit(this);
  field_->setObjectName(QStringLiteral("field"));
  field_->setGeometry(units_.ToPixels(layout.field));

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setObjectName(QStringLiteral("ok"));
  ok->setGeometry(units_.ToPixels(layout.ok));
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  if (layout.cancel) {
    auto* cancel = new QPushButton(QStringLiteral("Abbrechen"), this);
    cancel->setObjectName(QStringLiteral("cancel"));
    cancel->setGeometry(units_.ToPixels(*layout.cancel));
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
  }

  field_->setFocus();
}

void ParameterDialog::AddPrompt(const QString& text, QPoint top_left) {
  auto* prompt = new QLabel(text, this);
  prompt->setObjectName(QStringLiteral("prompt"));
  prompt->move(units_.ToPixels(top_left));
  prompt->adjustSize();
}

void ParameterDialog::ShowInField(const QString& text) {
  field_->setText(text);
  field_->selectAll();
}

void ParameterDialog::accept() {
  if (const FieldWarning warning = TakeField()) {
    RefuseField(*this, *field_, *warning);
    return;
  }
  QDialog::accept();
}

WholeNumberDialog::WholeNumberDialog(const QString& title, const Layout& layout,
                                     WholeNumberRange range, QWidget* parent)
    : ParameterDialog(title, layout, parent), range_(range) {
  SetValue(0);
}

void WholeNumberDialog::SetValue(int value) {
  value_ = value;
  ShowInField(QString::number(value));
}

FieldWarning WholeNumberDialog::TakeField() {
  const WholeNumberCheck check = CheckWholeNumberField(field().text().toStdString(), range_);
  if (check.value) {
    value_ = *check.value;
  }
  return check.warning;
}

DelayDialog::DelayDialog(QWidget* parent)
    : WholeNumberDialog(QStringLiteral("Delay"),
                        {.client = {148, 54},
                         .field = {82, 7, 59, 14},
                         .ok = {91, 33, 50, 14},
                         .cancel = std::nullopt},
                        {0, 10000}, parent) {
  AddPrompt(QStringLiteral("Verzögerungszeit:"), {7, 7});
}

HazardDialog::HazardDialog(QWidget* parent)
    : WholeNumberDialog(QStringLiteral("HAZARD"),
                        {.client = {187, 95},
                         .field = {41, 36, 76, 14},
                         .ok = {100, 74, 50, 14},
                         .cancel = QRect(29, 74, 50, 14)},
                        {1, 10000}, parent) {
  AddPrompt(QStringLiteral("Wie lange muss der Wert stabil sein ?"), {7, 7});
}

SpeedDialog::SpeedDialog(QWidget* parent)
    : WholeNumberDialog(QStringLiteral("Geschwindigkeit"),
                        {.client = {252, 62},
                         .field = {7, 35, 104, 14},
                         .ok = {195, 7, 50, 14},
                         .cancel = QRect(195, 24, 50, 14)},
                        {5, 5000}, parent) {
  AddPrompt(QStringLiteral("Wieviele Millisekunden warten ?"), {7, 7});
  AddPrompt(QStringLiteral("Normalwert: 50"), {7, 21});
}

CanvasWidthDialog::CanvasWidthDialog(QWidget* parent)
    : WholeNumberDialog(QStringLiteral("Dialogfeld"),
                        {.client = {156, 45},
                         .field = {7, 24, 71, 14},
                         .ok = {99, 7, 50, 14},
                         .cancel = QRect(99, 24, 50, 14)},
                        {400, 1000}, parent) {
  AddPrompt(QStringLiteral("Breite der Darstellung:"), {7, 7});
}

ValueDialog::ValueDialog(QWidget* parent)
    : ParameterDialog(QStringLiteral("Wert Eingeben"),
                      {.client = {187, 45},
                       .field = {22, 15, 86, 14},
                       .ok = {130, 7, 50, 14},
                       .cancel = QRect(130, 24, 50, 14)},
                      parent) {
  field().setMaxLength(kMaxCharacters);
}

void ValueDialog::SetText(const std::string& text) {
  text_ = text;
  ShowInField(QString::fromStdString(text));
}

FieldWarning ValueDialog::TakeField() {
  std::string text = field().text().toStdString();
  if (FieldWarning warning = CheckTextLength(text, kMaxCharacters)) {
    return warning;
  }
  text_ = std::move(text);
  return std::nullopt;
}

}  // namespace trivenor
