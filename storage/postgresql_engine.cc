// The PostgreSQL engine is a library of its own (libstorage_postgresql.so, next to this one),
// loaded the first time a PostgreSQL database is opened: libpq and what it brings with it
// (Kerberos, LDAP, TLS; about 3.4 MB resident once loaded) stay out of every process that
// only ever opens SQLite files, as the client tier with its local lookup database does.
#include <fmt/format.h>

#include <mutex>
#include <string>
#include <utility>

#include "storage/backend.h"
#include "storage/library_beside.h"
#include "storage/postgresql_entry.h"

namespace storage {

namespace {

struct LoadedEngine {
  PostgresqlOpen open = nullptr;
  std::string error;
};

const LoadedEngine& loadedEngine() {
  static LoadedEngine loaded;
  static std::once_flag once;
  std::call_once(once, [] {
    LibraryEntry library = loadLibraryBeside(reinterpret_cast<const void*>(&openPostgresql),
                                             kPostgresqlLibrary, kPostgresqlEntry);
    if (library.entry == nullptr) {
      loaded.error = std::move(library.error);
      return;
    }
    loaded.open = reinterpret_cast<PostgresqlEntry>(library.entry)();
  });
  return loaded;
}

}  // namespace

std::unique_ptr<DatabaseBackend> openPostgresql(const std::string& name,
                                                const OpenOptions& options) {
  const LoadedEngine& loaded = loadedEngine();
  if (loaded.open == nullptr)
    throw DbError(fmt::format("Não foi possível carregar o suporte a PostgreSQL para abrir o banco "
                              "de dados '{}' ({}).",
                              displayName(name), loaded.error),
                  Failure::Unavailable);
  return loaded.open(name, options);
}

}  // namespace storage
