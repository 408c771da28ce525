#include "shell/crash_recovery.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStandardPaths>
#include <QUuid>

namespace trivenor {

QString DefaultRecoveryFolder() {
  return QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
}

namespace {

std::string NewId() {
  return QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
}

}  // namespace

CrashRecovery::CrashRecovery(CTrivenorDoc& document, const QString& folder, QObject* parent)
    : QObject(parent),
      document_(document),
      folder_(folder.toStdString()),
      id_(NewId()),
      lock_(QString::fromStdString(folder_.LockPath(id_))) {
  QDir().mkpath(folder);
  // Without the lock the copies are still written; another editor might offer them meanwhile.
  lock_.tryLock(0);
  bool isNumber = false;
  const int seconds = qEnvironmentVariableIntValue(kRecoveryPeriodVariable, &isNumber);
  SetPeriod(isNumber && seconds > 0 ? std::chrono::seconds(seconds) : kRecoveryPeriod);
  connect(&timer_, &QTimer::timeout, this, &CrashRecovery::WriteNow);
}

CrashRecovery::~CrashRecovery() {
  folder_.Remove(id_);
}

void CrashRecovery::Start() {
  timer_.start();
}

void CrashRecovery::WriteNow() {
  if (!document_.IsModified()) {
    folder_.Remove(id_);
  } else if (folder_.Write(id_, document_)) {
    failureShown_ = false;
  } else if (!failureShown_) {
    failureShown_ = true;
    emit failed(QString::fromUtf8(kWriteFailed));
  }
}

void CrashRecovery::DocumentLeft() {
  if (!document_.IsModified()) {
    folder_.Remove(id_);
  }
}

bool CrashRecovery::OfferLeftCopies(QWidget& window, DocumentCommands& commands) {
  for (const std::string& id : folder_.OtherIds(id_)) {
    // A lock that can be taken belongs to no running editor. Held until the copy is dealt with,
    // so that an editor starting meanwhile does not offer it as well.
    QLockFile other(QString::fromStdString(folder_.LockPath(id)));
    // A lock counts as left behind when its process has gone, or when it is older than a period
    // (as every lock of an editor that left a copy is) and no process holds it: on Linux the
    // holder keeps a system lock on the file that goes with the process however it ends. So
    // a lock from before a power failure is found even when its process number belongs to
    // another editor by now, and a running editor's lock is never taken, however old.
    other.setStaleLockTime(timer_.intervalAsDuration());
    if (!other.tryLock(0)) {
      continue;
    }
    if (!folder_.HasCopy(id) || !AskToRecover(window, id)) {
      folder_.Remove(id);
      continue;
    }
    const std::string original = folder_.OriginalPathOf(id);
    // The copy becomes this editor's own, so that it is there until this one ends cleanly.
    const std::string copy = folder_.Adopt(id, id_) ? folder_.CopyPath(id_) : folder_.CopyPath(id);
    return commands.OpenRecovered(QString::fromStdString(copy), QString::fromStdString(original));
  }
  return false;
}

bool CrashRecovery::AskToRecover(QWidget& window, const std::string& id) const {
  const QDateTime written = QFileInfo(QString::fromStdString(folder_.CopyPath(id))).lastModified();
  QMessageBox question(
      QMessageBox::Question, QGuiApplication::applicationDisplayName(),
      QStringLiteral("Trivenor wurde nicht ordnungsgemäß beendet. Soll der Schaltkreis „%1“ vom "
                     "%2 wiederhergestellt werden?")
          .arg(QString::fromStdString(RecoveredTitle(folder_.OriginalPathOf(id))),
               written.toString(QStringLiteral("dd.MM.yyyy HH:mm"))),
      QMessageBox::Yes | QMessageBox::No, &window);
  question.button(QMessageBox::Yes)->setText(QStringLiteral("&Ja"));
  question.button(QMessageBox::No)->setText(QStringLiteral("&Nein"));
  question.setDefaultButton(QMessageBox::Yes);
  return question.exec() == QMessageBox::Yes;
}

}  // namespace trivenor
