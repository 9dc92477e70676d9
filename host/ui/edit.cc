#include "host/ui/edit.h"

#include "host/ui/utf8.h"

namespace ui {

Edit::Edit(Control* parent, std::string name) : Control(parent, std::move(name)) {
  setTabStop(true);
}

void Edit::setText(std::string text) {
  allSelected_ = false;
  changeText(std::move(text));
}

void Edit::changeText(std::string text) {
  if (text == text_)
    return;
  text_ = std::move(text);
  changed(Property::Text);
  if (onChange)
    onChange(*this);
}

void Edit::setReadOnly(bool readOnly) {
  if (readOnly_ == readOnly)
    return;
  readOnly_ = readOnly;
  changed(Property::ReadOnly);
}

void Edit::setPasswordChar(char32_t passwordChar) {
  if (passwordChar_ == passwordChar)
    return;
  passwordChar_ = passwordChar;
  changed(Property::Other);
}

void Edit::selectAll() {
  allSelected_ = true;
  changed(Property::Selection);
}

void Edit::doEnter() {
  if (autoSelect_)
    allSelected_ = true;
  Control::doEnter();
}

std::optional<std::string> Edit::typed(const std::string& current, bool replaceAll,
                                       char32_t ch) const {
  if (ch < 32)
    return std::nullopt;
  if (charCase_ == CharCase::Upper)
    ch = utf8::toUpper(ch);
  if (charCase_ == CharCase::Lower)
    ch = utf8::toLower(ch);
  std::string next = replaceAll ? std::string() : current;
  if (maxLength_ > 0 && utf8::length(next) >= static_cast<size_t>(maxLength_))
    return std::nullopt;
  utf8::append(next, ch);
  return next;
}

std::string Edit::erased(const std::string& current, bool all) const {
  if (all)
    return {};
  const size_t n = utf8::length(current);
  return n == 0 ? current : utf8::substr(current, 0, n - 1);
}

void Edit::applyUserChange(std::string next) {
  if (!beginUserChange())
    return;
  allSelected_ = false;
  changeText(std::move(next));
}

void Edit::keyPressDefault(char32_t& ch) {
  if (!editable()) {
    ch = 0;
    return;
  }
  if (ch == U'\b') {
    applyUserChange(erased(text_, allSelected_));
    return;
  }
  auto next = typed(text_, allSelected_, ch);
  if (!next) {
    ch = 0;  // refused: the edit beeps and keeps its text
    return;
  }
  applyUserChange(std::move(*next));
}

void Edit::keyDownDefault(Key& key, ShiftState shift) {
  if (key == keys::Delete && shift.none() && editable() && allSelected_) {
    applyUserChange(erased(text_, true));
  }
}

void Memo::setVerticalScrollBar(bool bar) {
  if (verticalScrollBar_ == bar)
    return;
  verticalScrollBar_ = bar;
  changed(Property::Other);
}

std::optional<std::string> Memo::typed(const std::string& current, bool replaceAll,
                                       char32_t ch) const {
  if (ch != U'\r')
    return Edit::typed(current, replaceAll, ch);
  std::string next = replaceAll ? std::string() : current;
  if (maxLength() > 0 && utf8::length(next) + 2 > static_cast<size_t>(maxLength())) {
    return std::nullopt;
  }
  return next + "\r\n";
}

}  // namespace ui
