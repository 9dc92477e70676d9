#include "server/sqlite_db.h"

#include <fmt/format.h>

#include <algorithm>
#include <climits>
#include <utility>

#include "packet/name_order.h"

namespace server {

std::string describeSqliteError(sqlite3* db, int code) {
  const char* detail = db != nullptr ? sqlite3_errmsg(db) : sqlite3_errstr(code);
  switch (code & 0xFF) {
    case SQLITE_INTERRUPT:
      return "A operação excedeu o tempo limite do servidor de aplicação e foi desfeita; tente "
             "novamente.";
    case SQLITE_BUSY:
    case SQLITE_LOCKED:
      return "O banco de dados está ocupado por outra operação; tente novamente.";
    case SQLITE_CONSTRAINT:
      return fmt::format("A gravação viola uma regra de integridade do banco de dados ({}).",
                         detail);
    case SQLITE_CANTOPEN:
      return fmt::format("Não foi possível abrir o banco de dados ({}).", detail);
    case SQLITE_NOTADB:
    case SQLITE_CORRUPT:
      return fmt::format("O arquivo não é um banco de dados válido ({}).", detail);
    default:
      return fmt::format("Erro no banco de dados: {}.", detail);
  }
}

namespace {

int compareCollated(void*, int lengthA, const void* a, int lengthB, const void* b) {
  const int result =
      packet::compareForSorting(std::string_view(static_cast<const char*>(a), lengthA),
                                std::string_view(static_cast<const char*>(b), lengthB));
  return result < 0 ? -1 : (result > 0 ? 1 : 0);
}

void check(sqlite3* db, int code) {
  if (code != SQLITE_OK)
    throw DbError(describeSqliteError(db, code));
}

}  // namespace

Statement::Statement(sqlite3* db, std::string_view sql) : db_(db) {
  check(db_, sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt_, nullptr));
}

Statement::Statement(Database& owner, sqlite3_stmt* stmt)
    : db_(owner.db_), stmt_(stmt), owner_(&owner) {
}

Statement::~Statement() {
  if (stmt_ == nullptr)
    return;
  if (owner_ != nullptr)
    owner_->giveBack(stmt_);
  else
    sqlite3_finalize(stmt_);
}

Statement::Statement(Statement&& other) noexcept
    : db_(other.db_), stmt_(std::exchange(other.stmt_, nullptr)), owner_(other.owner_) {
}

Statement& Statement::bind(int index, const packet::Value& value) {
  if (const auto* text = std::get_if<std::string>(&value))
    return bind(index, *text);
  if (const auto* number = std::get_if<double>(&value))
    return bind(index, *number);
  return bindNull(index);
}

Statement& Statement::bind(int index, std::string_view text) {
  if (text.size() > static_cast<size_t>(INT_MAX))
    throw DbError("Texto grande demais.");
  check(db_, sqlite3_bind_text(stmt_, index, text.data(), static_cast<int>(text.size()),
                               SQLITE_TRANSIENT));
  return *this;
}

Statement& Statement::bind(int index, double number) {
  check(db_, sqlite3_bind_double(stmt_, index, number));
  return *this;
}

Statement& Statement::bindNull(int index) {
  check(db_, sqlite3_bind_null(stmt_, index));
  return *this;
}

bool Statement::step() {
  const int code = sqlite3_step(stmt_);
  if (code == SQLITE_ROW)
    return true;
  if (code == SQLITE_DONE)
    return false;
  throw DbError(describeSqliteError(db_, code));
}

void Statement::run() {
  while (step()) {
  }
}

void Statement::reset() {
  sqlite3_reset(stmt_);
  sqlite3_clear_bindings(stmt_);
}

int Statement::columnCount() const {
  return sqlite3_column_count(stmt_);
}

std::string Statement::columnName(int column) const {
  const char* name = sqlite3_column_name(stmt_, column);
  return name != nullptr ? name : "";
}

bool Statement::isNull(int column) const {
  return sqlite3_column_type(stmt_, column) == SQLITE_NULL;
}

