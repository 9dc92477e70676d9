// Cursor movement of DataSet: first, last, moveBy, recNo and locate.
#include <strings.h>

#include "host/db/data_set.h"
#include "host/ui/regional.h"
#include "host/ui/utf8.h"

namespace db {

void DataSet::first() {
  checkBrowseMode();
  fire(beforeScroll);
  cursor_ = view_.empty() ? -1 : 0;
  bof_ = true;
  eof_ = view_.empty();
  dataEvent(DataEvent::DataSetChange);
  fire(afterScroll);
}

void DataSet::last() {
  checkBrowseMode();
  fire(beforeScroll);
  cursor_ = recordCount() - 1;
  eof_ = true;
  bof_ = view_.empty();
  dataEvent(DataEvent::DataSetChange);
  fire(afterScroll);
}

int DataSet::moveBy(int distance) {
  checkBrowseMode();
  fire(beforeScroll);
  int moved = 0;
  if (distance > 0 && !eof_) {
    bof_ = false;
    int target = cursor_ + distance;
    if (target >= recordCount()) {
      target = recordCount() - 1;
      eof_ = true;
    }
    moved = target - cursor_;
    cursor_ = target;
  } else if (distance < 0 && !bof_) {
    eof_ = false;
    int target = cursor_ + distance;
    if (target < 0) {
      target = 0;
      bof_ = true;
    }
    moved = target - cursor_;
    cursor_ = target;
  }
  if (moved != 0)
    dataEvent(DataEvent::DataSetScroll);
  fire(afterScroll);
  return moved;
}

int DataSet::recNo() const {
  if (state_ == DataSetState::Insert)
    return insertRow_ + 1;
  return cursor_ + 1;
}

void DataSet::setRecNo(int recNo) {
  checkBrowseMode();
  if (view_.empty())
    return;
  const int target = std::clamp(recNo, 1, recordCount()) - 1;
  if (target == cursor_)
    return;
  fire(beforeScroll);
  cursor_ = target;
  bof_ = eof_ = false;
  dataEvent(DataEvent::DataSetChange);
  fire(afterScroll);
}

namespace {

std::string keyText(const packet::Value& v, packet::FieldType type) {
  if (packet::isText(v))
    return std::get<std::string>(v);
  if (packet::isNumber(v)) {
    const double number = std::get<double>(v);
    return type == packet::FieldType::DateTime ? ui::regional::formatDateTime(number)
                                               : ui::regional::formatFloat("", number);
  }
  return {};
}

// A key given as text for a numeric field is read with the regional formats.
std::optional<double> keyNumber(const packet::Value& key, packet::FieldType type) {
  if (packet::isNumber(key))
    return std::get<double>(key);
  const auto& text = std::get<std::string>(key);
  return type == packet::FieldType::DateTime ? ui::regional::parseDate(text)
                                             : ui::regional::parseFloat(text);
}

}  // namespace

bool DataSet::matches(const Record& record, const std::vector<Field*>& fields,
                      const std::vector<packet::Value>& values, LocateOptions options) const {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const Field& field = *fields[i];
    const packet::Value& have = record.values[static_cast<std::size_t>(field.index())];
    const packet::Value& key = values[i];
    if (packet::isNull(key) || packet::isNull(have)) {
      if (packet::isNull(key) != packet::isNull(have))
        return false;
      continue;
    }
    if (field.type() != packet::FieldType::Text) {
      const auto number = keyNumber(key, field.type());
      if (!number || *number != std::get<double>(have))
        return false;
      continue;
    }
    std::string text = keyText(have, field.type());
    std::string wanted = keyText(key, field.type());
    if (options.caseInsensitive) {
      text = ui::utf8::toLower(text);
      wanted = ui::utf8::toLower(wanted);
    }
    if (options.partialKey ? text.compare(0, wanted.size(), wanted) != 0 : text != wanted)
      return false;
  }
  return true;
}

bool DataSet::locate(const std::string& fieldList, const std::vector<packet::Value>& values,
                     LocateOptions options) {
  checkBrowseMode();
  std::vector<Field*> fields;
  for (const auto& name : splitFieldList(fieldList))
    fields.push_back(&fieldByName(name));
  if (fields.empty() || fields.size() != values.size())
    throw DataError(
        "Localizar: o número de valores não corresponde ao número de campos informados.");
  fire(beforeScroll);
  for (std::size_t i = 0; i < view_.size(); ++i) {
    if (!matches(*view_[i], fields, values, options))
      continue;
    cursor_ = static_cast<int>(i);
    bof_ = eof_ = false;
    dataEvent(DataEvent::DataSetChange);
    fire(afterScroll);
    return true;
  }
  return false;
}

}  // namespace db
