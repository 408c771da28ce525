#pragma once

namespace trivenor {

/// The editing rules name keys by the Windows virtual-key codes they were written for (digits
/// 48-57, letters 65-90, keypad keys of their own). Translates a Qt key (a Qt::Key value) to
/// that code; `keypad` says the key came from the numeric keypad. Keys the rules do not use
/// give 0, which no rule acts on.
int VirtualKeyFromQtKey(int qtKey, bool keypad);

}  // namespace trivenor
