// The floors of the scale benchmark: what the database and the wire format alone cost for the
// work each user action does, measured in the same run as the actions.
#pragma once

#include <cstdint>
#include <string>

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

// One row's description changed by an UPDATE in a transaction of its own. Changes the file.
double updateFloor(const std::string& path);

}  // namespace bench
