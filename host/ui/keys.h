// Key codes and shift states, as the forms test them (the Delete key is code 46, F12 is 123).
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace ui {

using Key = std::uint16_t;

namespace keys {
inline constexpr Key Backspace = 8;
inline constexpr Key Tab = 9;
inline constexpr Key Enter = 13;
inline constexpr Key Shift = 16;
inline constexpr Key Control = 17;
inline constexpr Key Alt = 18;
inline constexpr Key Escape = 27;
inline constexpr Key Space = 32;
inline constexpr Key PageUp = 33;
inline constexpr Key PageDown = 34;
inline constexpr Key End = 35;
inline constexpr Key Home = 36;
inline constexpr Key Left = 37;
inline constexpr Key Up = 38;
inline constexpr Key Right = 39;
inline constexpr Key Down = 40;
inline constexpr Key Insert = 45;
inline constexpr Key Delete = 46;
inline constexpr Key F1 = 112;
inline constexpr Key F12 = 123;
}  // namespace keys

// A set of held modifier keys.
struct ShiftState {
  bool shift = false;
  bool alt = false;
  bool ctrl = false;

  bool none() const { return !shift && !alt && !ctrl; }
  bool operator==(const ShiftState&) const = default;
};

// Reads a key name as scripts and tests write it: "F1".."F12", "Space", "Enter", "Tab",
// "Escape", "Delete", "Insert", "Backspace", "Up", "Down", "Left", "Right", "Home", "End",
// "PageUp", "PageDown" or a single letter or digit. nullopt for anything else.
std::optional<Key> keyFromName(const std::string& name);

// The character a key types when pressed alone (0 when it types none).
char32_t keyCharacter(Key key, ShiftState shift);

}  // namespace ui
