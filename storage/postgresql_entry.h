// How the storage library reaches the PostgreSQL engine it loads on demand: the engine's
// library exports one C function that gives its opening function.
#pragma once

#include <memory>
#include <string>

#include "storage/backend.h"

namespace storage {

using PostgresqlOpen = std::unique_ptr<DatabaseBackend> (*)(const std::string& name,
                                                            const OpenOptions& options);
using PostgresqlEntry = PostgresqlOpen (*)();

inline constexpr const char* kPostgresqlLibrary = "libstorage_postgresql.so";
inline constexpr const char* kPostgresqlEntry = "cpsStoragePostgresqlOpen";

}  // namespace storage
