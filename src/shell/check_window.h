#pragma once

#include <QDialog>
#include <QLabel>
#include <QTableWidget>

#include "checks/check_run.h"

namespace trivenor {

/// What "Aufgabe prüfen" shows the child: the task, one row per check with the inputs, the
/// expected and the obtained outputs and a large green tick or red cross, and how many rows were
/// right ("4 von 5 richtig", or "Alles richtig!"). Named parts for tests: "task", "checks",
/// "summary".
class CheckWindow : public QDialog {
  Q_OBJECT

 public:
  static constexpr char kTick[] = "✔";
  static constexpr char kCross[] = "✘";

  CheckWindow(const CheckTable& table, const CheckOutcome& outcome, QWidget* parent);

  QTableWidget& checks() const { return *checks_; }
  QLabel& summary() const { return *summary_; }

 private:
  void FillChecks(const CheckTable& table, const CheckOutcome& outcome);

  QTableWidget* checks_;
  QLabel* summary_;
};

}  // namespace trivenor
