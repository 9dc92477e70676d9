// Edit masks: the picture that a masked edit imposes on typed text, and the formatting of a
// stored value through a mask.
//
// A mask text is "picture;save-literals;blank", e.g. ">aaaa;0; " or "999.999.999-99;0;_".
// Picture characters: L/l letter (required/optional), A/a letter or digit, C/c any character,
// 0/9 digit, # digit or sign, > upper case from here on, < lower case, <> no case change,
// \ the next character is a literal, ! ignored (leading blanks are kept anyway); any other
// character is a literal. save-literals "0" stores only the typed characters; anything else
// (and the default) stores the literals too. The blank (default '_') shows an unfilled slot.
// Masked edits, data-aware edits and fields (to show a value formatted) use this; it holds no
// state beyond the parsed picture.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ui {

class EditMask {
 public:
  enum class Kind { Literal, Letter, LetterOrDigit, Any, Digit, DigitOrSign };
  enum class Case { None, Upper, Lower };

  struct Item {
    Kind kind = Kind::Literal;
    bool required = false;
    Case letterCase = Case::None;
    char32_t literal = 0;  // Kind::Literal only
  };

  EditMask() = default;
  explicit EditMask(std::string_view mask);

  // No picture at all: text passes unchanged.
  bool empty() const { return items_.empty(); }
  const std::vector<Item>& items() const { return items_; }
  bool saveLiterals() const { return saveLiterals_; }
  char32_t blank() const { return blank_; }
  // Number of positions that take a typed character.
  int slotCount() const;

  // The character as the slot stores it (after case conversion), or nullopt when slot
  // `slot` (0-based, counting only typed positions) refuses `c`.
  std::optional<char32_t> accept(int slot, char32_t c) const;

  // The edit text for typed characters: literals inserted, refused characters skipped, a typed
  // literal consumed where the picture has it. Unfilled positions after the last typed
  // character are dropped, or shown with the blank when `padBlanks`.
  std::string editText(std::string_view typed, bool padBlanks = false) const;

  // The value to store for an edit text: only the typed characters when save-literals is 0,
  // else the text with its literals; unfilled positions read as blanks inside and are dropped
  // at the end. A text with no typed character gives "".
  std::string storedValue(std::string_view editText) const;

  // True when the edit text holds no typed character (e.g. "__/__/____").
  bool isBlankText(std::string_view editText) const;
  // True when every required position holds a typed character.
  bool isComplete(std::string_view editText) const;

 private:
  // Walks the edit text aligned with the picture; `slotChar` is 0 for an unfilled slot.
  template <typename Visit>
  void walk(std::string_view editText, Visit visit) const;

  std::vector<Item> items_;
  bool saveLiterals_ = true;
  char32_t blank_ = '_';
};

// Lays the characters of `value` into the slots of `mask`, inserting its literals (a literal
// already present in the value at its place is taken over, so formatting is idempotent).
// Stops after the value's last character; characters beyond the slots are appended, so
// nothing of the value is hidden. An empty mask returns the value unchanged.
//   formatMaskText("999.999.999-99;0;_", "12345678901") == "123.456.789-01"
std::string formatMaskText(std::string_view mask, std::string_view value);
// The same with the picture already read: a list of many values formats each with one of a
// few masks, and reading the mask again for every value would cost more than the formatting.
std::string formatMaskText(const EditMask& picture, std::string_view value);

}  // namespace ui
