#include "host/db/database.h"

#include <sqlite3.h>

#include <fmt/format.h>

#include "host/db/data_errors.h"

namespace db {

Database::Database(const std::string& path, Mode mode) : path_(path) {
  const int flags = mode == Mode::ReadOnly ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
  const int rc = sqlite3_open_v2(path.c_str(), &handle_, flags, nullptr);
  if (rc != SQLITE_OK) {
    const std::string reason = handle_ != nullptr ? sqlite3_errmsg(handle_) : sqlite3_errstr(rc);
    sqlite3_close(handle_);
    handle_ = nullptr;
    throw DataError(fmt::format("Não foi possível abrir o banco de dados '{}': {}", path, reason));
  }
  sqlite3_busy_timeout(handle_, 5000);
}

Database::~Database() {
  sqlite3_close(handle_);
}

}  // namespace db
