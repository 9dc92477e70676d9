// The SQLite engine: one connection to a database file.
//
// Every connection enforces foreign keys, waits for another connection's lock up to its busy
// timeout, knows the collation PTBR (names ordered as the client tier orders them) and the
// function NVL(value, fallback) of the dialect the lookup texts are written in (an empty text
// counts as null there). A progress handler stops a statement that runs past the deadline.
#include <fmt/format.h>
#include <sqlite3.h>

#include <algorithm>
#include <cctype>
#include <climits>
#include <unordered_map>
#include <vector>

#include "packet/name_order.h"
#include "storage/backend.h"

namespace storage {

namespace {

DbError sqliteError(sqlite3* db, int code) {
  const char* detail = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
  switch (code & 0xFF) {
    case SQLITE_INTERRUPT:
      return DbError(kTimeoutMessage, Failure::Timeout);
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return DbError(kBusyMessage, Failure::Busy);
    case SQLITE_CONSTRAINT:
      return DbError(
          fmt::format("A gravação viola uma regra de integridade do banco de dados ({}).", detail),
          Failure::Constraint);
    case SQLITE_CANTOPEN:
      return DbError(fmt::format("Não foi possível abrir o banco de dados ({}).", detail),
                     Failure::Unavailable);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
      return DbError(fmt::format("O arquivo não é um banco de dados válido ({}).", detail),
                     Failure::Unavailable);
    default:
      return DbError(fmt::format("Erro no banco de dados: {}.", detail));
  }
}

void check(sqlite3* db, int code) {
  if (code != SQLITE_OK)
    throw sqliteError(db, code);
}

int compareCollated(void*, int lengthA, const void* a, int lengthB, const void* b) {
  const int result =
      packet::compareForSorting(std::string_view(static_cast<const char*>(a), lengthA),
                                std::string_view(static_cast<const char*>(b), lengthB));
  return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

void nvl(sqlite3_context* context, int /*argc*/, sqlite3_value** argv) {
  sqlite3_value* value = argv[0];
  const bool missing =
      sqlite3_value_type(value) == SQLITE_NULL ||
      (sqlite3_value_type(value) == SQLITE_TEXT && sqlite3_value_bytes(value) == 0);
  sqlite3_result_value(context, missing ? argv[1] : value);
}

class SqliteDatabase;

class SqliteStatement : public StatementBackend {
 public:
  SqliteStatement(SqliteDatabase& owner, sqlite3* db, sqlite3_stmt* stmt)
      : owner_(owner), db_(db), stmt_(stmt) {}
  ~SqliteStatement() override;

  void bindText(int index, std::string_view text) override {
    if (text.size() > static_cast<size_t>(INT_MAX))
      throw DbError("Texto grande demais.");
    check(db_, sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                                 SQLITE_TRANSIENT));
  }
  void bindUnownedText(int index, std::string_view text) override {
    if (text.size() > static_cast<size_t>(INT_MAX))
      throw DbError("Texto grande demais.");
    check(db_, sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                                 SQLITE_STATIC));
  }
  void bindNumber(int index, double number) override {
    check(db_, sqlite3_bind_double(stmt_, index, number));
  }
  void bindNull(int index) override { check(db_, sqlite3_bind_null(stmt_, index)); }

  bool step() override {
    const int code = sqlite3_step(stmt_);
    if (code == SQLITE_ROW)
      return true;
    if (code == SQLITE_DONE)
      return false;
    throw sqliteError(db_, code);
  }
  void reset() override {
    sqlite3_reset(stmt_);
    sqlite3_clear_bindings(stmt_);
  }

  int columnCount() const override { return sqlite3_column_count(stmt_); }
  std::string columnName(int column) const override {
    const char* name = sqlite3_column_name(stmt_, column);
    std::string upper = name != nullptr ? name : "";
    for (char& c : upper)
      c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return upper;
  }
  std::string declaredType(int column) const override {
    const char* declared = sqlite3_column_decltype(stmt_, column);
    return declared != nullptr ? declared : "";
  }
  bool isNull(int column) const override {
    return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
  }
  bool isNumber(int column) const override {
    const int type = sqlite3_column_type(stmt_, column);
    return type == SQLITE_INTEGER || type == SQLITE_FLOAT;
  }
  std::string_view text(int column) const override {
    const auto* bytes = sqlite3_column_text(stmt_, column);
    if (bytes == nullptr)
      return {};
    return std::string_view(reinterpret_cast<const char*>(bytes),
                            static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
  }
  double number(int column) const override { return sqlite3_column_double(stmt_, column); }

 private:
  SqliteDatabase& owner_;
  sqlite3* db_;
  sqlite3_stmt* stmt_;
};

class SqliteDatabase : public DatabaseBackend {
 public:
  SqliteDatabase(const std::string& path, const OpenOptions& options) {
    const int flags =
        SQLITE_OPEN_READWRITE | (options.create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
    const int code = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
    if (code != SQLITE_OK) {
      const std::string message =
          fmt::format("Não foi possível abrir o banco de dados '{}' ({}).", path,
                      db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(code));
      sqlite3_close(db_);
      db_ = nullptr;
      throw DbError(message, Failure::Unavailable);
    }
    sqlite3_extended_result_codes(db_, 1);
    busyTimeoutMs_ = options.busyTimeoutMs;
    sqlite3_busy_timeout(db_, busyTimeoutMs_);
    // Checked every few thousand steps of a statement: cheap, and soon enough for a deadline.
    sqlite3_progress_handler(db_, 4000, &SqliteDatabase::onProgress, this);
    try {
      check(db_, sqlite3_create_collation(db_, "PTBR", SQLITE_UTF8, nullptr, compareCollated));
      check(db_, sqlite3_create_function(db_, "NVL", 2, SQLITE_UTF8 | SQLITE_DETERMINISTIC, nullptr,
                                         nvl, nullptr, nullptr));
      exec("PRAGMA foreign_keys = ON");
      if (options.readOnly)
        exec("PRAGMA query_only = 1");
    } catch (const DbError&) {
      sqlite3_close(db_);
      throw;
    }
  }

  ~SqliteDatabase() override {
    for (auto& [sql, statements] : idle_) {
      for (sqlite3_stmt* stmt : statements)
        sqlite3_finalize(stmt);
    }
    sqlite3_close(db_);
  }

  Engine engine() const override { return Engine::Sqlite; }

  void exec(const std::string& sql) override {
    char* error = nullptr;
    const int code = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error);
    sqlite3_free(error);
    check(db_, code);
  }

