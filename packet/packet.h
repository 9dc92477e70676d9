// Data packets: the rows a remote read returns, and the delta a save sends.
//
// A packet is a list of field definitions plus rows; each row is an array of values in field
// order (not an object per row: the array layout is much smaller and faster to parse for large
// services). A delta carries the same field definitions and the change log of a data set:
// inserted rows (new values), modified rows (old and new values) and deleted rows (old values).
//
// A read whose rows carry versions stamps its packet with the version it answered from. Asked
// with the version its caller already holds, such a read may answer a partial packet: only the
// rows added or changed since then, the keys of the rows gone since then, and the order the
// rows stand in, so the caller can bring its rows to exactly what a full read gives.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "packet/packed_row.h"
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

// One level of a read's ordering: a field, compared as names are ordered for the operator
// (letter case and Portuguese accents ignored, see packet/name_order.h) or exactly.
struct OrderField {
  std::string field;
  bool asName = false;

  bool operator==(const OrderField&) const = default;
};

// What a partial packet leaves out: it carries the rows added or changed since `since`; the rows
// whose keys are in `removed` are gone; every other row is as the caller holds it. Rows stand in
// `order` (the keys break ties).
struct PacketChanges {
  std::int64_t since = 0;
  std::vector<std::string> keyFields;
  std::vector<Row> removed;  // values of keyFields, in that order
  std::vector<OrderField> order;

  bool operator==(const PacketChanges&) const = default;
};

struct Packet {
  std::vector<FieldDef> fields;
  std::vector<Row> rows;
  // The rows read packed instead (a reader asked for them so: they go straight into a data
  // set); a packet carries its rows in one form or the other, in the same order.
  std::vector<PackedRow> packedRows;
  // Version of the stored rows this packet answers from; 0 when the read keeps no versions.
  std::int64_t version = 0;
  // Present on a partial packet only.
  std::optional<PacketChanges> changes;

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
