#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <functional>
#include <memory>

#include "dialog_answering.h"
#include "document/trivenor_doc.h"
#include "isolated_settings.h"
#include "shell/about_dialog.h"
#include "shell/file_dialogs.h"
#include "shell/main_frame.h"
#include "shell/parameter_dialogs.h"
#include "shell/settings.h"
#include "shell/trivenor_app.h"

namespace trivenor {
namespace {

// Answers every modal window that comes up while it lives, from inside the window's own event
// loop: message boxes with `button`, other dialogs through `handleDialog`. Records what it saw.
class ModalAnswerer {
 public:
  explicit ModalAnswerer(QMessageBox::StandardButton button = QMessageBox::Ok) {
    timer_.setInterval(0);
    QObject::connect(&timer_, &QTimer::timeout, [this, button] {
      QWidget* modal = QApplication::activeModalWidget();
      if (auto* box = qobject_cast<QMessageBox*>(modal)) {
        texts.append(box->text());
        icons.append(box->icon());
        QStringList buttonTexts;
        for (const QAbstractButton* boxButton : box->buttons()) {
          buttonTexts.append(boxButton->text());
        }
        buttonTexts.sort();
        buttons.append(buttonTexts.join(u'|'));
        box->button(box->standardButtons() & button ? button : QMessageBox::Ok)->click();
      } else if (auto* dialog = qobject_cast<QDialog*>(modal); dialog && handleDialog) {
        handleDialog(*dialog);
      }
    });
    timer_.start();
  }

  std::function<void(QDialog&)> handleDialog;
  QStringList texts;
  QList<QMessageBox::Icon> icons;
  QStringList buttons;  // each box's button texts, sorted, joined by "|"

 private:
  QTimer timer_;
};

QMenu& Menu(const CMainFrame& frame, int index) {
  return *frame.menuBar()->actions().at(index)->menu();
}

// The menu as the user reads it: "text|status prompt", "-" for a separator; hidden items left out.
QStringList Items(const QMenu& menu) {
  QStringList items;
  for (const QAction* action : menu.actions()) {
    if (action->isSeparator()) {
      items.append(QStringLiteral("-"));
    } else if (action->isVisible()) {
      items.append(action->text() + u'|' + action->statusTip());
    }
  }
  return items;
}

// The visible recent-file entries of "&Datei": "&1 path" and so on.
QList<QAction*> RecentActions(const CMainFrame& frame) {
  QList<QAction*> entries;
  for (QAction* action : Menu(frame, 0).actions()) {
    if (action->isVisible() && action->text().startsWith(u'&') && action->text()[1].isDigit()) {
      entries.append(action);
    }
  }
  return entries;
}

QStringList RecentEntries(const CMainFrame& frame) {
  QStringList entries;
  for (const QAction* action : RecentActions(frame)) {
    entries.append(action->text());
  }
  return entries;
}

// A circuit file as the editor writes it, with the given canvas width to tell files apart.
void WriteCircuit(const QString& path, int canvasWidth = 600) {
  CTrivenorDoc document;
  document.settings.canvasWidth = canvasWidth;
  QCOMPARE(document.SaveDocument(path.toStdString()), DocumentError::None);
}

int StoredCanvasWidth(const QString& path) {
  CTrivenorDoc document;
  return document.OpenDocument(path.toStdString()) == DocumentError::None
             ? document.settings.canvasWidth
             : -1;
}

}  // namespace

class MainFrameTest : public QObject {
  Q_OBJECT

  // Long enough never to expire during a test: an armed clock with this delay shows that the
  // view has started over with the document.
  static constexpr int kFirstTickDelay = 60000;

 private slots:
  void initTestCase() {
    QVERIFY(settings_.isValid());
    ConfigureApplication(*qobject_cast<QApplication*>(QCoreApplication::instance()));
  }

  void init() {
    UserSettings().remove(QString());
    files_ = std::make_unique<QTemporaryDir>();
    document_ = std::make_unique<CTrivenorDoc>();
    frame_ = std::make_unique<CMainFrame>(*document_);
    frame_->view().SetFirstTickDelay(kFirstTickDelay);
  }

