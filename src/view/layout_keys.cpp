#include "view/layout_keys.h"

// Qt keeps the layout lookup of its shortcut matching to itself; the private header is the
// only way to the key a layout puts on a key (xkbcommon on X11 and Wayland, the keyboard
// layout on Windows) without asking each platform separately.
#include <QtGui/private/qkeymapper_p.h>

namespace trivenor {

QList<QKeyCombination> LayoutKeys(QKeyEvent& event) {
  QList<QKeyCombination> keys;
  for (const int combined : QKeyMapper::possibleKeys(&event)) {
    keys.append(QKeyCombination::fromCombined(combined));
  }
  if (keys.isEmpty()) {
    keys.append(event.keyCombination());
  }
  return keys;
}

Qt::Key LayoutBaseKey(QKeyEvent& event) {
  return LayoutKeys(event).front().key();
}

}  // namespace trivenor
