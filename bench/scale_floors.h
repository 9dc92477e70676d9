// The floors of the scale benchmark: what the database and the wire format alone cost for the
// work each user action does, measured in the same run as the actions.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "packet/value.h"

namespace bench {

struct ReadFloor {
  double seconds = 0;
  std::int64_t valueBytes = 0;  // texts' bytes plus 8 per number, null values not counted
  std::int64_t jsonBytes = 0;
  int rows = 0;
};

// Reads the rows of leaving the filter (the service's bound clients with their joins, and the
// branch's clients not bound to it, each in the order the server answers them) and writes
// them as compact JSON.
ReadFloor readFloor(const std::string& path);
// The same, for the service's bound clients only (one reload of the grid).
ReadFloor reloadFloor(const std::string& path);

// Inserts the rows that moving every bindable client in adds to the service, with one
// prepared statement in one transaction, into the table as it is without the triggers that
// keep row versions. Runs on (and changes) the file it is given.
double insertFloor(const std::string& path, int clients);

// Every row that moving the clients in wrote: the bindings, their value history and the trail
// of changes of both (the rows of the moved database past those of the pristine one).
struct TableRows {
  std::string table;
  std::vector<std::string> columns;
  std::vector<std::vector<packet::Value>> rows;
};
using WrittenRows = std::vector<TableRows>;
WrittenRows readWrittenRows(const std::string& pristine, const std::string& moved);
std::int64_t rowCount(const WrittenRows& written);

// Inserts those rows as they are, many rows to a prepared statement, in one transaction,
// into a copy of `pristine` made at `scratch`, without the triggers that keep row versions:
// what the action must write at the least, however it does it.
double writtenRowsFloor(const WrittenRows& written, const std::string& pristine,
                        const std::string& scratch);

// One row's description changed by an UPDATE in a transaction of its own. Changes the file.
double updateFloor(const std::string& path);

}  // namespace bench
