// The PostgreSQL engine is a library of its own (libstorage_postgresql.so, next to this one),
// loaded the first time a PostgreSQL database is opened: libpq and what it brings with it
// (Kerberos, LDAP, TLS; about 3.4 MB resident once loaded) stay out of every process that
// only ever opens SQLite files, as the client tier with its local lookup database does.
#include <dlfcn.h>
#include <fmt/format.h>

#include <mutex>
#include <string>

#include "storage/backend.h"
#include "storage/postgresql_entry.h"

namespace storage {

namespace {

// The folder this library was loaded from, with its final slash; empty when unknown.
std::string ownFolder() {
  Dl_info info{};
  if (dladdr(reinterpret_cast<const void*>(&openPostgresql), &info) == 0 ||
      info.dli_fname == nullptr)
    return {};
  const std::string path = info.dli_fname;
  const size_t slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

struct LoadedEngine {
  PostgresqlOpen open = nullptr;
  std::string error;
};

const LoadedEngine& loadedEngine() {
  static LoadedEngine loaded;
  static std::once_flag once;
  std::call_once(once, [] {
    const std::string path = ownFolder() + kPostgresqlLibrary;
    // Never closed: backends and their statements run its code until the process ends.
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    void* entry = library ? dlsym(library, kPostgresqlEntry) : nullptr;
    if (entry == nullptr) {
      const char* why = dlerror();
      loaded.error = why ? why : path;
      return;
    }
    loaded.open = reinterpret_cast<PostgresqlEntry>(entry)();
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
