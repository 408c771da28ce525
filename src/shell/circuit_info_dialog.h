#pragma once

#include <QAction>
#include <QCheckBox>
#include <QDialog>
#include <QLineEdit>
#include <QWidget>
#include <functional>
#include <string>

#include "document/circuit_info.h"
#include "document/trivenor_doc.h"

namespace trivenor {

/// "Schaltkreisinformationen": the circuit's title on the top line, "erstellt von" and the
/// owner, the password in a masked field and "Änderungen zulassen". On "OK" a password that may
/// not change the values is refused like any field: a warning, the focus back on the password
/// and the dialog stays open, so the user learns that nothing was taken over and keeps what was
/// typed. Someone who only looked and changed nothing closes it with "OK" as well, without the
/// password and without a warning. While no password is stored, what is typed becomes the
/// password, so it is asked for a second time ("Passwort wiederholen:"): a typo in the masked
/// field would otherwise lock the circuit for good. The widgets carry the object names "title",
/// "owner", "password", "repeatedPassword" (only while none is stored), "editable", "ok" and
/// "cancel" for tests.
class CircuitInfoDialog : public QDialog {
  Q_OBJECT

 public:
  static constexpr char kWrongPassword[] =
      "Das Passwort ist falsch. Ohne das gespeicherte Passwort bleiben die Angaben unverändert.";

  static constexpr char kPasswordsDiffer[] = "Die Passwörter stimmen nicht überein.";

  /// `passwordStored` tells whether the circuit has a password already; `passwordOpens` whether
  /// a typed password (UTF-8) may change the values.
  CircuitInfoDialog(bool passwordStored, std::function<bool(const std::string&)> passwordOpens,
                    QWidget* parent = nullptr);

  /// Fills the fields; UTF-8.
  void SetInfo(const CircuitInfo& info);
  /// What the fields hold now; UTF-8.
  CircuitInfo info() const;

  void accept() override;

 private:
  std::function<bool(const std::string&)> passwordOpens_;
  CircuitInfo shown_;  ///< what SetInfo filled in
  QLineEdit* title_;
  QLineEdit* owner_;
  QLineEdit* password_;
  QLineEdit* repeatedPassword_ = nullptr;  ///< only while a new password can be set
  QCheckBox* editable_;
};

/// "Info zum Schaltkreis": shows the dialog over `parent`, filled from `document`, and takes the
/// typed values over on "OK". The views repaint; the window title stays, it names the file.
void ShowCircuitInfo(CTrivenorDoc& document, QWidget& parent);

/// Runs ShowCircuitInfo whenever `command` is triggered. `document` and `parent` must outlive
/// the connection (the main window owns `command`).
void ConnectCircuitInfo(QAction& command, CTrivenorDoc& document, QWidget& parent);

}  // namespace trivenor
