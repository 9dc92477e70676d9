// Edit: a one-line text box, and the base of every typed control (masked, date, number and
// data-aware edits, the memo).
//
// The text changes by code (setText) or by typing: each typed character passes the key-press
// handlers first, then the edit decides whether it accepts it (read-only, maximum length in
// characters, masks of derived edits) and changes the text. Every change of the text, whatever
// causes it, runs onChange. Typing replaces the selection when the whole text is selected
// (selectAll(), or entering the edit with auto-select on).
#pragma once

#include <functional>
#include <optional>
#include <string>

#include "host/ui/control.h"

namespace ui {

enum class CharCase { Normal, Upper, Lower };

class Edit : public Control {
 public:
  Edit(Control* parent, std::string name);

  bool acceptsFocus() const override { return true; }

  const std::string& text() const { return text_; }
  void setText(std::string text);
  // Maximum number of characters the user may type; 0 means no limit.
  int maxLength() const { return maxLength_; }
  void setMaxLength(int length) { maxLength_ = length; }
  bool readOnly() const { return readOnly_; }
  void setReadOnly(bool readOnly);
  CharCase charCase() const { return charCase_; }
  void setCharCase(CharCase charCase) { charCase_ = charCase; }
  bool autoSelect() const { return autoSelect_; }
  void setAutoSelect(bool autoSelect) { autoSelect_ = autoSelect; }
  bool allSelected() const { return allSelected_; }
  void selectAll();
  // The character shown in place of each typed one (a password's); 0 shows the text.
  char32_t passwordChar() const { return passwordChar_; }
  void setPasswordChar(char32_t passwordChar);

  std::function<void(Control&)> onChange;

  void doEnter() override;
  void keyPressDefault(char32_t& ch) override;
  void keyDownDefault(Key& key, ShiftState shift) override;

 protected:
  // Whether the user may change the text now.
  virtual bool editable() const { return !readOnly_; }
  // Runs before a user change is applied; returns false to refuse it (a data-aware edit puts
  // its data set in edit here).
  virtual bool beginUserChange() { return true; }
  // The text after typing `ch`, or nullopt when the character is refused.
  virtual std::optional<std::string> typed(const std::string& current, bool replaceAll,
                                           char32_t ch) const;
  // The text after Backspace.
  virtual std::string erased(const std::string& current, bool all) const;
  // Sets the text and runs onChange when it differs.
  void changeText(std::string text);

 private:
  void applyUserChange(std::string next);

  std::string text_;
  int maxLength_ = 0;
  bool readOnly_ = false;
  CharCase charCase_ = CharCase::Normal;
  bool autoSelect_ = true;
  bool allSelected_ = false;
  char32_t passwordChar_ = 0;
};

// A multi-line edit. Enter starts a new line; the text keeps lines separated by "\r\n".
class Memo : public Edit {
 public:
  Memo(Control* parent, std::string name) : Edit(parent, std::move(name)) { setAutoSelect(false); }
  bool verticalScrollBar() const { return verticalScrollBar_; }
  void setVerticalScrollBar(bool bar);

 protected:
  std::optional<std::string> typed(const std::string& current, bool replaceAll,
                                   char32_t ch) const override;

 private:
  bool verticalScrollBar_ = false;
};

}  // namespace ui
