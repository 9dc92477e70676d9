#include "shell/qt/key_translation.h"

#include <array>
#include <utility>

namespace shell {

namespace {

constexpr std::array<std::pair<int, ui::Key>, 22> kNamedKeys = {{
    {Qt::Key_Backspace, ui::keys::Backspace},
    {Qt::Key_Tab, ui::keys::Tab},
    {Qt::Key_Backtab, ui::keys::Tab},
    {Qt::Key_Return, ui::keys::Enter},
    {Qt::Key_Enter, ui::keys::Enter},
    {Qt::Key_Shift, ui::keys::Shift},
    {Qt::Key_Control, ui::keys::Control},
    {Qt::Key_Alt, ui::keys::Alt},
    {Qt::Key_Escape, ui::keys::Escape},
    {Qt::Key_Space, ui::keys::Space},
    {Qt::Key_PageUp, ui::keys::PageUp},
    {Qt::Key_PageDown, ui::keys::PageDown},
    {Qt::Key_End, ui::keys::End},
    {Qt::Key_Home, ui::keys::Home},
    {Qt::Key_Left, ui::keys::Left},
    {Qt::Key_Up, ui::keys::Up},
    {Qt::Key_Right, ui::keys::Right},
    {Qt::Key_Down, ui::keys::Down},
    {Qt::Key_Insert, ui::keys::Insert},
    {Qt::Key_Delete, ui::keys::Delete},
    {Qt::Key_Pause, 19},
    {Qt::Key_CapsLock, 20},
}};

bool printable(char32_t ch) {
  return ch >= 32 && ch != 127;
}

}  // namespace

ui::ShiftState shiftStateOf(Qt::KeyboardModifiers modifiers) {
  ui::ShiftState shift;
  shift.shift = modifiers.testFlag(Qt::ShiftModifier);
  shift.ctrl = modifiers.testFlag(Qt::ControlModifier);
  shift.alt = modifiers.testFlag(Qt::AltModifier);
  return shift;
}

std::optional<ui::Key> modelKey(int qtKey) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z)
    return static_cast<ui::Key>('A' + (qtKey - Qt::Key_A));
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9)
    return static_cast<ui::Key>('0' + (qtKey - Qt::Key_0));
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12)
    return static_cast<ui::Key>(ui::keys::F1 + (qtKey - Qt::Key_F1));
  for (const auto& [qt, key] : kNamedKeys) {
    if (qt == qtKey)
      return key;
  }
  return std::nullopt;
}

KeyStroke translateKey(int qtKey, Qt::KeyboardModifiers modifiers, const QString& text) {
  KeyStroke stroke;
  stroke.shift = shiftStateOf(modifiers);
  if (qtKey == Qt::Key_Backtab)
    stroke.shift.shift = true;
  std::u32string typed;
  for (char32_t ch : text.toStdU32String()) {
    if (printable(ch))
      typed += ch;
  }
  // Ctrl or Alt chords type nothing; both together are how some systems report AltGr.
  if ((stroke.shift.ctrl || stroke.shift.alt) && !(stroke.shift.ctrl && stroke.shift.alt))
    typed.clear();
  const std::optional<ui::Key> key = modelKey(qtKey);
  if (key) {
    const char32_t modelTyped = ui::keyCharacter(*key, stroke.shift);
    const bool sameText = typed.empty() || (typed.size() == 1 && typed[0] == modelTyped);
    if (sameText) {
      stroke.delivery = KeyStroke::Delivery::KeyDown;
      stroke.key = *key;
      return stroke;
    }
  }
  if (!typed.empty()) {
    stroke.delivery = KeyStroke::Delivery::KeyPress;
    stroke.text = std::move(typed);
  }
  return stroke;
}

}  // namespace shell
