// Databases of a large branch for the scale benchmark.
//
// Branch 0001 ("São Paulo") with service 00001 ("Limpeza e conservação"), three shifts and the
// cost types; `clients` clients bound to the service and as many more of the branch not bound
// to it, with names in no particular order (so ordering them costs what it costs a real
// branch), inscriptions, trade names, values, descriptions and the cost type 1 on every row.
#pragma once

#include <string>

namespace bench {

inline constexpr const char* kBranch = "0001";
inline constexpr const char* kService = "00001";

// Creates the file (which must not exist) with the schema and the rows above.
void buildScaleDatabase(const std::string& path, int clients);

// Copies a database file (and nothing else: the file is closed and checkpointed).
void copyDatabase(const std::string& from, const std::string& to);

}  // namespace bench
