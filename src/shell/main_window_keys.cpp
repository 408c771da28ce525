#include "shell/main_window_keys.h"

#include <QCoreApplication>
#include <QKeySequence>

#include "view/layout_keys.h"

namespace trivenor {

MainWindowKeys::MainWindowKeys(QWidget& window, const CommandActions& actions)
    : QObject(&window), window_(window) {
  for (const char* key : KeysWithoutCommand()) {
    table_[QKeySequence(QString::fromLatin1(key))[0].toCombined()] = nullptr;
  }
  // Entered second: a key that is also a command's shortcut runs the command.
  for (const CommandInfo& command : AllCommands()) {
    for (const QKeySequence& key : ShortcutsOf(command)) {
      table_[key[0].toCombined()] = &actions[command.id];
    }
  }
  QCoreApplication::instance()->installEventFilter(this);
}

bool MainWindowKeys::eventFilter(QObject* watched, QEvent* event) {
  const bool press = event->type() == QEvent::KeyPress;
  if (!press && event->type() != QEvent::ShortcutOverride) {
    return false;
  }
  const auto* widget = qobject_cast<QWidget*>(watched);
  if (widget == nullptr || widget->window() != &window_) {
    return false;
  }
  auto& key = static_cast<QKeyEvent&>(*event);
  const auto found = Find(key);
  if (found == table_.end()) {
    return false;
  }
  // Taking the override keeps Qt's own shortcut matching from running the command a second time
  // where the window is active; the press that follows is delivered and handled here.
  key.accept();
  QAction* command = found->second;
  if (press && command != nullptr && command->isEnabled()) {
    command->trigger();
  }
  return true;
}

std::map<int, QAction*>::const_iterator MainWindowKeys::Find(QKeyEvent& event) const {
  for (const QKeyCombination key : LayoutKeys(event)) {
    // The table's keys are the same on the keypad (Shift+Ins with Num Lock off).
    const auto found = table_.find(key.toCombined() & ~Qt::KeypadModifier);
    if (found != table_.end()) {
      return found;
    }
  }
  return table_.end();
}

}  // namespace trivenor
