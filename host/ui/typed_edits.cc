#include "host/ui/typed_edits.h"

#include "host/ui/errors.h"
#include "host/ui/regional.h"
#include "host/ui/utf8.h"

namespace ui {

namespace {

// The picture part of a mask text, with save-literals 0: used to read back the typed slots.
std::string slotsOnlyMask(const std::string& mask) {
  const auto semicolon = mask.find(';');
  std::string out = semicolon == std::string::npos ? mask : mask.substr(0, semicolon);
  out.append(";0;");
  const auto last = mask.rfind(';');
  if (last != std::string::npos && last != semicolon && last + 1 < mask.size()) {
    out.append(mask, last + 1, std::string::npos);
  } else {
    out.push_back(' ');
  }
  return out;
}

}  // namespace

MaskEdit::MaskEdit(Control* parent, std::string name) : Edit(parent, std::move(name)) {
}

void MaskEdit::setEditMask(std::string mask) {
  maskText_ = std::move(mask);
  mask_ = EditMask(maskText_);
  slotsOnly_ = EditMask(slotsOnlyMask(maskText_));
  if (!mask_.empty())
    changeText(mask_.editText(slotCharacters(text())));
}

std::string MaskEdit::slotCharacters(const std::string& editText) const {
  return slotsOnly_.storedValue(editText);
}

std::string MaskEdit::value() const {
  return mask_.empty() ? text() : mask_.storedValue(text());
}

std::optional<std::string> MaskEdit::typed(const std::string& current, bool replaceAll,
                                           char32_t ch) const {
  if (mask_.empty())
    return Edit::typed(current, replaceAll, ch);
  if (ch < 32)
    return std::nullopt;
  std::string slots = replaceAll ? std::string() : slotCharacters(current);
  const int filled = static_cast<int>(utf8::length(slots));
  // A typed literal is accepted where the picture has it next, and adds nothing.
  const std::string withLiteral = mask_.editText(slots + utf8::encode(ch));
  if (filled >= mask_.slotCount())
    return std::nullopt;
  auto accepted = mask_.accept(filled, ch);
  if (!accepted) {
    if (withLiteral.size() > mask_.editText(slots).size())
      return withLiteral;
    return std::nullopt;
  }
  if (maxLength() > 0 && filled >= maxLength())
    return std::nullopt;
  utf8::append(slots, *accepted);
  return mask_.editText(slots);
}

std::string MaskEdit::erased(const std::string& current, bool all) const {
  if (mask_.empty())
    return Edit::erased(current, all);
  if (all)
    return {};
  std::string slots = slotCharacters(current);
  const size_t n = utf8::length(slots);
  if (n == 0)
    return {};
  return mask_.editText(utf8::substr(slots, 0, n - 1));
}

DateEdit::DateEdit(Control* parent, std::string name) : MaskEdit(parent, std::move(name)) {
  setEditMask("!99/99/9999;1; ");
  weekdayNames_ = {"Domingo", "Segunda", "Terça", "Quarta", "Quinta", "Sexta", "Sábado"};
}

bool DateEdit::isEmpty() const {
  return text().find_first_not_of(" /") == std::string::npos;
}

double DateEdit::date() const {
  if (isEmpty())
    return 0;
  auto parsed = regional::parseDate(text());
  if (!parsed)
    return 0;
  return static_cast<double>(static_cast<long long>(*parsed));
}

void DateEdit::setDate(double date) {
  setText(date == 0 ? std::string() : regional::formatDate(date));
}

void DateEdit::checkValidDate() const {
  if (isEmpty())
    return;
  if (!regional::parseDate(text()))
    throw UiError(regional::invalidDateMessage(text()));
}

void DateEdit::setValidDateColor(std::string color) {
  if (validDateColor_ == color)
    return;
  validDateColor_ = std::move(color);
  changed(Property::Text);
}

std::string DateEdit::textColor() const {
  return !isEmpty() && regional::parseDate(text()) ? validDateColor_ : std::string();
}

NumberEdit::NumberEdit(Control* parent, std::string name) : Edit(parent, std::move(name)) {
}

std::string NumberEdit::pattern() const {
  std::string p = thousands_ ? "#,##0" : "0";
  if (decimals_ > 0) {
    p.push_back('.');
    p.append(static_cast<size_t>(decimals_), '0');
  }
  return p;
}

double NumberEdit::value() const {
  if (text().find_first_not_of(' ') == std::string::npos)
    return 0;
  auto parsed = regional::parseFloat(text());
  if (!parsed)
    throw UiError(regional::invalidNumberMessage(text()));
  return *parsed;
}

void NumberEdit::setValue(double value) {
  setText(regional::formatFloat(pattern(), value));
}

void NumberEdit::doExit() {
  if (auto parsed = regional::parseFloat(text()))
    setValue(*parsed);
  Edit::doExit();
}

std::optional<std::string> NumberEdit::typed(const std::string& current, bool replaceAll,
                                             char32_t ch) const {
  std::string base = replaceAll ? std::string() : current;
  if (ch == U'.')
    ch = U',';
  if (ch == U'-') {
    if (!base.empty())
      return std::nullopt;
  } else if (ch == U',') {
    if (decimals_ == 0 || base.find(',') != std::string::npos)
      return std::nullopt;
  } else if (!utf8::isDigit(ch)) {
    return std::nullopt;
  }
  return Edit::typed(base, false, ch);
}

}  // namespace ui
