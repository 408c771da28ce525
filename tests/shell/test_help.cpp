#include <QAction>
#include <QFile>
#include <QRegularExpression>
#include <QTextBrowser>
#include <QWhatsThis>
#include <QtTest>

#include "document/trivenor_doc.h"
#include "isolated_settings.h"
#include "shell/help_window.h"
#include "shell/main_frame.h"

namespace trivenor {

class HelpTest : public QObject {
  Q_OBJECT

  IsolatedSettings settings_;

 private slots:
  void f1AndTheMenuShowOneHelpWindowWithTheBundledPage() {
    CTrivenorDoc document;
    CMainFrame frame(document);
    frame.show();
    auto* help = frame.findChild<HelpCommands*>();
    QVERIFY(help != nullptr);

    frame.action(kHelp).trigger();
    QPointer<HelpWindow> first = help->window();
    QVERIFY(first && first->isVisible());
    QVERIFY(first->CurrentSource().endsWith(QStringLiteral("hilfe.html")));
    const QString text = first->findChild<QTextBrowser*>()->toPlainText();
    QVERIFY(text.contains(QStringLiteral("Leitungen ziehen")));

    first->ShowSection(QStringLiteral("drucken"));
    frame.action(kHelpTopics).trigger();
    QCOMPARE(help->window(), first.data());
    QVERIFY(!first->CurrentSource().contains(u'#'));
  }

  // A contents entry whose section has been renamed would lead nowhere.
  void everyContentsEntryHasItsSection() {
    QFile page(QStringLiteral(":/help/hilfe.html"));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    const QRegularExpression link(QStringLiteral("href=\"#([a-z]+)\""));
    int links = 0;
    for (const QRegularExpressionMatch& match : link.globalMatch(html)) {
      ++links;
      QVERIFY2(html.contains(QStringLiteral("id=\"%1\"").arg(match.captured(1))),
               qPrintable(match.captured(1)));
    }
    QVERIFY(links >= 5);
  }

  // Regression: the page sent children to the tips outside a component, where a press does
  // nothing, and did not say that a forgotten password locks a circuit for good.
  void thePageTellsWhereWiresStartAndThatPasswordsAreNotRecovered() {
    QFile page(QStringLiteral(":/help/hilfe.html"));
    QVERIFY(page.open(QIODevice::ReadOnly));
    const QString html = QString::fromUtf8(page.readAll());
    const auto section = [&html](const char* id) {
      const qsizetype start = html.indexOf(QStringLiteral("id=\"%1\"").arg(QLatin1String(id)));
      return html.mid(start, html.indexOf(QStringLiteral("<h2"), start + 1) - start);
    };
    QVERIFY(section("leitungen").contains(QStringLiteral("innen im Baustein")));
    QVERIFY(section("sperre").contains(QStringLiteral("nicht wiederherstellen")));
  }

  void shiftF1AsksAboutTheNextClickWithTheCommandsPrompts() {
    CTrivenorDoc document;
    CMainFrame frame(document);
    frame.show();
    QCOMPARE(frame.action(kFileNew).whatsThis(), frame.action(kFileNew).statusTip());
    QVERIFY(!frame.view().whatsThis().isEmpty());
    frame.action(kContextHelp).trigger();
    QVERIFY(QWhatsThis::inWhatsThisMode());
    QWhatsThis::leaveWhatsThisMode();
  }
};

}  // namespace trivenor

QTEST_MAIN(trivenor::HelpTest)
#include "test_help.moc"