  void cleanup() {
    frame_.reset();
    document_.reset();
  }

  void startsWithAnEmptyUntitledDocument() {
    CTrivenorApp app;
    QVERIFY(app.InitInstance({QStringLiteral("trivenor")}));
    CMainFrame& frame = *app.mainFrame();
    QVERIFY(frame.isVisible());
    QCOMPARE(frame.windowTitle(), QStringLiteral("Unbenannt - Trivenor"));
    QCOMPARE(frame.centralWidget(), &frame.view());
    QCOMPARE(frame.focusWidget(), &frame.view());
    QCOMPARE(frame.messagePane().text(), QStringLiteral("Drücken Sie F1, um Hilfe zu erhalten."));
    QVERIFY(frame.messagePane().isVisible());
    // The offscreen platform cannot tell the lock keys: the panes are there, empty.
    LockIndicatorPanes& locks = frame.lockIndicators();
    QCOMPARE(locks.capsLockPane().text(), QString());
    locks.Show({.capsLock = true, .numLock = false, .scrollLock = true});
    QCOMPARE(
        locks.capsLockPane().text() + locks.numLockPane().text() + locks.scrollLockPane().text(),
        QStringLiteral("UFRF"));
    locks.Show({.numLock = true});
    QCOMPARE(locks.capsLockPane().text() + locks.numLockPane().text(), QStringLiteral("NUM"));

    QToolBar& toolBar = frame.toolBar();
    QCOMPARE(frame.toolBarArea(&toolBar), Qt::TopToolBarArea);
    QCOMPARE(toolBar.allowedAreas(), Qt::AllToolBarAreas);
    QVERIFY(toolBar.isMovable());
    QStringList buttons;
    for (const QAction* action : toolBar.actions()) {
      buttons.append(action->isSeparator() ? QStringLiteral("-") : action->toolTip());
    }
    QCOMPARE(buttons, (QStringList{"Neu", "Öffnen", "Speichern", "Rückgängig", "Wiederherstellen",
                                   "-", "Drucken", "-", "Anhalten", "Einzelschritt"}));
  }

