#include "shell/check_window.h"

#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>

namespace trivenor {

namespace {

QTableWidgetItem* FixedItem(const std::string& text) {
  auto* item = new QTableWidgetItem(QString::fromStdString(text));
  item->setFlags(Qt::ItemIsEnabled);
  item->setTextAlignment(Qt::AlignCenter);
  return item;
}

QFont Enlarged(QFont font, double factor) {
  font.setPointSizeF(font.pointSizeF() * factor);
  font.setBold(true);
  return font;
}

QString Column(char letter, int number, const char* what = "") {
  return QString(QChar::fromLatin1(letter)) + QString::number(number) + QString::fromUtf8(what);
}

}  // namespace

CheckWindow::CheckWindow(const CheckTable& table, const CheckOutcome& outcome, QWidget* parent)
    : QDialog(parent), checks_(new QTableWidget(this)), summary_(new QLabel(this)) {
  setWindowTitle(QStringLiteral("Aufgabe prüfen"));
  auto* layout = new QVBoxLayout(this);
  auto* task = new QLabel(QString::fromStdString(table.task), this);
  task->setObjectName(QStringLiteral("task"));
  task->setWordWrap(true);
  task->setFont(Enlarged(task->font(), 1.2));
  layout->addWidget(task);

  checks_->setObjectName(QStringLiteral("checks"));
  FillChecks(table, outcome);
  layout->addWidget(checks_, 1);

  summary_->setObjectName(QStringLiteral("summary"));
  summary_->setText(outcome.AllRight() ? QStringLiteral("Alles richtig!")
                                       : QString::fromStdString(RightCountText(outcome)));
  summary_->setFont(Enlarged(summary_->font(), 1.6));
  summary_->setStyleSheet(outcome.AllRight() ? QStringLiteral("color: #138a13")
                                             : QStringLiteral("color: #c81010"));
  layout->addWidget(summary_, 0, Qt::AlignHCenter);

  auto* close = new QPushButton(QStringLiteral("Schließen"), this);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  layout->addWidget(close, 0, Qt::AlignRight);
  resize(560, 420);
}

void CheckWindow::FillChecks(const CheckTable& table, const CheckOutcome& outcome) {
  QStringList titles;
  for (const TableColumn& input : table.inputs) {
    titles.append(Column('E', input.number));
  }
  for (const TableColumn& output : table.outputs) {
    titles.append(Column('A', output.number, " soll"));
    titles.append(Column('A', output.number, " ist"));
  }
  titles.append(QString());
  checks_->setColumnCount(static_cast<int>(titles.size()));
  checks_->setHorizontalHeaderLabels(titles);
  checks_->setRowCount(static_cast<int>(outcome.rows.size()));
  checks_->verticalHeader()->hide();
  const QFont markFont = Enlarged(font(), 2.0);
  for (int row = 0; row < checks_->rowCount(); ++row) {
    const RowOutcome& result = outcome.rows[row];
    int column = 0;
    for (const std::string& input : result.inputs) {
      checks_->setItem(row, column++, FixedItem(input));
    }
    for (std::size_t i = 0; i < result.expected.size(); ++i) {
      checks_->setItem(row, column++, FixedItem(result.expected[i]));
      QTableWidgetItem* obtained = FixedItem(result.obtained[i]);
      if (!result.outputRight[i]) {
        obtained->setForeground(QColor(0xc8, 0x10, 0x10));
      }
      checks_->setItem(row, column++, obtained);
    }
    QTableWidgetItem* mark = FixedItem(result.right ? kTick : kCross);
    mark->setFont(markFont);
    mark->setForeground(result.right ? QColor(0x13, 0x8a, 0x13) : QColor(0xc8, 0x10, 0x10));
    checks_->setItem(row, column, mark);
  }
  checks_->horizontalHeader()->setSectionResizeMode(QHeaderView::Stretch);
  checks_->resizeRowsToContents();
}

}  // namespace trivenor
