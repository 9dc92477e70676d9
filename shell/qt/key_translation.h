// Key translation: a Qt key event as the model's key code, shift state and typed text.
//
// The model knows the key codes of keys.h (letters, digits, named keys, F1..F12) and derives
// the character a key types from its code and the shift state. A key event is delivered as a
// key-down when the model would type the same character Qt reports (or none), so handlers see
// the key and may swallow its character; otherwise (punctuation, accented letters, letters
// under caps lock) only the typed characters are delivered, as key presses.
#pragma once

#include <QKeyEvent>
#include <optional>
#include <string>

#include "host/ui/keys.h"

namespace shell {

ui::ShiftState shiftStateOf(Qt::KeyboardModifiers modifiers);

// The model's code of a Qt key, or nullopt when it has none.
std::optional<ui::Key> modelKey(int qtKey);

struct KeyStroke {
  enum class Delivery { KeyDown, KeyPress, Nothing };
  Delivery delivery = Delivery::Nothing;
  ui::Key key = 0;
  ui::ShiftState shift;
  std::u32string text;  // the characters to deliver as key presses
};

KeyStroke translateKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text);
inline KeyStroke translateKey(const QKeyEvent& event) {
  return translateKey(event.key(), event.modifiers(), event.text());
}

}  // namespace shell