  void menusListEveryCommandWithItsPrompt() {
    const QStringList titles = {"&Datei",      "&Bearbeiten", "Bauteile", "&Ansicht",
                                "Darstellung", "E&xtras",     "&?"};
    const QList<QStringList> menus = {
        {"&Neu|Erstellt ein neues Dokument.", "Ö&ffnen...|Öffnet ein bestehendes Dokument.",
         "S&peichern|Speichert das aktive Dokument.",
         "Speichern &unter...|Speichert das aktive Dokument unter neuem Namen.",
         "Als Bild e&xportieren...|Speichert den Schaltkreis als Bild oder als Arbeitsblatt.", "-",
         "&Drucken...|Druckt das aktive Dokument.",
         "Arbeitsblatt dru&cken...|Druckt den Schaltkreis ohne die Ergebnisse.",
         "Sei&tenansicht|Zeigt ganze Seiten an.",
         "Drucker&einrichtung...|Ändert den Drucker und die Druckoptionen.", "-",
         "Letzte Datei|Öffnet dieses Dokument.", "-",
         "&Beenden|Verläßt die Anwendung; fragt, ob Dokumente gespeichert werden sollen."},
        {"&Rückgängig|Macht die letzte Änderung rückgängig.",
         "&Wiederherstellen|Stellt die zuletzt rückgängig gemachte Änderung wieder her."},
        {"Rechenfunktionen|Klasse 1/2", "Grundfunktionen|Klasse 3/4",
         "Alle Funktionen|wissenschaftliche Funktionen etc.", "-",
         "Subschaltkreise|Andere Schaltkreise als Subschaltkreise einfügen",
         "Pfad festlegen|Legt für Dynamische Subschaltkreise den Pfad fest", "-",
         "Reset|Setzt kurzzeitig alles auf Null",
         "&Anhalten|Hält die Berechnungen an oder lässt sie weiterlaufen.",
         "&Einzelschritt|Führt einen einzelnen Berechnungsschritt aus."},
        {"&Symbolleiste|Blendet die Symbolleiste ein oder aus.",
         "S&tatusleiste|Blendet die Statusleiste ein oder aus.", "-", "Schrift|Schrift ändern",
         "Fensterbreite|Eingabe der Fensterbreite",
         "Geschwindigkeit|Bestimmt Geschwindigkeit der Berechnungen", "-",
         "&Vergrößern|Vergrößert die Darstellung.", "Ver&kleinern|Verkleinert die Darstellung.",
         "&Originalgröße|Zeigt den Schaltkreis in Originalgröße.",
         "An &Fenster anpassen|Passt die Darstellung an die Größe des Fensters an.", "-",
         "Werte an Leitungen|Zeigt an jeder Leitung ihren Wert"},
        {"blau|Ändert die Farbe des Objekts", "rot|Ändert die Farbe des Objekts",
         "gelb|Ändert die Farbe des Objekts", "grün|Ändert die Farbe des Objekts",
         "schwarz|Ändert die Farbe des Objekts", "-", "Dicke 1|Liniendicke", "Dicke 2|Liniendicke",
         "Dicke 4|Liniendicke", "-", "Dynamische Linien|"},
        {"Aufgabe &prüfen|Prüft den Schaltkreis mit der Prüftabelle der Aufgabe",
         "Prüftabelle &erstellen...|Erstellt eine Prüftabelle mit den Ergebnissen dieses "
         "Schaltkreises",
         "-", "Aufgaben ö&ffnen...|Öffnet eine der mitgelieferten Aufgaben"},
        {"&Hilfethemen|Listet die Hilfethemen auf.", "-",
         "Inf&o über Trivenor...|Zeigt Programminformationen, Versionsnummer und Copyright an.",
         "Info zum Schaltkreis|Zeigt Titel und Besitzer des Schaltkreises"},
    };
    QCOMPARE(frame_->menuBar()->actions().size(), titles.size());
    for (int i = 0; i < titles.size(); ++i) {
      QCOMPARE(frame_->menuBar()->actions().at(i)->text(), titles[i]);
      QCOMPARE(Items(Menu(*frame_, i)), menus[i]);
    }
    QVERIFY(!frame_->action(kFileRecent).isEnabled());

    // The part after the line break of a prompt is the tooltip.
    QCOMPARE(frame_->action(kViewToolbar).toolTip(),
             QStringLiteral("Symbolleiste ein-/ausschalten"));
    QCOMPARE(frame_->action(kAppAbout).toolTip(), QStringLiteral("Info"));
    QCOMPARE(frame_->action(kFileSaveAs).toolTip(), QStringLiteral("Speichern unter"));

    const QList<std::pair<CommandId, const char*>> keys = {
        {kFileNew, "Ctrl+N"},  {kFileOpen, "Ctrl+O"}, {kFileSave, "Ctrl+S"}, {kFilePrint, "Ctrl+P"},
        {kEditUndo, "Ctrl+Z"}, {kEditRedo, "Ctrl+Y"}, {kHelp, "F1"}};
    for (const auto& [id, key] : keys) {
      QCOMPARE(frame_->action(id).shortcut(), QKeySequence(QString::fromLatin1(key)));
      QVERIFY(frame_->actions().contains(&frame_->action(id)));
    }
    QCOMPARE(frame_->action(kEditRedo).shortcuts(),
             (QList<QKeySequence>{QKeySequence(QStringLiteral("Ctrl+Y")),
                                  QKeySequence(QStringLiteral("Ctrl+Shift+Z"))}));
    // Shown with Qt's German key names.
    QCOMPARE(frame_->action(kFileNew).shortcut().toString(QKeySequence::NativeText),
             QStringLiteral("Strg+N"));
    QCOMPARE(frame_->action(kEditUndo).shortcut().toString(QKeySequence::NativeText),
             QStringLiteral("Strg+Z"));
    QCOMPARE(frame_->action(kEditUndo).toolTip(), QStringLiteral("Rückgängig"));
    QCOMPARE(frame_->action(kEditRedo).toolTip(), QStringLiteral("Wiederherstellen"));
    // Nothing to undo or redo in a new document.
    QVERIFY(!frame_->action(kEditUndo).isEnabled() && !frame_->action(kEditRedo).isEnabled());
  }

