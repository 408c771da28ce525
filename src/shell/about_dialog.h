#pragma once

#include <QDialog>

namespace trivenor {

/// "Info über Trivenor": the program's icon, version and legal line, the tools that built it,
/// the licence terms, the warranty disclaimer and a frank note on how little the password of a
/// circuit protects. Static text and one "OK" button. The widgets carry the object names
/// "version", "licence" (the group box) and "ok" for tests.
class AboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit AboutDialog(QWidget* parent = nullptr);
};

}  // namespace trivenor
