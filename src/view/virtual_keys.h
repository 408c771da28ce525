#pragma once

namespace trivenor {

/// The editing rules name keys by the Windows virtual-key codes they were written for (digits
/// 48-57, letters 65-90, keypad keys of their own). Translates a Qt key (a Qt::Key value) to
/// that code; `keypad` says the key came from the numeric keypad. Keys the rules do not use
/// give 0, which no rule acts on.
int VirtualKeyFromQtKey(int qtKey, bool keypad);

/// The code of a pressed key by the key itself, not by the character it typed, as the rules
/// expect: Shift with the plus, minus, comma or full-stop key is still that key. `baseKey` is what
/// the active layout puts on the key without Shift, `typedKey` the key of the event. The base key
/// decides where it has a code; where it has none the typed key does, so the US "=" key still
/// gives "+" with Shift. Keypad keys keep their own codes, read from the typed key.
int VirtualKeyFromPress(int baseKey, int typedKey, bool keypad);

/// Shift, Control, Alt, AltGr, Meta and the lock keys: pressed alone they are no edit.
bool IsModifierKey(int qtKey);

}  // namespace trivenor