  void hoveringACommandShowsItsPromptInPlaceOfTheIdleMessage() {
    frame_->show();
    frame_->action(kFileOpen).showStatusText(frame_.get());
    QCOMPARE(frame_->statusBar()->currentMessage(),
             QStringLiteral("Öffnet ein bestehendes Dokument."));
    QVERIFY(!frame_->messagePane().isVisible());
    frame_->statusBar()->clearMessage();
    QVERIFY(frame_->messagePane().isVisible());
  }

  void keyboardShortcutsReachTheirCommands() {
    frame_->show();
    frame_->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(frame_.get()));
    document_->SetModifiedFlag();
    ModalAnswerer answerer(QMessageBox::Cancel);
    QTest::keyClick(frame_.get(), Qt::Key_N, Qt::ControlModifier);
    QCOMPARE(answerer.texts, QStringList{"Änderungen in Unbenannt speichern?"});
  }

  void barItemsShowAndHideTheirBars() {
    frame_->show();
    QAction& toolBarItem = frame_->action(kViewToolbar);
    QAction& statusBarItem = frame_->action(kViewStatusBar);
    QVERIFY(toolBarItem.isChecked() && statusBarItem.isChecked());

    toolBarItem.trigger();
    QVERIFY(frame_->toolBar().isHidden());
    QVERIFY(!toolBarItem.isChecked());
    toolBarItem.trigger();
    QVERIFY(!frame_->toolBar().isHidden());

    statusBarItem.trigger();
    QVERIFY(frame_->statusBar()->isHidden());
    statusBarItem.trigger();
    QVERIFY(!frame_->statusBar()->isHidden());

    // Closed another way (floating, the context menu), the toolbar still loses its check mark.
    frame_->toolBar().hide();
    QVERIFY(!toolBarItem.isChecked());
  }

  void openShowsTheFileOrReportsWhyNot_data() {
    QTest::addColumn<QByteArray>("contents");  // empty: no file at all
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    QTest::addColumn<bool>("viewStartsOver");
    QTest::newRow("circuit") << QByteArray("ok") << QString() << "kreis.trv - Trivenor" << true;
    QTest::newRow("missing") << QByteArray()
                             << "kreis.trv\nDie Datei kann nicht gefunden werden.\nÜberprüfen "
                                "Sie, ob der korrekte Pfad und Dateiname angegeben wurde."
                             << "vorher.trv - Trivenor" << false;
    QTest::newRow("malformed") << QByteArray("truncated") << "Unerwartetes Dateiformat."
                               << "Unbenannt - Trivenor" << true;
  }

  void openShowsTheFileOrReportsWhyNot() {
    QFETCH(QByteArray, contents);
    QFETCH(QString, message);
    QFETCH(QString, title);
    QFETCH(bool, viewStartsOver);
    const QString before = files_->filePath(QStringLiteral("vorher.trv"));
    const QString path = files_->filePath(QStringLiteral("kreis.trv"));
    WriteCircuit(before);
    QCOMPARE(frame_->documentCommands().OpenFile(before), DocumentCommands::OpenResult::Opened);
    if (!contents.isEmpty()) {
      WriteCircuit(path);
    }
    if (contents == "truncated") {
      QFile file(path);
      QVERIFY(file.resize(file.size() - 3));
    }

    frame_->documentCommands().fileDialogs.askOpenPath = [&](QWidget*) { return path; };
    frame_->view().StartSimulationTimer(kFirstTickDelay + 1);
    ModalAnswerer answerer;
    frame_->action(kFileOpen).trigger();

    QCOMPARE(answerer.texts, message.isEmpty() ? QStringList() : QStringList{message});
    if (!message.isEmpty()) {
      QCOMPARE(answerer.icons.value(0), QMessageBox::Warning);
    }
    QCOMPARE(frame_->windowTitle(), title);
    QVERIFY(!document_->IsModified());
    QCOMPARE(frame_->view().SimulationTimerInterval(),
             viewStartsOver ? kFirstTickDelay : kFirstTickDelay + 1);
    QVERIFY(!QGuiApplication::overrideCursor());
  }