std::string Statement::text(int column) const {
  const auto* bytes = sqlite3_column_text(stmt_, column);
  if (bytes == nullptr)
    return {};
  return std::string(reinterpret_cast<const char*>(bytes),
                     static_cast<size_t>(sqlite3_column_bytes(stmt_, column)));
}

double Statement::number(int column) const {
  return sqlite3_column_double(stmt_, column);
}

std::optional<double> Statement::optionalNumber(int column) const {
  if (isNull(column))
    return std::nullopt;
  return number(column);
}

packet::Value Statement::value(int column) const {
  switch (sqlite3_column_type(stmt_, column)) {
    case SQLITE_NULL:
      return std::monostate{};
    case SQLITE_INTEGER:
    case SQLITE_FLOAT:
      return number(column);
    default:
      return text(column);
  }
}

Database::Database(const std::string& path, bool create, int busyTimeoutMs) : path_(path) {
  const int flags = SQLITE_OPEN_READWRITE | (create ? SQLITE_OPEN_CREATE : 0) | SQLITE_OPEN_NOMUTEX;
  const int code = sqlite3_open_v2(path.c_str(), &db_, flags, nullptr);
  if (code != SQLITE_OK) {
    const std::string message =
        fmt::format("Não foi possível abrir o banco de dados '{}' ({}).", path,
                    db_ != nullptr ? sqlite3_errmsg(db_) : sqlite3_errstr(code));
    sqlite3_close(db_);
    db_ = nullptr;
    throw DbError(message);
  }
  sqlite3_extended_result_codes(db_, 1);
  busyTimeoutMs_ = busyTimeoutMs;
  sqlite3_busy_timeout(db_, busyTimeoutMs);
  // Checked every few thousand steps of a statement: cheap, and soon enough for a deadline.
  sqlite3_progress_handler(db_, 4000, &Database::onProgress, this);
  sqlite3_create_collation(db_, "PTBR", SQLITE_UTF8, nullptr, compareCollated);
  try {
    exec("PRAGMA foreign_keys = ON");
  } catch (const DbError&) {
    sqlite3_close(db_);
    throw;
  }
}

Database::~Database() {
  for (auto& [sql, statements] : idle_) {
    for (sqlite3_stmt* stmt : statements)
      sqlite3_finalize(stmt);
  }
  sqlite3_close(db_);
}

void Database::exec(const std::string& sql) {
  char* error = nullptr;
  const int code = sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, &error);
  sqlite3_free(error);
  check(db_, code);
}

Statement Database::prepare(std::string_view sql) {
  const auto found = idle_.find(std::string(sql));
  if (found != idle_.end() && !found->second.empty()) {
    sqlite3_stmt* stmt = found->second.back();
    found->second.pop_back();
    --idleCount_;
    return Statement(*this, stmt);
  }
  sqlite3_stmt* stmt = nullptr;
  check(db_, sqlite3_prepare_v2(db_, sql.data(), static_cast<int>(sql.size()), &stmt, nullptr));
  return Statement(*this, stmt);
}

void Database::giveBack(sqlite3_stmt* stmt) {
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

int Database::onProgress(void* self) {
  const auto& deadline = static_cast<Database*>(self)->deadline_;
  return deadline && std::chrono::steady_clock::now() >= *deadline ? 1 : 0;
}

void Database::setDeadline(std::optional<std::chrono::steady_clock::time_point> deadline) {
  deadline_ = deadline;
  int waitMs = busyTimeoutMs_;
  if (deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        *deadline - std::chrono::steady_clock::now());
    waitMs = std::clamp(static_cast<int>(left.count()), 0, busyTimeoutMs_);
  }
  sqlite3_busy_timeout(db_, waitMs);
}

int Database::changes() const {
  return sqlite3_changes(db_);
}

Transaction::Transaction(Database& db) : db_(db) {
  db_.exec("BEGIN IMMEDIATE");
}

Transaction::~Transaction() {
  if (!open_)
    return;
  try {
    db_.exec("ROLLBACK");
  } catch (const DbError&) {
    // SQLite has already rolled back when the failure ended the transaction itself.
  }
}

void Transaction::commit() {
  db_.exec("COMMIT");
  open_ = false;
}

}  // namespace server
