#include "host/ui/edit_mask.h"

#include "host/ui/utf8.h"

namespace ui {

namespace {

// Splits "picture;save;blank" at the unescaped semicolons.
std::vector<std::string> splitFields(std::string_view mask) {
  std::vector<std::string> fields(1);
  for (std::size_t i = 0; i < mask.size(); ++i) {
    if (mask[i] == '\\' && i + 1 < mask.size()) {
      fields.back() += mask.substr(i, 2);
      ++i;
    } else if (mask[i] == ';') {
      fields.emplace_back();
    } else {
      fields.back().push_back(mask[i]);
    }
  }
  return fields;
}

char32_t applyCase(EditMask::Case letterCase, char32_t c) {
  switch (letterCase) {
    case EditMask::Case::Upper:
      return utf8::toUpper(c);
    case EditMask::Case::Lower:
      return utf8::toLower(c);
    case EditMask::Case::None:
      break;
  }
  return c;
}

bool fits(EditMask::Kind kind, char32_t c) {
  switch (kind) {
    case EditMask::Kind::Letter:
      return utf8::isLetter(c);
    case EditMask::Kind::LetterOrDigit:
      return utf8::isLetter(c) || utf8::isDigit(c);
    case EditMask::Kind::Any:
      return c >= 0x20;
    case EditMask::Kind::Digit:
      return utf8::isDigit(c);
    case EditMask::Kind::DigitOrSign:
      return utf8::isDigit(c) || c == '+' || c == '-';
    case EditMask::Kind::Literal:
      break;
  }
  return false;
}

std::vector<char32_t> codePoints(std::string_view text) {
  std::vector<char32_t> out;
  for (std::size_t pos = 0; pos < text.size();)
    out.push_back(utf8::decode(text, pos));
  return out;
}

}  // namespace

EditMask::EditMask(std::string_view mask) {
  auto fields = splitFields(mask);
  std::string picture;
  if (fields.size() >= 3) {
    std::size_t pos = 0;
    if (!fields.back().empty())
      blank_ = utf8::decode(fields.back(), pos);
    saveLiterals_ = fields[fields.size() - 2] != "0";
    fields.resize(fields.size() - 2);
  } else if (fields.size() == 2) {
    saveLiterals_ = fields.back() != "0";
    fields.pop_back();
  }
  for (std::size_t i = 0; i < fields.size(); ++i)
    picture += (i > 0 ? ";" : "") + fields[i];

  Case letterCase = Case::None;
  const auto chars = codePoints(picture);
  for (std::size_t i = 0; i < chars.size(); ++i) {
    const char32_t c = chars[i];
    Item item;
    switch (c) {
      case '>':
        if (i + 1 < chars.size() && chars[i + 1] == '<') {
          letterCase = Case::None;
          ++i;
        } else {
          letterCase = Case::Upper;
        }
        continue;
      case '<':
        if (i + 1 < chars.size() && chars[i + 1] == '>') {
          letterCase = Case::None;
          ++i;
        } else {
          letterCase = Case::Lower;
        }
        continue;
      case '!':
        continue;
      case '\\':
        if (i + 1 < chars.size())
          ++i;
        item.literal = chars[i];
        break;
      case 'L':
      case 'l':
        item.kind = Kind::Letter;
        item.required = c == 'L';
        break;
      case 'A':
      case 'a':
        item.kind = Kind::LetterOrDigit;
        item.required = c == 'A';
        break;
      case 'C':
      case 'c':
        item.kind = Kind::Any;
        item.required = c == 'C';
        break;
      case '0':
      case '9':
        item.kind = Kind::Digit;
        item.required = c == '0';
        break;
      case '#':
        item.kind = Kind::DigitOrSign;
        break;
      default:
        item.literal = c;
        break;
    }
    item.letterCase = letterCase;
    items_.push_back(item);
  }
}

int EditMask::slotCount() const {
  int count = 0;
  for (const auto& item : items_)
    if (item.kind != Kind::Literal)
      ++count;
  return count;
}

std::optional<char32_t> EditMask::accept(int slot, char32_t c) const {
  int index = 0;
  for (const auto& item : items_) {
    if (item.kind == Kind::Literal)
      continue;
    if (index++ != slot)
      continue;
    const char32_t converted = applyCase(item.letterCase, c);
    if (!fits(item.kind, converted))
      return std::nullopt;
    return converted;
  }
  return std::nullopt;
}

std::string EditMask::editText(std::string_view typed, bool padBlanks) const {
  if (empty())
    return std::string(typed);
  const auto chars = codePoints(typed);
  std::string out;
  std::size_t item = 0;
  int slot = 0;
  for (const char32_t c : chars) {
    if (item >= items_.size())
      break;
    // A typed literal consumes the literal at the current position.
    if (items_[item].kind == Kind::Literal && items_[item].literal == c) {
      utf8::append(out, c);
      ++item;
      continue;
    }
    std::size_t probe = item;
    std::string literals;
    while (probe < items_.size() && items_[probe].kind == Kind::Literal)
      utf8::append(literals, items_[probe++].literal);
    if (probe >= items_.size())
      break;
    const auto accepted = accept(slot, c);
    if (!accepted)
      continue;
    out += literals;
    utf8::append(out, *accepted);
    item = probe + 1;
    ++slot;
  }
  if (padBlanks) {
    for (; item < items_.size(); ++item)
      utf8::append(out, items_[item].kind == Kind::Literal ? items_[item].literal : blank_);
  }
  return out;
}

template <typename Visit>
void EditMask::walk(std::string_view editText, Visit visit) const {
  const auto chars = codePoints(editText);
  std::size_t pos = 0;
  for (const auto& item : items_) {
    if (item.kind == Kind::Literal) {
      if (pos < chars.size() && chars[pos] == item.literal)
        ++pos;
      visit(item, item.literal);
      continue;
    }
    char32_t c = pos < chars.size() ? chars[pos++] : 0;
    if (c == blank_ || c == ' ')
      c = 0;
    visit(item, c);
  }
}

std::string EditMask::storedValue(std::string_view editText) const {
  if (empty())
    return std::string(editText);
  std::string out;
  std::size_t keep = 0;  // bytes of `out` up to the last typed character
  walk(editText, [&](const Item& item, char32_t c) {
    if (item.kind == Kind::Literal) {
      if (saveLiterals_)
        utf8::append(out, c);
      return;
    }
    utf8::append(out, c == 0 ? U' ' : c);
    if (c != 0)
      keep = out.size();
  });
  out.resize(keep);
  return out;
}

bool EditMask::isBlankText(std::string_view editText) const {
  if (empty())
    return editText.empty();
  bool blank = true;
  walk(editText, [&](const Item& item, char32_t c) {
    if (item.kind != Kind::Literal && c != 0)
      blank = false;
  });
  return blank;
}

bool EditMask::isComplete(std::string_view editText) const {
  bool complete = true;
  walk(editText, [&](const Item& item, char32_t c) {
    if (item.kind != Kind::Literal && item.required && c == 0)
      complete = false;
  });
  return complete;
}

std::string formatMaskText(std::string_view mask, std::string_view value) {
  return formatMaskText(EditMask(mask), value);
}

std::string formatMaskText(const EditMask& picture, std::string_view value) {
  if (picture.empty())
    return std::string(value);
  std::string out;
  out.reserve(value.size() + picture.items().size());
  std::size_t pos = 0;
  for (const auto& item : picture.items()) {
    if (pos >= value.size())
      break;
    if (item.kind == EditMask::Kind::Literal) {
      std::size_t next = pos;
      if (utf8::decode(value, next) == item.literal)
        pos = next;
      utf8::append(out, item.literal);
      continue;
    }
    utf8::append(out, applyCase(item.letterCase, utf8::decode(value, pos)));
  }
  while (pos < value.size())
    utf8::append(out, utf8::decode(value, pos));
  return out;
}

}  // namespace ui
