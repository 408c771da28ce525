#include "shell/help_window.h"

#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>
#include <QWhatsThis>

namespace trivenor {
namespace {

const QUrl kHelpPage(QStringLiteral("qrc:/help/hilfe.html"));

constexpr char kCanvasHelp[] =
    "Die Zeichenfläche: links die Eingänge, rechts die Ausgänge, dazwischen die Bausteine. "
    "Ein Klick in eine Randspalte legt einen Eingang oder Ausgang an, Ziehen mit der linken "
    "Maustaste verschiebt Bausteine und zieht Leitungen, die rechte Maustaste setzt Knoten.";

}  // namespace

HelpWindow::HelpWindow(QWidget* parent) : QDialog(parent), browser_(new QTextBrowser(this)) {
  setWindowTitle(QStringLiteral("Trivenor – Hilfe"));
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(browser_);
  browser_->setOpenExternalLinks(true);
  browser_->setSource(kHelpPage);
  resize(560, 640);
}

void HelpWindow::ShowSection(const QString& anchor) {
  QUrl page = kHelpPage;
  if (!anchor.isEmpty()) {
    page.setFragment(anchor);
  }
  browser_->setSource(page);
  if (anchor.isEmpty()) {
    browser_->scrollToAnchor(QString());
    browser_->moveCursor(QTextCursor::Start);
  }
}

QString HelpWindow::CurrentSource() const {
  return browser_->source().toString();
}

HelpCommands::HelpCommands(QWidget& owner) : QObject(&owner), owner_(owner) {}

void HelpCommands::ShowContents() {
  if (!window_) {
    window_ = new HelpWindow(&owner_);
    window_->setAttribute(Qt::WA_DeleteOnClose);
  }
  window_->ShowSection(QString());
  window_->show();
  window_->raise();
  window_->activateWindow();
}

void HelpCommands::EnterContextHelp() {
  QWhatsThis::enterWhatsThisMode();
}

void ConnectHelpCommands(HelpCommands& help, const CommandActions& actions, QWidget& canvas) {
  for (const CommandInfo& command : AllCommands()) {
    QAction& action = actions[command.id];
    action.setWhatsThis(action.statusTip());
  }
  canvas.setWhatsThis(QString::fromUtf8(kCanvasHelp));
  QObject::connect(&actions[kHelpTopics], &QAction::triggered, &help, &HelpCommands::ShowContents);
  QObject::connect(&actions[kHelp], &QAction::triggered, &help, &HelpCommands::ShowContents);
  QObject::connect(&actions[kContextHelp], &QAction::triggered, &help,
                   &HelpCommands::EnterContextHelp);
}

}  // namespace trivenor
