#pragma once

#include <QDialog>
#include <QLineEdit>
#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <optional>
#include <string>

#include "shell/dialog_units.h"
#include "shell/field_rules.h"

namespace trivenor {

/// The frame the five parameter dialogs share: one field, "OK" as the default button and, in
/// most, "Abbrechen", placed in dialog units of the dialog font. The caller presets the value,
/// runs exec() and reads the value back only when it returned QDialog::Accepted. "OK" checks the
/// field first; a refused field shows its warning, takes the focus back with its text selected
/// and keeps the dialog open, leaving the value as it was.
/// The widgets carry the object names "field", "ok", "cancel" and "prompt" for tests.
class ParameterDialog : public QDialog {
  Q_OBJECT

 public:
  void accept() override;

 protected:
  /// Client size and control rectangles in dialog units.
  struct Layout {
    QSize client;
    QRect field;
    QRect ok;
    std::optional<QRect> cancel;
  };

  ParameterDialog(const QString& title, const Layout& layout, QWidget* parent);

  void AddPrompt(const QString& text, QPoint top_left);
  QLineEdit& field() const { return *field_; }
  /// Shows `text` in the field, selected so that typing replaces it.
  void ShowInField(const QString& text);

  /// Checks the field and, only when it passes, takes its value over.
  virtual FieldWarning TakeField() = 0;

 private:
  DialogUnits units_;
  QLineEdit* field_;
};

/// A dialog asking for one whole number within a range; the value starts at 0.
class WholeNumberDialog : public ParameterDialog {
  Q_OBJECT

 public:
  int value() const { return value_; }
  void SetValue(int value);

 protected:
  WholeNumberDialog(const QString& title, const Layout& layout, WholeNumberRange range,
                    QWidget* parent);
  FieldWarning TakeField() override;

 private:
  WholeNumberRange range_;
  int value_ = 0;
};

/// "Delay": the delay of a new delay line in evaluation ticks, 0 to 10000. It has no
/// "Abbrechen" button; Escape and the close box still cancel it.
class DelayDialog : public WholeNumberDialog {
  Q_OBJECT

 public:
  explicit DelayDialog(QWidget* parent = nullptr);
};

/// "HAZARD": how many ticks the input of a new hazard filter must stay unchanged, 1 to 10000.
class HazardDialog : public WholeNumberDialog {
  Q_OBJECT

 public:
  explicit HazardDialog(QWidget* parent = nullptr);
};

/// "Geschwindigkeit": milliseconds between evaluation passes, 5 to 5000.
class SpeedDialog : public WholeNumberDialog {
  Q_OBJECT

 public:
  explicit SpeedDialog(QWidget* parent = nullptr);
};

/// "Dialogfeld": the width of the canvas, 400 to 1000.
class CanvasWidthDialog : public WholeNumberDialog {
  Q_OBJECT

 public:
  explicit CanvasWidthDialog(QWidget* parent = nullptr);
};

/// "Wert Eingeben": the label of a new constant, any text of up to 40 characters, empty at first.
class ValueDialog : public ParameterDialog {
  Q_OBJECT

 public:
  static constexpr int kMaxCharacters = 40;

  explicit ValueDialog(QWidget* parent = nullptr);

  /// UTF-8.
  const std::string& text() const { return text_; }
  void SetText(const std::string& text);

 protected:
  FieldWarning TakeField() override;

 private:
  std::string text_;
};

}  // namespace trivenor
