// Data packets: the rows a remote read returns, and the delta a save sends.
//
// A packet is a list of field definitions plus rows; each row is an array of values in field
// order (not an object per row: the array layout is much smaller and faster to parse for large
// services). A delta carries the same field definitions and the change log of a data set:
// inserted rows (new values), modified rows (old and new values) and deleted rows (old values).
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

#include "packet/value.h"

namespace packet {

// A packet or delta that cannot be read: the message says what is wrong, in Portuguese,
// because it reaches the operator through the server's answer.
class PacketError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct FieldDef {
  std::string name;
  FieldType type = FieldType::Text;
  int size = 0;  // characters, for text fields

  bool operator==(const FieldDef&) const = default;
};

using Row = std::vector<Value>;

struct Packet {
  std::vector<FieldDef> fields;
  std::vector<Row> rows;

  // Index of the named field (case-insensitive), or -1.
  int fieldIndex(const std::string& name) const;
};

enum class ChangeKind { Insert, Modify, Delete };

struct Change {
  ChangeKind kind = ChangeKind::Insert;
  Row oldValues;  // Modify, Delete
  Row newValues;  // Insert, Modify
};

struct Delta {
  std::vector<FieldDef> fields;
  std::vector<Change> changes;

  int fieldIndex(const std::string& name) const;
};

}  // namespace packet
