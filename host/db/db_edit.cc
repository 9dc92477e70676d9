#include "host/db/db_edit.h"

#include <strings.h>

#include "host/db/data_set.h"
#include "host/ui/regional.h"
#include "host/ui/utf8.h"

namespace db {

DBEdit::DBEdit(ui::Control* parent, std::string name) : ui::MaskEdit(parent, std::move(name)) {
}

void DBEdit::setDataSource(DataSource* source) {
  DataLink::setDataSource(source);
  load();
}

void DBEdit::setDataField(std::string field) {
  dataField_ = std::move(field);
  load();
}

Field* DBEdit::field() const {
  DataSet* set = dataSet();
  if (set == nullptr || dataField_.empty())
    return nullptr;
  return set->findField(dataField_);
}

std::string DBEdit::fieldText(const Field& field, bool editing) const {
  return editing ? field.text() : field.displayText();
}

void DBEdit::load() {
  Field* f = active() ? field() : nullptr;
  modified_ = false;
  const std::string mask = f != nullptr ? f->editMask() : std::string();
  if (mask != editMask())
    setEditMask(mask);
  std::string text;
  if (f != nullptr && dataSet()->recordCount() + (editing() ? 1 : 0) > 0) {
    text = fieldText(*f, hasFocus_);
  }
  setText(std::move(text));
}

void DBEdit::recordChanged(Field* changedField) {
  // A batch writes many fields per row and every write reaches every control: the name is
  // compared first, so only a write of this control's field pays the lookup.
  if (changedField == nullptr ||
      (strcasecmp(changedField->name().c_str(), dataField_.c_str()) == 0 &&
       changedField == field()))
    load();
}

bool DBEdit::editable() const {
  Field* f = field();
  return active() && !readOnly() && f != nullptr && !f->readOnly() && !dataSet()->readOnly();
}

bool DBEdit::beginUserChange() {
  if (!editable())
    return false;
  if (!DataLink::edit())
    return false;
  modified_ = true;
  return true;
}

std::optional<std::string> DBEdit::typed(const std::string& current, bool replaceAll,
                                         char32_t ch) const {
  Field* f = field();
  if (f != nullptr && f->type() == packet::FieldType::Double) {
    const bool valid = ui::utf8::isDigit(ch) || ch == U'+' || ch == U'-' || ch == U'e' ||
                       ch == U'E' || ch == static_cast<char32_t>(ui::regional::kDecimalSeparator);
    if (!valid)
      return std::nullopt;
  }
  if (f != nullptr && f->type() == packet::FieldType::DateTime && editMask().empty()) {
    if (!ui::utf8::isDigit(ch) && ch != U'/' && ch != U' ' && ch != U':')
      return std::nullopt;
  }
  if (f != nullptr && f->type() == packet::FieldType::Text && maxLength() == 0 && f->size() > 0 &&
      !replaceAll && ui::utf8::length(current) >= static_cast<size_t>(f->size())) {
    return std::nullopt;
  }
  return ui::MaskEdit::typed(current, replaceAll, ch);
}

void DBEdit::updateData() {
  if (!modified_)
    return;
  Field* f = field();
  if (f == nullptr)
    return;
  f->setText(editMask().empty() ? text() : value());
  modified_ = false;
}

void DBEdit::doEnter() {
  hasFocus_ = true;
  if (!modified_)
    load();
  ui::MaskEdit::doEnter();
}

void DBEdit::doExit() {
  if (modified_ && active())
    runUpdateData();
  // The exit handler sees the text as typed; the display text comes once the focus has gone.
  ui::MaskEdit::doExit();
  hasFocus_ = false;
  load();
}

void DBEdit::keyDownDefault(ui::Key& key, ui::ShiftState shift) {
  if (key == ui::keys::Escape && modified_) {
    load();
    selectAll();
    return;
  }
  ui::MaskEdit::keyDownDefault(key, shift);
}

DBDateEdit::DBDateEdit(ui::Control* parent, std::string name) : DBEdit(parent, std::move(name)) {
}

std::string DBDateEdit::fieldText(const Field& field, bool /*editing*/) const {
  if (field.isNull())
    return {};
  return ui::regional::formatDate(field.asDateTime());
}

DBText::DBText(ui::Control* parent, std::string name) : ui::Label(parent, std::move(name)) {
  // Data is shown as it is: an '&' in a name is no accelerator.
  setShowAccelChar(false);
}

void DBText::setDataSource(DataSource* source) {
  DataLink::setDataSource(source);
  load();
}

void DBText::setDataField(std::string field) {
  dataField_ = std::move(field);
  load();
}

void DBText::load() {
  DataSet* set = active() ? dataSet() : nullptr;
  Field* f = set != nullptr ? set->findField(dataField_) : nullptr;
  setCaption(f != nullptr && !set->isEmpty() ? f->displayText() : std::string());
}

}  // namespace db
