#include "host/db/field.h"

#include <cmath>

#include "host/db/data_errors.h"
#include "host/db/data_set.h"
#include "host/ui/edit_mask.h"
#include "host/ui/regional.h"
#include "host/ui/utf8.h"

namespace db {

namespace regional = ui::regional;

Field::Field(DataSet& dataSet, int index, std::string name, packet::FieldType type, int size)
    : dataSet_(dataSet), index_(index), name_(std::move(name)), type_(type), size_(size) {
}

void Field::setDisplayLabel(std::string label) {
  displayLabel_ = std::move(label);
  dataSet_.fieldPropertyChanged(true);
}

void Field::setDisplayFormat(std::string format) {
  displayFormat_ = std::move(format);
  dataSet_.fieldPropertyChanged(false);
}

void Field::setEditFormat(std::string format) {
  editFormat_ = std::move(format);
  dataSet_.fieldPropertyChanged(false);
}

void Field::setEditMask(std::string mask) {
  editMask_ = std::move(mask);
  dataSet_.fieldPropertyChanged(false);
}

void Field::setVisible(bool visible) {
  visible_ = visible;
  dataSet_.fieldPropertyChanged(true);
}

void Field::setDisplayWidth(int width) {
  displayWidth_ = width;
  dataSet_.fieldPropertyChanged(true);
}

bool Field::isNull() const {
  return packet::isNull(dataSet_.currentValue(index_));
}

packet::Value Field::value() const {
  return dataSet_.currentValue(index_);
}

packet::Value Field::oldValue() const {
  return dataSet_.originalValue(index_);
}

void Field::setValue(packet::Value value) {
  if (!packet::isNull(value)) {
    const bool wantText = type_ == packet::FieldType::Text;
    if (wantText != packet::isText(value))
      throw DataError(messages::wrongValueType(name_));
    if (packet::isNumber(value) && !std::isfinite(std::get<double>(value)))
      throw DataError(messages::wrongValueType(name_));
    if (wantText && size_ > 0) {
      auto& text = std::get<std::string>(value);
      if (text.size() > static_cast<std::size_t>(size_) &&
          ui::utf8::length(text) > static_cast<std::size_t>(size_))
        text = ui::utf8::substr(text, 0, static_cast<std::size_t>(size_));
    }
  }
  dataSet_.writeValue(*this, std::move(value));
}

std::string Field::asString() const {
  const packet::Value& v = dataSet_.currentValue(index_);
  if (packet::isNull(v))
    return {};
  if (packet::isText(v))
    return std::get<std::string>(v);
  const double number = std::get<double>(v);
  if (type_ == packet::FieldType::DateTime)
    return regional::formatDateTime(number);
  return regional::formatFloat("", number);
}

void Field::setAsString(std::string_view text) {
  if (text.empty())
    return clear();
  switch (type_) {
    case packet::FieldType::Text:
      setValue(std::string(text));
      return;
    case packet::FieldType::Double: {
      const auto number = regional::parseFloat(text);
      if (!number)
        throw DataError(regional::invalidNumberMessage(text));
      setValue(*number);
      return;
    }
    case packet::FieldType::DateTime: {
      const auto days = regional::parseAcceptedDate(text);
      if (!days)
        throw DataError(regional::invalidDateMessage(text));
      setValue(*days);
      return;
    }
  }
}

double Field::asFloat() const {
  const packet::Value& v = dataSet_.currentValue(index_);
  if (packet::isNull(v))
    return 0;
  if (packet::isNumber(v))
    return std::get<double>(v);
  const auto& text = std::get<std::string>(v);
  if (text.empty())
    return 0;
  const auto number = regional::parseFloat(text);
  if (!number)
    throw DataError(regional::invalidNumberMessage(text));
  return *number;
}

void Field::setAsFloat(double value) {
  if (type_ == packet::FieldType::Text)
    return setValue(regional::formatFloat("", value));
  setValue(value);
}

double Field::asDateTime() const {
  const packet::Value& v = dataSet_.currentValue(index_);
  if (packet::isNull(v))
    return 0;
  if (packet::isNumber(v))
    return std::get<double>(v);
  const auto& text = std::get<std::string>(v);
  if (text.empty())
    return 0;
  const auto days = regional::parseDate(text);
  if (!days)
    throw DataError(regional::invalidDateMessage(text));
  return *days;
}

void Field::setAsDateTime(double days) {
  if (type_ == packet::FieldType::Text)
    return setValue(regional::formatDateTime(days));
  setValue(days);
}

std::string Field::defaultText(bool displayText) const {
  const packet::Value& v = dataSet_.currentValue(index_);
  if (packet::isNull(v))
    return {};
  if (packet::isText(v)) {
    const auto& text = std::get<std::string>(v);
    if (displayText && !editMask_.empty())
      return ui::formatMaskText(editMask_, text);
    return text;
  }
  const double number = std::get<double>(v);
  if (type_ == packet::FieldType::DateTime)
    return regional::formatDateTime(number);
  const std::string& pattern = displayText || editFormat_.empty() ? displayFormat_ : editFormat_;
  return regional::formatFloat(pattern, number);
}

std::string Field::textFor(bool displayText) const {
  const auto handler = onGetText;
  if (!handler)
    return defaultText(displayText);
  std::string text;
  handler(const_cast<Field&>(*this), text, displayText);
  return text;
}

std::string Field::text() const {
  return textFor(false);
}

std::string Field::displayText() const {
  return textFor(true);
}

std::string Field::displayTextAt(int row) const {
  std::string text;
  dataSet_.readRow(row, [&] { text = textFor(true); });
  return text;
}

void Field::setText(const std::string& text) {
  const auto handler = onSetText;
  if (handler) {
    handler(*this, text);
    return;
  }
  setAsString(text);
}

}  // namespace db
