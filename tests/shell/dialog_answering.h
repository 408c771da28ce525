#pragma once

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QString>
#include <QTimer>
#include <functional>

namespace trivenor::test_support {

/// Answers the next modal dialog from inside its own event loop.
inline void AnswerNextDialog(std::function<void(QDialog&)> answer) {
  auto* timer = new QTimer(qApp);
  timer->setInterval(0);
  QObject::connect(timer, &QTimer::timeout, [timer, answer] {
    if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
      timer->deleteLater();
      timer->stop();
      answer(*dialog);
    }
  });
  timer->start();
}

/// Clicks the dialog's "OK" as the mouse would (the button takes the focus). A warning box is
/// answered from inside its own event loop; returned is "icon|buttons|text", empty if none came.
inline QString PressOkAnsweringWarning(QDialog& dialog) {
  auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("ok"));
  ok->setFocus();
  QString warning;
  QTimer answerer;
  QObject::connect(&answerer, &QTimer::timeout, [&warning] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      warning =
          QStringLiteral("%1|%2|%3").arg(box->icon()).arg(box->standardButtons()).arg(box->text());
      box->button(QMessageBox::Ok)->click();
    }
  });
  answerer.start(0);
  ok->click();
  return warning;
}

/// What PressOkAnsweringWarning returns for a warning box with `text` and an "OK" button.
inline QString Warning(const QString& text) {
  return QStringLiteral("%1|%2|%3").arg(QMessageBox::Warning).arg(QMessageBox::Ok).arg(text);
}

}  // namespace trivenor::test_support
