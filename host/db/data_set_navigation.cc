// Cursor movement of DataSet: first, last, moveBy, recNo and locate.
#include <strings.h>

#include <algorithm>

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

namespace {

// Whether `have` equals (or, partially, starts with) `wanted`, which is already lowered when
// letter case is ignored. Texts of plain ASCII, the common case, are compared in place.
bool textMatches(std::string_view have, const std::string& wanted, LocateOptions options) {
  if (!options.caseInsensitive) {
    return options.partialKey ? have.substr(0, wanted.size()) == wanted : have == wanted;
  }
  const bool ascii = std::all_of(have.begin(), have.end(),
                                 [](char c) { return static_cast<unsigned char>(c) < 0x80; });
  if (!ascii) {
    const std::string lowered = ui::utf8::toLower(have);
    return options.partialKey ? lowered.compare(0, wanted.size(), wanted) == 0 : lowered == wanted;
  }
  if (options.partialKey ? have.size() < wanted.size() : have.size() != wanted.size())
    return false;
  for (std::size_t i = 0; i < wanted.size(); ++i) {
    const char c = have[i];
    if ((c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c) != wanted[i])
      return false;
  }
  return true;
}

}  // namespace

bool DataSet::matches(const Record& record, const std::vector<Field*>& fields,
                      const std::vector<LocateKey>& keys, LocateOptions options) const {
  for (std::size_t i = 0; i < fields.size(); ++i) {
    const auto at = static_cast<std::size_t>(fields[i]->index());
    const LocateKey& key = keys[i];
    if (key.null || record.values.isNull(at)) {
      if (key.null != record.values.isNull(at))
        return false;
      continue;
    }
    if (fields[i]->type() != packet::FieldType::Text) {
      if (!key.number || *key.number != record.values.number(at))
        return false;
      continue;
    }
    if (!textMatches(record.values.text(at), key.text, options))
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
  // Each key is read once: numbers parsed, texts lowered when letter case is ignored.
  std::vector<LocateKey> keys;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    LocateKey key;
    key.null = packet::isNull(values[i]);
    if (!key.null && fields[i]->type() != packet::FieldType::Text) {
      key.number = keyNumber(values[i], fields[i]->type());
    } else if (!key.null) {
      key.text = keyText(values[i], fields[i]->type());
      if (options.caseInsensitive)
        key.text = ui::utf8::toLower(key.text);
    }
    keys.push_back(std::move(key));
  }
  fire(beforeScroll);
  for (std::size_t i = 0; i < view_.size(); ++i) {
    if (!matches(*view_[i], fields, keys, options))
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
