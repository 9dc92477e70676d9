// Record: one row of a data set together with its change-log state.
//
// Internal to the data layer. A record keeps its current values; the values it had at the
// last merge are kept apart (`original`) only once it is modified or deleted, so loading a
// packet stores each row once. A row inserted since the merge has no original values.
// `changeOrder` is the sequence number of its first change since the merge (0: unchanged), so
// the delta lists the changes in the order they were made. `merged` marks a row whose change
// was merged since the rows were loaded: what the server holds for it is known only once the
// server sends it again.
#pragma once

#include <cstdint>
#include <optional>

#include "host/db/row_values.h"

namespace db {

struct Record {
  RowValues values;
  std::optional<RowValues> original;  // modified or deleted rows only
  bool inserted = false;
  bool deleted = false;
  bool merged = false;
  std::uint64_t changeOrder = 0;

  bool changed() const { return changeOrder != 0; }
  // The values as last merged (the current ones while unchanged); not for inserted rows.
  const RowValues& mergedValues() const { return original ? *original : values; }
};

}  // namespace db