  void saveQuestionDecidesWhetherTheActionGoesOn_data() {
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("untitled");
    QTest::addColumn<bool>("goesOn");
    QTest::addColumn<int>("storedWidth");  // in the file afterwards
    QTest::newRow("Ja saves") << int(QMessageBox::Yes) << false << true << 700;
    QTest::newRow("Nein discards") << int(QMessageBox::No) << false << true << 600;
    QTest::newRow("Abbrechen keeps all") << int(QMessageBox::Cancel) << false << false << 600;
    // "Ja" on an untitled document asks for a path; cancelling that abandons the action too.
    QTest::newRow("Ja, path cancelled") << int(QMessageBox::Yes) << true << false << -1;
  }

  void saveQuestionDecidesWhetherTheActionGoesOn() {
    QFETCH(int, answer);
    QFETCH(bool, untitled);
    QFETCH(bool, goesOn);
    QFETCH(int, storedWidth);
    const QString path = files_->filePath(QStringLiteral("kreis.trv"));
    if (!untitled) {
      WriteCircuit(path);
      QCOMPARE(frame_->documentCommands().OpenFile(path), DocumentCommands::OpenResult::Opened);
    }
    document_->settings.canvasWidth = 700;
    document_->SetModifiedFlag();
    const QString title = frame_->windowTitle();
    frame_->documentCommands().fileDialogs.askSavePath = [](QWidget*, const QString&) {
      return QString();
    };

    ModalAnswerer answerer(static_cast<QMessageBox::StandardButton>(answer));
    frame_->action(kFileNew).trigger();

    const QString name = untitled ? QStringLiteral("Unbenannt") : QStringLiteral("kreis.trv");
    QCOMPARE(answerer.texts, QStringList{"Änderungen in " + name + " speichern?"});
    QCOMPARE(answerer.icons.value(0), QMessageBox::Question);
    QCOMPARE(answerer.buttons.value(0), QStringLiteral("&Ja|&Nein|Abbrechen"));
    QCOMPARE(StoredCanvasWidth(path), storedWidth);
    if (goesOn) {
      QCOMPARE(frame_->windowTitle(), QStringLiteral("Unbenannt - Trivenor"));
      QVERIFY(!document_->IsModified());
      QCOMPARE(document_->settings.canvasWidth, 600);
    } else {
      QCOMPARE(frame_->windowTitle(), title);
      QVERIFY(document_->IsModified());
      QCOMPARE(document_->settings.canvasWidth, 700);
    }
  }

  void closingAsksFirstAndCancelKeepsTheWindowOpen() {
    frame_->show();
    document_->SetModifiedFlag();
    {
      ModalAnswerer answerer(QMessageBox::Cancel);
      QVERIFY(!frame_->close());
      QCOMPARE(answerer.texts.size(), 1);
    }
    QVERIFY(frame_->isVisible());
    ModalAnswerer answerer(QMessageBox::No);
    QVERIFY(frame_->close());
  }

  void saveAsksForAPathOnlyWhenTheDocumentHasNone() {
    const QString path = files_->filePath(QStringLiteral("neu.trv"));
    QStringList proposals;
    frame_->documentCommands().fileDialogs.askSavePath = [&](QWidget*, const QString& proposal) {
      proposals.append(proposal);
      return path;
    };
    document_->SetModifiedFlag();
    frame_->action(kFileSave).trigger();
    frame_->action(kFileSave).trigger();
    QCOMPARE(proposals, QStringList{"Unbenannt"});
    QCOMPARE(frame_->windowTitle(), QStringLiteral("neu.trv - Trivenor"));
    QVERIFY(!document_->IsModified());
    QCOMPARE(StoredCanvasWidth(path), 600);
    QCOMPARE(RecentEntries(*frame_), QStringList{"&1 " + path});
  }

