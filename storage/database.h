// The SQL storage of both tiers: one interface over an embedded SQLite file or a PostgreSQL
// server, chosen by the database's name.
//
// A name that is a PostgreSQL connection string or URI ("postgresql://user@host/db",
// "host=... dbname=...") opens a PostgreSQL connection; any other name is a SQLite file.
// `Database` owns one connection, `Statement` one prepared statement whose parameters are bound
// by position ("?" or "?N", as SQLite writes them, on either engine), and `Transaction` a write
// transaction that rolls back unless committed, so a failure anywhere inside a write leaves
// nothing applied. Statements prepared by a Database are kept by their SQL text and taken
// again by the next prepare() of the same text. Errors surface as `DbError` with a Portuguese
// message that can go to the operator unchanged, and tell whether running the transaction
// again may succeed (a serialization failure or a deadlock). Column names come back in upper
// case, as the schema writes them, whatever the engine folds them to. Not thread-safe: one
// connection serves one caller at a time.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

#include "packet/value.h"

namespace storage {

enum class Engine { Sqlite, Postgresql };

// What kind of failure a DbError reports.
enum class Failure {
  Other,
  Busy,         // another connection holds what this one needs
  Timeout,      // the statement ran past its deadline and was stopped
  Conflict,     // the engine aborted the transaction to keep concurrent ones serializable
  Constraint,   // an integrity rule refused the write
  Unavailable,  // the database cannot be reached or opened
};

class DbError : public std::runtime_error {
 public:
  explicit DbError(const std::string& message, Failure failure = Failure::Other)
      : std::runtime_error(message), failure_(failure) {}
  Failure failure() const { return failure_; }
  // Running the whole transaction again may succeed.
  bool retryable() const { return failure_ == Failure::Conflict; }

 private:
  Failure failure_;
};

// True for a PostgreSQL connection URI or a key=value connection string.
bool isPostgresqlName(std::string_view name);
// The name as it may be shown or logged: a PostgreSQL name without its password.
std::string displayName(std::string_view name);
// The PostgreSQL name of another database on the same server, with the same settings.
std::string withDatabase(std::string_view name, std::string_view database);
// Copies the live SQLite database `source` into the file `target` (existing, empty or new) as
// one consistent picture, while other connections go on writing. Throws DbError.
void backupSqlite(const std::string& source, const std::string& target);

struct OpenOptions {
  bool create = false;    // SQLite: create the file when it does not exist
  bool readOnly = false;  // the connection refuses every write
  // How long a statement waits for another connection's lock (SQLite), at most.
  int busyTimeoutMs = 5000;
};

class StatementBackend;
class DatabaseBackend;

class Statement {
 public:
  explicit Statement(std::unique_ptr<StatementBackend> backend);
  ~Statement();
  Statement(Statement&& other) noexcept;
  Statement(const Statement&) = delete;
  Statement& operator=(const Statement&) = delete;
  Statement& operator=(Statement&&) = delete;

  // Parameters are 1-based.
  Statement& bind(int index, const packet::Value& value);
  Statement& bind(int index, std::string_view text);
  Statement& bind(int index, const std::string& text) {
    return bind(index, std::string_view(text));
  }
  Statement& bind(int index, const char* text) { return bind(index, std::string_view(text)); }
  // Binds the text where it stands, without a copy: it must stay unchanged until the statement
  // is reset or destroyed. For statements that bind many texts their caller keeps anyway.
  Statement& bindUnowned(int index, std::string_view text);
  Statement& bind(int index, double number);
  Statement& bindNull(int index);

  // Runs the statement on the first call and advances to the next row; false when there is
  // none.
  bool step();
  // Runs a statement that returns no rows.
  void run();
  // Makes the statement ready to run again, its parameters unbound (null).
  void reset();

  int columnCount() const;
  std::string columnName(int column) const;  // upper case
  // The column's declared type as the engine names it ("REAL", "TEXT", "float8"...), or empty.
  std::string declaredType(int column) const;
  bool isNull(int column) const;
  std::string text(int column) const;  // empty for NULL
  // The same without a copy, valid until the statement steps, resets or goes.
  std::string_view textView(int column) const;
  double number(int column) const;  // 0 for NULL
  std::optional<double> optionalNumber(int column) const;
  packet::Value value(int column) const;  // NULL, text or number as stored

 private:
  std::unique_ptr<StatementBackend> backend_;
};

class Database {
 public:
  // Opens the database `name` names (see above). Throws DbError.
  Database(const std::string& name, const OpenOptions& options);
  explicit Database(const std::string& name, bool create = false);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  Engine engine() const;
  // The file, or the PostgreSQL name without its password: safe to show.
  const std::string& name() const { return displayName_; }

  // Runs one or more statements without parameters (schema scripts, settings).
  void exec(const std::string& sql);
  // A statement ready to run: a finished one of the same text when there is one, else a new one.
  Statement prepare(std::string_view sql);
  // Rows changed by the last INSERT, UPDATE or DELETE.
  int changes() const;
  // Until cleared, a statement still running at `deadline` stops with DbError (Timeout), and
  // waiting for another connection's lock ends there too.
  void setDeadline(std::optional<std::chrono::steady_clock::time_point> deadline);

  // "ORDER BY" terms that order the names of `expression` as the client tier does (letter case
  // and Portuguese accents ignored, the exact text breaking ties): the same order on both
  // engines.
  std::string nameOrder(std::string_view expression) const;

  // How much the connection may keep of the database's pages in memory, in KiB; 0 gives the
  // engine's own setting back. A write of many rows that does not fit spills and reads its pages
  // again. PostgreSQL keeps its pages in the server's shared buffers, so there it does nothing.
  void setPageCache(int kibibytes);

  // The transaction a Transaction opens: SQLite's BEGIN IMMEDIATE (writers queue for the file),
  // PostgreSQL's SERIALIZABLE isolation.
  void begin();
  void commit();
  void rollback();

 private:
  std::unique_ptr<DatabaseBackend> backend_;
  std::string displayName_;
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

}  // namespace storage
