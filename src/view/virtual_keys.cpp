#include "view/virtual_keys.h"

#include <Qt>

#include "model/virtual_key_codes.h"

namespace trivenor {

namespace {

int KeypadKey(int qtKey) {
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) {
    return vk::kKeypadZero + (qtKey - Qt::Key_0);
  }
  switch (qtKey) {
    case Qt::Key_Asterisk:
      return vk::kKeypadMultiply;
    case Qt::Key_Plus:
      return vk::kKeypadPlus;
    case Qt::Key_Minus:
      return vk::kKeypadMinus;
    // The keypad's decimal key gives "," on German layouts and "." elsewhere.
    case Qt::Key_Period:
    case Qt::Key_Comma:
      return vk::kKeypadPoint;
    case Qt::Key_Slash:
      return vk::kKeypadDivide;
    case Qt::Key_Enter:
      return vk::kEnter;
    case Qt::Key_Delete:
      return vk::kDelete;
    default:
      return 0;
  }
}

}  // namespace

int VirtualKeyFromQtKey(int qtKey, bool keypad) {
  if (keypad) {
    if (const int code = KeypadKey(qtKey)) {
      return code;
    }
  }
  // Qt's digits and capital letters carry their ASCII codes, as the virtual keys do; letters
  // come as capitals with or without Shift.
  if ((qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) || (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)) {
    return qtKey;
  }
  switch (qtKey) {
    case Qt::Key_Backspace:
      return vk::kBackspace;
    case Qt::Key_Return:
    case Qt::Key_Enter:
      return vk::kEnter;
    case Qt::Key_Escape:
      return vk::kEscape;
    case Qt::Key_Delete:
      return vk::kDelete;
    case Qt::Key_Plus:
      return vk::kPlus;
    case Qt::Key_Comma:
      return vk::kComma;
    case Qt::Key_Minus:
      return vk::kMinus;
    case Qt::Key_Period:
      return vk::kFullStop;
    default:
      return 0;
  }
}

int VirtualKeyFromPress(int baseKey, int typedKey, bool keypad) {
  if (keypad) {
    return VirtualKeyFromQtKey(typedKey, true);
  }
  if (const int code = VirtualKeyFromQtKey(baseKey, false)) {
    return code;
  }
  return VirtualKeyFromQtKey(typedKey, false);
}

bool IsModifierKey(int qtKey) {
  switch (qtKey) {
    case Qt::Key_Shift:
    case Qt::Key_Control:
    case Qt::Key_Alt:
    case Qt::Key_AltGr:
    case Qt::Key_Meta:
    // X11 reports the Windows keys and Hyper as keys of their own; they act as Meta.
    case Qt::Key_Super_L:
    case Qt::Key_Super_R:
    case Qt::Key_Hyper_L:
    case Qt::Key_Hyper_R:
    case Qt::Key_CapsLock:
    case Qt::Key_NumLock:
    case Qt::Key_ScrollLock:
      return true;
    default:
      return false;
  }
}

}  // namespace trivenor
