// What each engine implements behind storage::Database and storage::Statement. Only the
// storage library includes this header.
#pragma once

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "storage/database.h"

namespace storage {

class StatementBackend {
 public:
  virtual ~StatementBackend() = default;

  virtual void bindText(int index, std::string_view text) = 0;
  virtual void bindNumber(int index, double number) = 0;
  virtual void bindNull(int index) = 0;
  // The text stays where it is until the statement is reset or destroyed; an engine that
  // copies its parameters anyway binds it as any text.
  virtual void bindUnownedText(int index, std::string_view text) { bindText(index, text); }
  virtual bool step() = 0;
  virtual void reset() = 0;

  virtual int columnCount() const = 0;
  virtual std::string columnName(int column) const = 0;
  virtual std::string declaredType(int column) const = 0;
  virtual bool isNull(int column) const = 0;
  // Whether the value is stored as a number (not as text).
  virtual bool isNumber(int column) const = 0;
  // Valid until the statement steps, resets or goes.
  virtual std::string_view text(int column) const = 0;
  virtual double number(int column) const = 0;
};

class DatabaseBackend {
 public:
  virtual ~DatabaseBackend() = default;

  virtual Engine engine() const = 0;
  virtual void exec(const std::string& sql) = 0;
  virtual std::unique_ptr<StatementBackend> prepare(std::string_view sql) = 0;
  virtual int changes() const = 0;
  virtual void setDeadline(std::optional<std::chrono::steady_clock::time_point> deadline) = 0;
  virtual std::string nameOrder(std::string_view expression) const = 0;
  virtual void setPageCache(int /*kibibytes*/) {}
  virtual void begin() = 0;
  virtual void commit() = 0;
  virtual void rollback() = 0;
};

std::unique_ptr<DatabaseBackend> openSqlite(const std::string& path, const OpenOptions& options);
std::unique_ptr<DatabaseBackend> openPostgresql(const std::string& name,
                                                const OpenOptions& options);

// "Banco de dados" messages shared by both engines.
inline constexpr const char* kTimeoutMessage =
    "A operação excedeu o tempo limite do servidor de aplicação e foi desfeita; tente novamente.";
inline constexpr const char* kBusyMessage =
    "O banco de dados está ocupado por outra operação; tente novamente.";

}  // namespace storage
