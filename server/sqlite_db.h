// Thin RAII layer over SQLite for the application server.
//
// `Database` owns one connection, `Statement` one prepared statement whose parameters are bound
// from packet values, and `Transaction` an IMMEDIATE transaction that rolls back unless
// committed, so a failure anywhere inside a write leaves nothing applied. A statement prepared
// by a Database goes back to it when destroyed (reset, its bindings cleared) and the next
// prepare() of the same SQL text takes it again instead of compiling the text anew: a save of
// many rows runs the same few statements for every row. Errors surface as
// `DbError` with a Portuguese message that can go to the operator unchanged. Not thread-safe:
// the server serialises calls on one connection.
#pragma once

#include <sqlite3.h>

#include <chrono>
#include <cstddef>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "packet/value.h"

namespace server {

class DbError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class Database;

class Statement {
 public:
  // A statement of its own, finalised when destroyed.
  Statement(sqlite3* db, std::string_view sql);
  ~Statement();
  Statement(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  Statement& operator=(Statement&&) = delete;

  // Parameters are 1-based, as in SQLite.
  Statement& bind(int index, const packet::Value& value);
  Statement& bind(int index, std::string_view text);
  Statement& bind(int index, const std::string& text) {
    return bind(index, std::string_view(text));
  }
  Statement& bind(int index, const char* text) { return bind(index, std::string_view(text)); }
  Statement& bind(int index, double number);
  Statement& bindNull(int index);

  // Advances to the next row; false when there is none.
  bool step();
  // Runs a statement that returns no rows.
  void run();
  // Makes the statement ready to run again with new parameters.
  void reset();

  int columnCount() const;
  std::string columnName(int column) const;
  bool isNull(int column) const;
  std::string text(int column) const;  // empty for NULL
  double number(int column) const;     // 0 for NULL
  std::optional<double> optionalNumber(int column) const;
  packet::Value value(int column) const;  // NULL, text or number as stored

 private:
  friend class Database;
  Statement(Database& owner, sqlite3_stmt* stmt);

  sqlite3* db_;
  sqlite3_stmt* stmt_ = nullptr;
  Database* owner_ = nullptr;  // takes the statement back when set
};

class Database {
 public:
  // Opens an existing file, or creates it when `create` is true. Enforces foreign keys, waits
  // up to `busyTimeoutMs` for another process's lock, and registers the PTBR collation (letter
  // case and Portuguese accents ignored) for ordering names.
  Database(const std::string& path, bool create, int busyTimeoutMs = 5000);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // Runs one or more statements without parameters (schema scripts, pragmas).
  void exec(const std::string& sql);
  // A statement ready to run: a finished one of the same text when there is one, else a new one.
  Statement prepare(std::string_view sql);
  // Rows changed by the last INSERT, UPDATE or DELETE.
  int changes() const;
  // Until cleared, a statement still running at `deadline` stops with DbError (SQLite's
  // interrupt), and waiting for another connection's lock ends there too.
  void setDeadline(std::optional<std::chrono::steady_clock::time_point> deadline);
  const std::string& path() const { return path_; }

 private:
  friend class Statement;
  // Keeps a finished statement for the next prepare() of its text, or finalises it when the
  // cache is full.
  void giveBack(sqlite3_stmt* stmt);

  static int onProgress(void* self);

  sqlite3* db_ = nullptr;
  std::string path_;
  int busyTimeoutMs_ = 0;
  std::optional<std::chrono::steady_clock::time_point> deadline_;
  // Finished statements by SQL text, at most kCachedStatements in all.
  static constexpr std::size_t kCachedStatements = 256;
  std::unordered_map<std::string, std::vector<sqlite3_stmt*>> idle_;
  std::size_t idleCount_ = 0;
};

class Transaction {
 public:
  explicit Transaction(Database& db);
  ~Transaction();
  Transaction(const Transaction&) = delete;
  Transaction& operator=(const Transaction&) = delete;

  void commit();

 private:
  Database& db_;
  bool open_ = true;
};

// Message for a failed SQLite call, in the operator's language.
std::string describeSqliteError(sqlite3* db, int code);

}  // namespace server
