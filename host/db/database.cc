#include "host/db/database.h"

#include <sqlite3.h>

#include <fmt/format.h>

#include "host/db/data_errors.h"

namespace db {

namespace {

// NVL(value, fallback): the lookup texts are written in the Oracle dialect, which SQLite lacks.
// As there, an empty text counts as null.
void nvl(sqlite3_context* context, int /*argc*/, sqlite3_value** argv) {
  sqlite3_value* value = argv[0];
  const bool missing =
      sqlite3_value_type(value) == SQLITE_NULL ||
      (sqlite3_value_type(value) == SQLITE_TEXT && sqlite3_value_bytes(value) == 0);
  sqlite3_result_value(context, missing ? argv[1] : value);
}

}  // namespace

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
  if (sqlite3_create_function(handle_, "NVL", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr, nvl,
                              nullptr, nullptr) != SQLITE_OK) {
    const std::string reason = sqlite3_errmsg(handle_);
    sqlite3_close(handle_);
    handle_ = nullptr;
    throw DataError(
        fmt::format("Não foi possível preparar o banco de dados '{}': {}", path, reason));
  }
}

Database::~Database() {
  sqlite3_close(handle_);
}

}  // namespace db
