// Record: one row of a data set together with its change-log state.
//
// Internal to the data layer. A record keeps its current values; the values it had at the
// last merge are kept apart (`original`) only once it is modified or deleted, so loading a
// packet copies each row once. A row inserted since the merge has no original values.
// `changeOrder` is the sequence number of its first change since the merge (0: unchanged), so
// the delta lists the changes in the order they were made.
#pragma once

#include <cstdint>
#include <optional>

#include "packet/packet.h"

namespace db {

struct Record {
  packet::Row values;
  std::optional<packet::Row> original;  // modified or deleted rows only
  bool inserted = false;
  bool deleted = false;
  std::uint64_t changeOrder = 0;

  bool changed() const { return changeOrder != 0; }
  // The values as last merged (the current ones while unchanged); not for inserted rows.
  const packet::Row& mergedValues() const { return original ? *original : values; }
};

}  // namespace db
