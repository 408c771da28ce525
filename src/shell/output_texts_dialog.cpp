#include "shell/output_texts_dialog.h"

#include <QLabel>
#include <QPushButton>

#include "model/number_text.h"
#include "shell/dialog_units.h"

namespace trivenor {
namespace {

// Each row remembers how many characters of it are the value text, so that a row is split at
// that point even when the value or the text itself contains ": ".
constexpr int kPrefixLengthRole = Qt::UserRole;
constexpr QLatin1String kSeparator(": ");

}  // namespace

OutputTextsDialog::OutputTextsDialog(std::vector<OutputText>& texts, QWidget* parent)
    : QDialog(parent), texts_(texts) {
  const DialogUnits units;
  setWindowTitle(QStringLiteral("Ausgabetexte"));
  setFont(DialogUnits::DialogFont());
  setFixedSize(units.ToPixels(QSize(277, 175)));

  const auto button = [&](const QString& text, const char* name, const QRect& where) {
    auto* made = new QPushButton(text, this);
    made->setObjectName(QString::fromLatin1(name));
    made->setGeometry(units.ToPixels(where));
    return made;
  };
  const auto label = [&](const QString& text, QPoint where) {
    auto* made = new QLabel(text, this);
    made->move(units.ToPixels(where));
    made->adjustSize();
  };

  QPushButton* ok = button(QStringLiteral("OK"), "ok", {220, 7, 50, 14});
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(button(QStringLiteral("Abbrechen"), "cancel", {220, 24, 50, 14}), &QPushButton::clicked,
          this, &QDialog::reject);

  // Rows stay in the order they were added: QListWidget never sorts unless asked to.
  list_ = new QListWidget(this);
  list_->setObjectName(QStringLiteral("list"));
  list_->setGeometry(units.ToPixels(QRect(7, 7, 117, 161)));
  list_->setSelectionMode(QAbstractItemView::SingleSelection);
  list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);

  connect(button(QStringLiteral("Neu"), "new", {132, 7, 50, 14}), &QPushButton::clicked, this,
          &OutputTextsDialog::AppendTypedRow);
  connect(button(QStringLiteral("Löschen"), "delete", {133, 26, 50, 14}), &QPushButton::clicked,
          this, &OutputTextsDialog::DeleteSelectedRow);

  label(QStringLiteral("Wert:"), {131, 68});
  valueField_ = new QLineEdit(this);
  valueField_->setObjectName(QStringLiteral("value"));
  valueField_->setGeometry(units.ToPixels(QRect(130, 78, 60, 14)));

  label(QStringLiteral("Text:"), {130, 109});
  textField_ = new QLineEdit(this);
  textField_->setObjectName(QStringLiteral("text"));
  textField_->setGeometry(units.ToPixels(QRect(130, 121, 119, 14)));

  // The float widened to double, as "%g" is given it.
  for (const OutputText& entry : texts_) {
    AppendRow(QString::fromStdString(FormatValue(static_cast<double>(entry.value))),
              QString::fromStdString(entry.text));
  }
}

void OutputTextsDialog::AppendRow(const QString& value_text, const QString& text) {
  auto* row = new QListWidgetItem(value_text + kSeparator + text, list_);
  row->setData(kPrefixLengthRole, static_cast<int>(value_text.size()));
}

void OutputTextsDialog::AppendTypedRow() {
  AppendRow(valueField_->text(), textField_->text());
}

void OutputTextsDialog::DeleteSelectedRow() {
  // The current row is not necessarily selected; only a selected row is deleted.
  for (QListWidgetItem* row : list_->selectedItems()) {
    delete row;
  }
  // A single-selection list selects the next row in place of a deleted one, and the next click
  // would delete that one too: each click is to delete only the row the user picked.
  list_->clearSelection();
}

void OutputTextsDialog::accept() {
  const int rows = list_->count();
  std::vector<OutputText> table(static_cast<std::size_t>(rows));
  for (int i = 0; i < rows; ++i) {
    const QListWidgetItem& row = *list_->item(i);
    const QString whole = row.text();
    const int prefix_length = row.data(kPrefixLengthRole).toInt();
    // Every row goes in front of the ones before it: the last row ends up first.
    OutputText& entry = table[static_cast<std::size_t>(rows - 1 - i)];
    entry.value = static_cast<float>(ReadNumber(whole.left(prefix_length).toStdString()));
    entry.text = whole.mid(prefix_length + kSeparator.size()).toStdString();
  }
  texts_ = std::move(table);
  QDialog::accept();
}

}  // namespace trivenor
