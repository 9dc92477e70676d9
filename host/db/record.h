// Record: one row of a data set together with its change-log state.
//
// Internal to the data layer. A record keeps its current values and, since the last merge,
// the values it had then (`original`; absent for a row inserted since). `changeOrder` is the
// sequence number of its first change since the merge (0: unchanged), so the delta lists the
// changes in the order they were made.
#pragma once

#include <cstdint>
#include <optional>

#include "packet/packet.h"

namespace db {

struct Record {
  packet::Row values;
  std::optional<packet::Row> original;
  bool deleted = false;
  bool modified = false;
  std::uint64_t changeOrder = 0;

  bool inserted() const { return !original.has_value(); }
  bool changed() const { return changeOrder != 0; }
};

}  // namespace db
