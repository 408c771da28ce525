#pragma once

#include <QLineEdit>
#include <QWidget>
#include <string>

namespace trivenor {

/// How every dialog refuses a field on "OK": the warning in a box with the exclamation icon and
/// an "OK" button over `dialog`, then the focus back on `field` with its text selected, so that
/// typing replaces what was refused. The dialog stays open.
void RefuseField(QWidget& dialog, QLineEdit& field, const std::string& warning);

}  // namespace trivenor
