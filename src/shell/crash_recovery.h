#pragma once

#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTimer>
#include <QWidget>
#include <chrono>

#include "document/recovery_files.h"
#include "document/trivenor_doc.h"
#include "shell/document_commands.h"

namespace trivenor {

/// How often a modified document is copied for recovery, and so at most how much work a crash
/// loses.
inline constexpr std::chrono::seconds kRecoveryPeriod{60};
/// Whole seconds that replace kRecoveryPeriod when set, so that a test need not wait a minute.
inline constexpr char kRecoveryPeriodVariable[] = "TRIVENOR_RECOVERY_SECONDS";

/// Where the recovery copies live: the user's data folder (QStandardPaths::AppDataLocation).
QString DefaultRecoveryFolder();

/// The safety net against crashes and power failures for one running editor. It holds a lock
/// file of its own in the recovery folder while it lives, so that other editors leave its copy
/// alone; while the document is modified it writes a copy there once per period, without
/// touching the user's file or the document. A copy that cannot be written is said once in the
/// status bar (failed()), never in a message box. The copy goes when the document is left
/// unmodified (after a save, "Neu", "Öffnen") and when this object goes, at a clean end.
class CrashRecovery : public QObject {
  Q_OBJECT

 public:
  /// Shown once when a copy cannot be written.
  static constexpr char kWriteFailed[] =
      "Die Kopie zur Wiederherstellung kann nicht gespeichert werden.";

  CrashRecovery(CTrivenorDoc& document, const QString& folder, QObject* parent = nullptr);
  ~CrashRecovery() override;

  /// At start-up: for each copy left by an editor that no longer runs, newest first, asks
  /// "Trivenor wurde nicht ordnungsgemäß beendet. Soll der Schaltkreis ... wiederhergestellt
  /// werden?". "Nein" deletes that copy; "Ja" opens it through `commands` as a modified document
  /// of the user's file and asks no further. True when a copy was opened.
  bool OfferLeftCopies(QWidget& window, DocumentCommands& commands);
  /// Starts writing a copy every period (kRecoveryPeriod, or the variable's seconds).
  void Start();
  void SetPeriod(std::chrono::milliseconds period) { timer_.setInterval(period); }

  /// The timer's work: writes the copy while the document is modified, removes it otherwise.
  void WriteNow();
  /// After a save, "Neu" and "Öffnen": the copy goes unless the document is still modified.
  void DocumentLeft();

  QString copyPath() const { return QString::fromStdString(folder_.CopyPath(id_)); }

 signals:
  void failed(const QString& message);

 private:
  /// The question for the copy of `id`; true for "Ja".
  bool AskToRecover(QWidget& window, const std::string& id) const;

  CTrivenorDoc& document_;
  RecoveryFolder folder_;
  std::string id_;
  QLockFile lock_;
  QTimer timer_;
  bool failureShown_ = false;
};

}  // namespace trivenor
