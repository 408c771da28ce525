#pragma once

#include <QKeyCombination>
#include <QKeyEvent>
#include <QList>

namespace trivenor {

/// The keys the active keyboard layout offers for a key press, as Qt's own shortcut matching
/// reads them: first the pressed key's meaning without Shift, with the modifiers held, then what
/// the key gives with some of those modifiers. Where there is no layout to ask (offscreen, or a
/// press made up by a program) it is the event's own key alone.
QList<QKeyCombination> LayoutKeys(QKeyEvent& event);

/// The first of LayoutKeys: the key the layout puts on the pressed key without Shift.
Qt::Key LayoutBaseKey(QKeyEvent& event);

}  // namespace trivenor