  void saveAsNamesCircuitFiles_data() {
    QTest::addColumn<QString>("proposal");  // the title or path SaveAs hands the dialog
    QTest::addColumn<QString>("shown");     // the name the dialog proposes
    QTest::addColumn<int>("shownFilter");   // 0 circuits, 1 all files
    QTest::addColumn<int>("chosenFilter");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("saved");
    // clang-format off
    QTest::newRow("untitled") << "Unbenannt" << "Unbenannt.trv" << 0 << 0 << "neu" << "neu.trv";
    QTest::newRow("all files") << "ampel.trv" << "ampel.trv"    << 0 << 1 << "neu" << "neu";
    QTest::newRow("png")       << "bild.png"  << "bild.png"     << 1 << 0 << "bild" << "bild.trv";
    // clang-format on
  }

  // Qt's own dialog, answered as the user does.
  void saveAsNamesCircuitFiles() {
    QFETCH(QString, proposal);
    QFETCH(int, shownFilter);
    QFETCH(int, chosenFilter);
    QFETCH(QString, typed);
    const QStringList filters = {"Trivenor-Schaltkreise (*.trv)", "Alle Dateien (*)"};
    QString shown;
    QString shownFilterName;
    test_support::AnswerNextDialog([&](QDialog& dialog) {
      auto& files = static_cast<QFileDialog&>(dialog);
      QCOMPARE(files.nameFilters(), filters);
      auto* name = files.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      shown = name->text();
      shownFilterName = files.selectedNameFilter();
      files.selectNameFilter(filters[chosenFilter]);
      name->setText(typed);
      QTest::keyClick(name, Qt::Key_Return);
    });
    const QString saved =
        StandardFileDialogs(*frame_).askSavePath(frame_.get(), files_->filePath(proposal));
    QTEST(shown, "shown");
    QCOMPARE(shownFilterName, filters[shownFilter]);
    QTEST(QFileInfo(saved).fileName(), "saved");

    // "Öffnen" offers the same, and takes a name of any kind as it is.
    test_support::AnswerNextDialog([&](QDialog& dialog) {
      auto& files = static_cast<QFileDialog&>(dialog);
      QCOMPARE(files.nameFilters(), filters);
      QCOMPARE(files.selectedNameFilter(), filters[0]);
      auto* name = files.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
      name->setText(saved);
      QTest::keyClick(name, Qt::Key_Return);
    });
    WriteCircuit(saved);
    QCOMPARE(StandardFileDialogs(*frame_).askOpenPath(frame_.get()), saved);
  }

  void recentFilesKeepTheLastFourAcrossARestart() {
    QStringList paths;
    for (const char* name : {"a", "b", "c", "d", "e"}) {
      paths.append(files_->filePath(QString::fromLatin1(name)));
      WriteCircuit(paths.last());
      QCOMPARE(frame_->documentCommands().OpenFile(paths.last()),
               DocumentCommands::OpenResult::Opened);
    }
    // Opening one again moves it up rather than listing it twice.
    QCOMPARE(frame_->documentCommands().OpenFile(paths[2]), DocumentCommands::OpenResult::Opened);
    const QStringList expected = {"&1 " + paths[2], "&2 " + paths[4], "&3 " + paths[3],
                                  "&4 " + paths[1]};
    QCOMPARE(RecentEntries(*frame_), expected);
    QVERIFY(!frame_->action(kFileRecent).isVisible());

    CTrivenorDoc secondDocument;
    const CMainFrame restarted(secondDocument);
    QCOMPARE(RecentEntries(restarted), expected);
    QSettings settings = UserSettings();
    QCOMPARE(settings.value(QStringLiteral("Recent File List/File1")).toString(), paths[2]);
  }

