#include "shell/field_refusal.h"

#include <QGuiApplication>
#include <QMessageBox>

namespace trivenor {

void RefuseField(QWidget& dialog, QLineEdit& field, const std::string& warning) {
  QMessageBox box(QMessageBox::Warning, QGuiApplication::applicationDisplayName(),
                  QString::fromStdString(warning), QMessageBox::Ok, &dialog);
  box.exec();
  field.setFocus(Qt::OtherFocusReason);
  field.selectAll();
}

}  // namespace trivenor
