#include "host/ui/keys.h"

#include <array>
#include <cctype>
#include <utility>

namespace ui {

std::optional<Key> keyFromName(const std::string& name) {
  static const std::array<std::pair<const char*, Key>, 16> named = {{
      {"Space", keys::Space},
      {"Enter", keys::Enter},
      {"Tab", keys::Tab},
      {"Escape", keys::Escape},
      {"Delete", keys::Delete},
      {"Insert", keys::Insert},
      {"Backspace", keys::Backspace},
      {"Up", keys::Up},
      {"Down", keys::Down},
      {"Left", keys::Left},
      {"Right", keys::Right},
      {"Home", keys::Home},
      {"End", keys::End},
      {"PageUp", keys::PageUp},
      {"PageDown", keys::PageDown},
      {"Esc", keys::Escape},
  }};
  for (const auto& [text, key] : named) {
    if (name == text)
      return key;
  }
  if (name.size() >= 2 && name.size() <= 3 && name[0] == 'F') {
    int n = 0;
    for (size_t i = 1; i < name.size(); ++i) {
      if (!std::isdigit(static_cast<unsigned char>(name[i])))
        return std::nullopt;
      n = n * 10 + (name[i] - '0');
    }
    if (n >= 1 && n <= 12)
      return static_cast<Key>(keys::F1 + n - 1);
    return std::nullopt;
  }
  if (name.size() == 1 && std::isalnum(static_cast<unsigned char>(name[0]))) {
    return static_cast<Key>(std::toupper(static_cast<unsigned char>(name[0])));
  }
  return std::nullopt;
}

char32_t keyCharacter(Key key, ShiftState shift) {
  if (shift.ctrl || shift.alt)
    return 0;
  if (key == keys::Space)
    return U' ';
  if (key == keys::Enter)
    return U'\r';
  if (key == keys::Backspace)
    return U'\b';
  if (key == keys::Escape)
    return 27;
  if (key >= '0' && key <= '9')
    return key;
  if (key >= 'A' && key <= 'Z')
    return shift.shift ? key : key - 'A' + 'a';
  return 0;
}

}  // namespace ui