  void aRecentFileThatFailsToOpenLeavesTheList() {
    const QString kept = files_->filePath(QStringLiteral("bleibt"));
    const QString gone = files_->filePath(QStringLiteral("weg"));
    WriteCircuit(kept);
    WriteCircuit(gone, 800);
    frame_->documentCommands().OpenFile(kept);
    frame_->documentCommands().OpenFile(gone);
    QCOMPARE(RecentEntries(*frame_).size(), 2);
    QVERIFY(QFile::remove(gone));

    // Cancelling the save question is no failure of the file: it stays listed.
    document_->SetModifiedFlag();
    {
      ModalAnswerer answerer(QMessageBox::Cancel);
      RecentActions(*frame_).at(0)->trigger();  // "&1 .../weg"
      QCOMPARE(answerer.texts.size(), 1);
    }
    QCOMPARE(RecentEntries(*frame_).size(), 2);

    document_->SetModifiedFlag(false);
    ModalAnswerer answerer;
    RecentActions(*frame_).at(0)->trigger();
    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY(answerer.texts[0].startsWith(QStringLiteral("weg\nDie Datei kann nicht gefunden")));
    QCOMPARE(RecentEntries(*frame_), QStringList{"&1 " + kept});
    QCOMPARE(RecentEntries(CMainFrame(*document_)), QStringList{"&1 " + kept});
  }

  void commandLineOpensTheFileOrFails() {
    const QString path = files_->filePath(QStringLiteral("start.trv"));
    WriteCircuit(path);
    {
      CTrivenorApp app;
      QVERIFY(app.InitInstance({QStringLiteral("trivenor"), path}));
      QCOMPARE(app.mainFrame()->windowTitle(), QStringLiteral("start.trv - Trivenor"));
    }
    CTrivenorApp app;
    ModalAnswerer answerer;
    QVERIFY(!app.InitInstance({QStringLiteral("trivenor"), files_->filePath("fehlt.trv")}));
    QCOMPARE(answerer.texts.size(), 1);
    QVERIFY(answerer.texts[0].startsWith(QStringLiteral("fehlt.trv\n")));
    QVERIFY(app.mainFrame() == nullptr);
  }

  void speedAndCanvasWidthComeFromTheirDialogs() {
    ModalAnswerer answerer;
    QString preset;
    QString typed;
    answerer.handleDialog = [&](QDialog& dialog) {
      auto* field = dialog.findChild<QLineEdit*>(QStringLiteral("field"));
      preset = field->text();
      field->setText(typed);
      dialog.findChild<QPushButton*>(QStringLiteral("ok"))->click();
    };

    typed = QStringLiteral("200");
    frame_->action(kSpeed).trigger();
    QCOMPARE(preset, QStringLiteral("50"));
    QCOMPARE(document_->tickPeriod, 200);
    QVERIFY(!document_->IsModified());

    typed = QStringLiteral("800");
    frame_->action(kCanvasWidth).trigger();
    QCOMPARE(preset, QStringLiteral("600"));
    QCOMPARE(document_->settings.canvasWidth, 800);
    QVERIFY(document_->IsModified());
  }

  void aboutBoxHasItsTallOkButtonAndTheLicence() {
    AboutDialog about;
    QCOMPARE(about.windowTitle(), QStringLiteral("Info über Trivenor"));
    const auto* ok = about.findChild<QPushButton*>(QStringLiteral("ok"));
    QVERIFY(ok->height() > ok->width());
    QVERIFY(ok->geometry().right() < about.width() && ok->x() > about.width() * 8 / 10);
    const auto* licence = about.findChild<QGroupBox*>(QStringLiteral("licence"));
    QCOMPARE(licence->title(), QStringLiteral("Lizenz"));
    QCOMPARE(licence->findChildren<QLabel*>().size(), 5);
    QCOMPARE(about.findChildren<QPushButton*>().size(), 1);
  }

 private:
  IsolatedSettings settings_;
  std::unique_ptr<QTemporaryDir> files_;
  std::unique_ptr<CTrivenorDoc> document_;
  std::unique_ptr<CMainFrame> frame_;
};

}  // namespace trivenor

QTEST_MAIN(trivenor::MainFrameTest)
#include "test_main_frame.moc"