  std::unique_ptr<StatementBackend> prepare(std::string_view sql) override {
    const auto found = idle_.find(std::string(sql));
    if (found != idle_.end() && !found->second.empty()) {
      sqlite3_stmt* stmt = found->second.back();
      found->second.pop_back();
      --idleCount_;
      return std::make_unique<SqliteStatement>(*this, db_, stmt);
    }
    sqlite3_stmt* stmt = nullptr;
    check(db_, sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt, nullptr));
    return std::make_unique<SqliteStatement>(*this, db_, stmt);
  }

  int changes() const override { return sqlite3_changes(db_); }

  void setDeadline(std::optional<std::chrono::steady_clock::time_point> deadline) override {
    deadline_ = deadline;
    int waitMs = busyTimeoutMs_;
    if (deadline) {
      const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
          *deadline - std::chrono::steady_clock::now());
      waitMs = std::clamp(static_cast<int>(left.count()), 0, busyTimeoutMs_);
    }
    sqlite3_busy_timeout(db_, waitMs);
  }

  std::string nameOrder(std::string_view expression) const override {
    return fmt::format("{} COLLATE PTBR", expression);
  }

  void setPageCache(int kibibytes) override {
    if (!ownCacheSize_) {
      auto setting = prepare("PRAGMA cache_size");
      ownCacheSize_ = setting->step() ? static_cast<int>(setting->number(0)) : -2000;
    }
    // A negative size counts KiB, a positive one pages.
    exec(fmt::format("PRAGMA cache_size = {}", kibibytes > 0 ? -kibibytes : *ownCacheSize_));
  }

  void begin() override { exec("BEGIN IMMEDIATE"); }
  void commit() override { exec("COMMIT"); }
  void rollback() override { exec("ROLLBACK"); }

  // Keeps a finished statement for the next prepare() of its text, or finalises it when the
  // cache is full.
  void giveBack(sqlite3_stmt* stmt) {
    sqlite3_reset(stmt);
    sqlite3_clear_bindings(stmt);
    const char* sql = sqlite3_sql(stmt);
    if (idleCount_ >= kCachedStatements || sql == nullptr) {
      sqlite3_finalize(stmt);
      return;
    }
    idle_[sql].push_back(stmt);
    ++idleCount_;
  }

 private:
  static int onProgress(void* self) {
    const auto& deadline = static_cast<SqliteDatabase*>(self)->deadline_;
    return deadline && std::chrono::steady_clock::now() >= *deadline ? 1 : 0;
  }

  sqlite3* db_ = nullptr;
  int busyTimeoutMs_ = 0;
  std::optional<std::chrono::steady_clock::time_point> deadline_;
  // The page cache the connection opened with, read before the first change of it.
  std::optional<int> ownCacheSize_;
  // Finished statements by SQL text, at most kCachedStatements in all.
  static constexpr std::size_t kCachedStatements = 256;
  std::unordered_map<std::string, std::vector<sqlite3_stmt*>> idle_;
  std::size_t idleCount_ = 0;
};

SqliteStatement::~SqliteStatement() {
  owner_.giveBack(stmt_);
}

}  // namespace

std::unique_ptr<DatabaseBackend> openSqlite(const std::string& path, const OpenOptions& options) {
  return std::make_unique<SqliteDatabase>(path, options);
}

void backupSqlite(const std::string& source, const std::string& target) {
  sqlite3* from = nullptr;
  sqlite3* to = nullptr;
  const auto closeBoth = [&] {
    sqlite3_close(from);
    sqlite3_close(to);
  };
  if (const int code = sqlite3_open_v2(source.c_str(), &from, SQLITE_OPEN_READONLY, nullptr);
      code != SQLITE_OK) {
    const DbError error = sqliteError(from, code);
    closeBoth();
    throw error;
  }
  if (const int code =
          sqlite3_open_v2(target.c_str(), &to, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
      code != SQLITE_OK) {
    const DbError error = sqliteError(to, code);
    closeBoth();
    throw error;
  }
  sqlite3_busy_timeout(from, 5000);
  sqlite3_backup* backup = sqlite3_backup_init(to, "main", from, "main");
  if (backup == nullptr) {
    const DbError error = sqliteError(to, sqlite3_errcode(to));
    closeBoth();
    throw error;
  }
  // All pages in one step, under one read of the source: a consistent picture, while the
  // source's writers (WAL) go on. A source locked for a moment is tried again a few times.
  int code = SQLITE_OK;
  for (int attempt = 0; attempt < 50; ++attempt) {
    code = sqlite3_backup_step(backup, -1);
    if (code != SQLITE_BUSY && code != SQLITE_LOCKED)
      break;
    sqlite3_sleep(100);
  }
  sqlite3_backup_finish(backup);
  if (code != SQLITE_DONE) {
    const DbError error = sqliteError(to, code);
    closeBoth();
    throw error;
  }
  closeBoth();
}

}  // namespace storage
