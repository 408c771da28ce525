#include "shell/check_table_dialog.h"

#include <QFileInfo>
#include <QFormLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

#include "checks/check_run.h"
#include "document/file_access.h"
#include "shell/check_commands.h"

namespace trivenor {

namespace {

constexpr int kStartRows = 8;

/// The table the draft makes, read back as any table is read; errors name the grid's own rows.
CheckTableReading ReadDraft(const CheckTableDraft& draft) {
  const std::string text = WriteCheckTable(draft);
  CheckTableReading reading =
      ReadCheckTable({reinterpret_cast<const std::uint8_t*>(text.data()), text.size()});
  if (reading.error && reading.error->line > 0) {
    reading.error->line -= LineOfDraftRow(0) - 1;
  }
  return reading;
}

}  // namespace

CheckTableDialog::CheckTableDialog(CTrivenorDoc& document, QWidget* parent)
    : QDialog(parent),
      document_(document),
      task_(new QLineEdit(this)),
      grid_(new QTableWidget(kStartRows, 0, this)),
      inputCount_(static_cast<int>(document.circuit().inputs.size())),
      outputCount_(static_cast<int>(document.circuit().outputs.size())) {
  setWindowTitle(QStringLiteral("Prüftabelle erstellen"));
  auto* layout = new QVBoxLayout(this);
  auto* form = new QFormLayout;
  task_->setObjectName(QStringLiteral("task"));
  task_->setPlaceholderText(QStringLiteral("Baue eine Schaltung, die ..."));
  form->addRow(QStringLiteral("Aufgabe:"), task_);
  layout->addLayout(form);

  QStringList titles;
  for (int i = 1; i <= inputCount_; ++i) {
    titles.append(QStringLiteral("E%1").arg(i));
  }
  for (int i = 1; i <= outputCount_; ++i) {
    titles.append(QStringLiteral("A%1").arg(i));
  }
  grid_->setObjectName(QStringLiteral("grid"));
  grid_->setColumnCount(static_cast<int>(titles.size()));
  grid_->setHorizontalHeaderLabels(titles);
  grid_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  connect(grid_, &QTableWidget::itemChanged, this, &CheckTableDialog::GrowIfFull);
  layout->addWidget(grid_, 1);

  auto* buttons = new QHBoxLayout;
  buttons->addStretch();
  auto* compute = new QPushButton(QStringLiteral("Ausrechnen"), this);
  compute->setObjectName(QStringLiteral("compute"));
  auto* save = new QPushButton(QStringLiteral("Speichern"), this);
  save->setObjectName(QStringLiteral("save"));
  auto* close = new QPushButton(QStringLiteral("Schließen"), this);
  // Enter goes to the grid's cells, not to a button.
  for (QPushButton* button : {compute, save, close}) {
    button->setAutoDefault(false);
    buttons->addWidget(button);
  }
  connect(compute, &QPushButton::clicked, this, &CheckTableDialog::Compute);
  // "Speichern" closes the grid only once the table is written.
  connect(save, &QPushButton::clicked, this, [this] {
    if (Save()) {
      accept();
    }
  });
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  layout->addLayout(buttons);
  resize(520, 400);
}

CheckTableDraft CheckTableDialog::Draft() const {
  CheckTableDraft draft{task_->text().toStdString(), inputCount_, outputCount_, {}};
  std::size_t filled = 0;
  for (int row = 0; row < grid_->rowCount(); ++row) {
    std::vector<std::string>& cells = draft.rows.emplace_back();
    for (int column = 0; column < grid_->columnCount(); ++column) {
      const QTableWidgetItem* item = grid_->item(row, column);
      cells.push_back(item ? item->text().trimmed().toStdString() : std::string());
      if (!cells.back().empty()) {
        filled = draft.rows.size();
      }
    }
  }
  draft.rows.resize(filled);
  return draft;
}

void CheckTableDialog::GrowIfFull() {
  const int last = grid_->rowCount() - 1;
  for (int column = 0; column < grid_->columnCount(); ++column) {
    const QTableWidgetItem* item = grid_->item(last, column);
    if (item != nullptr && !item->text().trimmed().isEmpty()) {
      grid_->insertRow(last + 1);
      return;
    }
  }
}

void CheckTableDialog::Compute() {
  CheckTableDraft draft = Draft();
  // The outputs are what is to be computed: whatever stands there now is not read.
  for (auto& row : draft.rows) {
    std::fill(row.begin() + inputCount_, row.end(), std::string());
  }
  const CheckTableReading reading = ReadDraft(draft);
  if (reading.error) {
    ShowCheckWarning(*this, QString::fromStdString(reading.error->Text()));
    return;
  }
  const std::unique_ptr<SubCircuit> copy = CopyForChecks(document_.circuit(), document_.settings);
  // The grid was made for the circuit as it was when it opened.
  if (copy && CheckTableFits(reading.table, *copy)) {
    ShowCheckWarning(
        *this, QStringLiteral(
                   "Der Schaltkreis hat sich verändert. Bitte öffnen Sie die Prüftabelle neu."));
    return;
  }
  if (!copy) {
    ShowCheckWarning(*this, QString::fromUtf8(kCircuitTooLargeToCheck));
    return;
  }
  const CheckOutcome outcome = RunCheckTable(reading.table, *copy);
  for (const RowOutcome& row : outcome.rows) {
    const int gridRow = row.line - LineOfDraftRow(0);
    for (std::size_t i = 0; i < row.obtained.size(); ++i) {
      const int column = inputCount_ + reading.table.outputs[i].number - 1;
      grid_->setItem(gridRow, column,
                     new QTableWidgetItem(QString::fromStdString(row.obtained[i])));
    }
  }
}

bool CheckTableDialog::Save() {
  const QString circuitPath = QString::fromStdString(document_.PathName());
  if (circuitPath.isEmpty()) {
    ShowCheckWarning(
        *this,
        QStringLiteral("Bitte speichern Sie zuerst den Schaltkreis: die Prüftabelle kommt neben "
                       "seine Datei."));
    return false;
  }
  const CheckTableDraft draft = Draft();
  if (const CheckTableReading reading = ReadDraft(draft); reading.error) {
    ShowCheckWarning(*this, QString::fromStdString(reading.error->Text()));
    return false;
  }
  const QString path = CheckTablePathFor(circuitPath);
  const QString name = QFileInfo(path).fileName();
  if (QFileInfo::exists(path)) {
    QMessageBox question(QMessageBox::Question, QGuiApplication::applicationDisplayName(),
                         QStringLiteral("Die Prüftabelle „%1“ gibt es schon. Ersetzen?").arg(name),
                         QMessageBox::Yes | QMessageBox::No, this);
    if (question.exec() != QMessageBox::Yes) {
      return false;
    }
  }
  const std::string text = WriteCheckTable(draft);
  const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
  if (WriteFileSafely(path.toStdString(), {bytes, text.size()}) != WriteFailure::None) {
    ShowCheckWarning(
        *this, QStringLiteral("Die Prüftabelle „%1“ kann nicht geschrieben werden.").arg(name));
    return false;
  }
  return true;
}

}  // namespace trivenor
