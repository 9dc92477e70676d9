// Field: one column of a data set, seen at the data set's current row.
//
// A field is created by DataSet::addField and owned by its data set; forms keep references to
// the fields they define. It reads and writes the value of the current row (the edit buffer
// while the data set is editing), converts it to and from text with the Brazilian formats,
// and carries the display properties that grids and edits use. Writing requires the data set
// to be in edit or insert state; data-aware controls call DataSet::edit first.
#pragma once

#include <functional>
#include <string>
#include <string_view>

#include "packet/value.h"

namespace db {

class DataSet;

class Field {
 public:
  Field(DataSet& dataSet, int index, std::string name, packet::FieldType type, int size);
  Field(const Field&) = delete;
  Field& operator=(const Field&) = delete;

  DataSet& dataSet() const { return dataSet_; }
  // Position among the data set's fields.
  int index() const { return index_; }
  const std::string& name() const { return name_; }
  packet::FieldType type() const { return type_; }
  // Maximum characters of a text field (0: unlimited).
  int size() const { return size_; }

  // Display properties. Changing the label, visibility or width tells bound controls that
  // the layout changed; changing a format or mask tells them the data changed.
  const std::string& displayLabel() const { return displayLabel_.empty() ? name_ : displayLabel_; }
  void setDisplayLabel(std::string label);
  const std::string& displayFormat() const { return displayFormat_; }
  void setDisplayFormat(std::string format);
  const std::string& editFormat() const { return editFormat_; }
  void setEditFormat(std::string format);
  const std::string& editMask() const { return editMask_; }
  void setEditMask(std::string mask);
  bool visible() const { return visible_; }
  void setVisible(bool visible);
  int displayWidth() const { return displayWidth_; }
  void setDisplayWidth(int width);
  bool required() const { return required_; }
  void setRequired(bool required) { required_ = required; }
  bool readOnly() const { return readOnly_; }
  void setReadOnly(bool readOnly) { readOnly_ = readOnly; }
  int tag() const { return tag_; }
  void setTag(int tag) { tag_ = tag; }
  const std::string& origin() const { return origin_; }
  void setOrigin(std::string origin) { origin_ = std::move(origin); }

  // Value of the current row.
  bool isNull() const;
  packet::Value value() const;
  // The value as last merged into the change log; null for a row inserted since.
  packet::Value oldValue() const;
  // Stores a value: the data set must be editing and the field writable; a text longer than
  // the size is cut to it; a value of the wrong kind (or a number that is not finite) throws
  // DataError. Fires onChange afterwards, even when the value is equal.
  void setValue(packet::Value value);
  void clear() { setValue(packet::Value{}); }

  // Conversions. Reading a null gives "" or 0; reading a text that is no number or date
  // throws DataError with the regional message. setAsString("") stores null for every type.
  std::string asString() const;
  void setAsString(std::string_view text);
  double asFloat() const;
  void setAsFloat(double value);
  double asDateTime() const;
  void setAsDateTime(double days);

  // Edit text: numbers with the edit format (or the display format when there is no edit
  // format, or the general format), dates dd/mm/yyyy [hh:nn:ss]. Runs onGetText with
  // displayText false when assigned.
  std::string text() const;
  // Display text: numbers with the display format, texts through the edit mask. Runs
  // onGetText with displayText true when assigned.
  std::string displayText() const;
  // Display text of another row of the data set (a grid drawing its lines): every field reads
  // that row while the handler runs. `row` counts from 0 in reading order.
  std::string displayTextAt(int row) const;
  // Runs onSetText when assigned; otherwise an empty text stores null, a number or date is
  // parsed (DataError with the regional message when it cannot be read), and a text is cut to
  // the size.
  void setText(const std::string& text);

  // Handlers, assignable and detachable by assigning nullptr.
  std::function<void(Field&)> onChange;
  // `text` starts empty; the handler writes the text to show.
  std::function<void(Field&, std::string& text, bool displayText)> onGetText;
  std::function<void(Field&, const std::string& text)> onSetText;

 private:
  std::string defaultText(bool displayText) const;
  std::string textFor(bool displayText) const;

  DataSet& dataSet_;
  int index_;
  std::string name_;
  packet::FieldType type_;
  int size_;
  std::string displayLabel_;
  std::string displayFormat_;
  std::string editFormat_;
  std::string editMask_;
  std::string origin_;
  bool visible_ = true;
  bool required_ = false;
  bool readOnly_ = false;
  int displayWidth_ = 0;
  int tag_ = 0;
};

}  // namespace db
