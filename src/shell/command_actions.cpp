#include "shell/command_actions.h"

#include <QKeySequence>
#include <QMenu>
#include <stdexcept>

namespace trivenor {

namespace {

QIcon ToolBarIcon(CommandId id) {
  switch (id) {
    case kFileNew:
      return QIcon(QStringLiteral(":/toolbar/new.xpm"));
    case kFileOpen:
      return QIcon(QStringLiteral(":/toolbar/open.xpm"));
    case kFileSave:
      return QIcon(QStringLiteral(":/toolbar/save.xpm"));
    case kEditUndo:
      return QIcon(QStringLiteral(":/toolbar/undo.xpm"));
    case kEditRedo:
      return QIcon(QStringLiteral(":/toolbar/redo.xpm"));
    case kFilePrint:
      return QIcon(QStringLiteral(":/toolbar/print.xpm"));
    case kPause:
      return QIcon(QStringLiteral(":/toolbar/pause.xpm"));
    case kStep:
      return QIcon(QStringLiteral(":/toolbar/step.xpm"));
    default:
      return {};
  }
}

}  // namespace

QList<QKeySequence> ShortcutsOf(const CommandInfo& command) {
  if (*command.shortcut == '\0') {
    return {};
  }
  return QKeySequence::listFromString(QString::fromLatin1(command.shortcut));
}

CommandActions::CommandActions(QWidget& owner) {
  for (const CommandInfo& command : AllCommands()) {
    auto* action = new QAction(QString::fromUtf8(command.text), &owner);
    const QString prompt = QString::fromUtf8(command.prompt);
    const qsizetype lineBreak = prompt.indexOf(u'\n');
    action->setStatusTip(prompt.left(lineBreak));
    if (lineBreak >= 0) {
      action->setToolTip(prompt.mid(lineBreak + 1));
    }
    action->setShortcuts(ShortcutsOf(command));
    action->setCheckable(command.checkable);
    action->setIcon(ToolBarIcon(command.id));
    // Menu items show no icons, as in the original; only the toolbar does.
    action->setIconVisibleInMenu(false);
    // Keyboard-only commands are in no menu; on the window their keys still work.
    owner.addAction(action);
    actions_.emplace(command.id, action);
  }
}

QAction& CommandActions::operator[](CommandId id) const {
  const auto found = actions_.find(id);
  if (found == actions_.end()) {
    throw std::out_of_range("no action for this command id");
  }
  return *found->second;
}

void CommandActions::BuildMenuBar(QMenuBar& menuBar) const {
  for (const MenuInfo& menuInfo : MenuBarLayout()) {
    QMenu* menu = menuBar.addMenu(QString::fromUtf8(menuInfo.title));
    for (const CommandId id : menuInfo.items) {
      if (id == kCommandNone) {
        menu->addSeparator();
      } else {
        menu->addAction(&(*this)[id]);
      }
    }
  }
}

void CommandActions::BuildToolBar(QToolBar& toolBar) const {
  for (const CommandId id : ToolBarLayout()) {
    if (id == kCommandNone) {
      toolBar.addSeparator();
    } else {
      toolBar.addAction(&(*this)[id]);
    }
  }
}

QMenu& CommandActions::MenuOf(CommandId id) const {
  for (QObject* holder : (*this)[id].associatedObjects()) {
    if (auto* menu = qobject_cast<QMenu*>(holder)) {
      return *menu;
    }
  }
  throw std::out_of_range("command is in no menu");
}

}  // namespace trivenor
