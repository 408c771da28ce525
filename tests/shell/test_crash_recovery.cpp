#include <QDateTime>
#include <QFile>
#include <QMessageBox>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QtTest>
#include <cerrno>
#include <memory>

#include "dialog_answering.h"
#include "document/file_access.h"
#include "isolated_settings.h"
#include "shell/trivenor_app.h"
#include "support/circuit_building.h"

namespace trivenor {

// Editors are CTrivenorApp objects sharing one recovery folder; a copy without a lock stands for
// one left by a killed editor (the end-to-end test kills a real one).
class CrashRecoveryTest : public QObject {
  Q_OBJECT

  IsolatedSettings settings_;

  // Starts `app` on `file`, answering with `button`; returns the questions and their buttons.
  static QStringList Start(CTrivenorApp& app, const QString& file = {},
                           QMessageBox::StandardButton button = QMessageBox::No) {
    QStringList questions;
    QTimer answerer;
    connect(&answerer, &QTimer::timeout, [&] {
      if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
        questions << box->text() + u'|' + box->button(QMessageBox::Yes)->text() + u'|' +
                         box->button(QMessageBox::No)->text();
        box->button(button)->click();
      }
    });
    answerer.start(0);
    app.InitInstance(file.isEmpty() ? QStringList{"trivenor"} : QStringList{"trivenor", file});
    return questions;
  }

  static void Modify(CTrivenorApp& app) {
    test_support::AddInputTerminal(app.document().circuit(), 3);
    app.document().SetModifiedFlag();
    app.recovery()->WriteNow();
  }

  // Leaves the copy of `app` once more, written at `time`, as the killed editor `id` would.
  static void LeaveAsKilled(const CTrivenorApp& app, const QString& id, const QDateTime& time) {
    const QString copy = app.recovery()->copyPath().chopped(3);
    const QString left = QFileInfo(copy).dir().filePath("recovery-" + id + '.');
    QVERIFY(QFile::copy(copy + "path", left + "path") && QFile::copy(copy + "trv", left + "trv"));
    QFile file(left + "trv");
    QVERIFY(file.open(QIODevice::ReadWrite) && file.setFileTime(time, QFile::FileModificationTime));
  }

 private slots:
  void aKilledEditorsCopyIsOfferedAndALiveOnesIsNot() {
    QTemporaryDir files;
    const QString path = files.filePath(QStringLiteral("aufgabe1"));
    QCOMPARE(CTrivenorDoc().SaveDocument(path.toStdString()), DocumentError::None);
    const QDateTime saved = QFileInfo(path).lastModified();
    CTrivenorApp first;
    QCOMPARE(Start(first, path), QStringList());
    Modify(first);
    // The copy leaves the document and the user's file as they were.
    QVERIFY(QFile::exists(first.recovery()->copyPath()));
    QCOMPARE(QString::fromStdString(first.document().PathName()), path);
    QVERIFY(first.document().IsModified() && !first.document().CanUndo());
    QCOMPARE(QFileInfo(path).lastModified(), saved);
    auto second = std::make_unique<CTrivenorApp>();
    QCOMPARE(Start(*second), QStringList());  // the first one still runs

    LeaveAsKilled(first, QStringLiteral("tot"), QDateTime({2026, 12, 9}, {14, 5}));
    CTrivenorApp third;
    QCOMPARE(Start(third, {}, QMessageBox::Yes),
             QStringList{"Trivenor wurde nicht ordnungsgemäß beendet. Soll der Schaltkreis "
                         "„aufgabe1“ vom 09.12.2026 14:05 wiederhergestellt werden?|&Ja|&Nein"});
    QCOMPARE(QString::fromStdString(third.document().PathName()), path);
    QCOMPARE(third.mainFrame()->windowTitle(), QStringLiteral("aufgabe1 - Trivenor"));
    third.document().RecordStep("Verschieben");
    third.document().Undo();
    QVERIFY(third.document().IsModified());  // no state of a recovered circuit is on disk
    QCOMPARE(third.document().circuit().inputs.size(), std::size_t{1});
    QVERIFY(QFile::exists(third.recovery()->copyPath()));  // taken over from the killed one

    // A save, "Neu" and a clean end each remove the copy of the document they leave.
    QVERIFY(third.mainFrame()->documentCommands().Save());
    QVERIFY(!QFile::exists(third.recovery()->copyPath()));
    test_support::AnswerNextDialog([](QDialog& dialog) {
      static_cast<QMessageBox&>(dialog).button(QMessageBox::No)->click();
    });
    first.mainFrame()->documentCommands().New();
    QVERIFY(!QFile::exists(first.recovery()->copyPath()));
    Modify(*second);
    const QString secondCopy = second->recovery()->copyPath();
    LeaveAsKilled(*second, QStringLiteral("auch-tot"), QDateTime::currentDateTime());
    second.reset();
    QVERIFY(!QFile::exists(secondCopy));

    // "Nein" deletes the copy offered.
    CTrivenorApp fourth;
    const QStringList questions = Start(fourth);
    QVERIFY(questions.size() == 1 && questions[0].contains(QStringLiteral("„Unbenannt“")));
    CTrivenorApp fifth;
    QCOMPARE(Start(fifth), QStringList());
  }

  void aCopyThatCannotBeWrittenIsSaidOnceInTheStatusBar() {
    CTrivenorApp app;
    Start(app);
    QSignalSpy said(app.recovery(), &CrashRecovery::failed);
    const ScopedWriteFault diskFull(
        [](std::size_t, std::size_t) { return WriteFault{.error = ENOSPC}; });
    Modify(app);
    app.recovery()->WriteNow();
    QCOMPARE(said.size(), 1);
    QCOMPARE(app.mainFrame()->statusBar()->currentMessage(),
             QString::fromUtf8(CrashRecovery::kWriteFailed));
  }
};

}  // namespace trivenor

QTEST_MAIN(trivenor::CrashRecoveryTest)
#include "test_crash_recovery.moc"
