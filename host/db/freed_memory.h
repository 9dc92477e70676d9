// Handing memory freed by a large load back to the system.
//
// Loading a service of 100,000 clients reads an answer of tens of megabytes into a packet and
// then into compact rows; the packet is freed once the rows hold its values, but the allocator
// keeps the freed pages for later use, so the process would stay as large as at the load's
// peak. Releasing them after such a load keeps the resident memory near what the rows hold.
#pragma once

#include <cstddef>

namespace db {

// A load of at least this many values releases the freed memory afterwards.
inline constexpr std::size_t kLargeLoadValues = 100000;

// Returns the allocator's free pages to the system (a no-op where the allocator cannot).
void releaseFreedMemory();

}  // namespace db
