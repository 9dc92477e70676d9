// A delta checked against a data set, and the optimistic-concurrency rules applied to it.
//
// `readDelta` refuses, with a message naming the change and the field, any delta that names a
// field the data set does not have, gives a field the wrong kind of value, leaves out a key
// field or a key value, changes a key, or exceeds a text size. What it returns holds each
// change's old and new values by field name.
//
// Concurrency: a modification may go on when every field it alters still holds its old value
// in the stored row or already holds the new one (a change written earlier by another method
// of the same operation is not a conflict); a deletion needs the stored row to hold every old
// value it names.
#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "packet/packet.h"
#include "server/data_sets.h"

namespace server {

// Values of one row by field name.
class Record {
 public:
  bool has(std::string_view field) const { return values_.find(field) != values_.end(); }
  // The value, or null when the record does not carry the field.
  const packet::Value& get(std::string_view field) const;
  void set(std::string_view field, packet::Value value);
  const std::map<std::string, packet::Value, std::less<>>& values() const { return values_; }

 private:
  std::map<std::string, packet::Value, std::less<>> values_;
};

struct RowChange {
  packet::ChangeKind kind = packet::ChangeKind::Insert;
  int number = 0;  // position in the delta, from 1, for messages
  Record before;   // modify, delete
  Record after;    // insert, modify
};

// Throws MethodError when the delta does not fit the data set.
std::vector<RowChange> readDelta(const packet::Delta& delta, const DataSetSpec& spec);

// Equality as stored data sees it: null and an empty text are the same, numbers compare with a
// relative tolerance far below the five decimals the values carry.
bool sameValue(const packet::Value& a, const packet::Value& b);

// Stored fields whose new value differs from the old one.
std::vector<std::string> alteredFields(const RowChange& change, const DataSetSpec& spec);

// The first of `fields` whose stored value is neither the change's old nor its new value.
std::optional<std::string> modificationConflict(const RowChange& change, const Record& stored,
                                                const std::vector<std::string>& fields);

// The first key or stored field of the deletion whose stored value differs from the old one.
std::optional<std::string> deletionConflict(const RowChange& change, const Record& stored,
                                            const DataSetSpec& spec);

// A value as the operator reads it in a message: text quoted, numbers plainly, "vazio".
std::string describeValue(const packet::Value& value);

// Characters (not bytes) of a UTF-8 text.
size_t characterCount(std::string_view text);

}  // namespace server
