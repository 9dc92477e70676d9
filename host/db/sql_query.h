// SqlQuery: a read-only data set filled by an SQL SELECT on the host's Database.
//
// The SQL is kept line by line exactly as given. A query may keep a text of its own for an
// engine (setDialectSql) beside its default text; it runs the text of the engine its database
// is on. Parameters are written ":NAME" in the SQL
// (one name may appear several times and is one parameter); each is bound as a TEXT value (or
// NULL when never set) when the query opens, never spliced into the SQL. Fields are defined
// like a data set's (addField) and matched to the result columns by name, case-insensitive;
// a defined field missing from the result is a DataError. A query with no fields defined
// takes one per result column at its first open. open() reads every row into memory, so the
// query then behaves as a read-only DataSet and can feed a DataSource.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include <map>

#include "host/db/data_set.h"
#include "storage/database.h"

namespace db {

class Database;

class Param {
 public:
  explicit Param(std::string name) : name_(std::move(name)) {}
  const std::string& name() const { return name_; }
  bool isNull() const { return !value_.has_value(); }
  std::string asString() const { return value_.value_or(std::string()); }
  void setAsString(std::string value) { value_ = std::move(value); }
  void clear() { value_.reset(); }

 private:
  std::string name_;
  std::optional<std::string> value_;
};

class SqlQuery : public DataSet {
 public:
  explicit SqlQuery(std::string name = {}, Database* database = nullptr);

  Database* database() const { return database_; }
  void setDatabase(Database* database) { database_ = database; }

  const std::vector<std::string>& sql() const { return sql_; }
  // Replaces the SQL (the query must be closed) and re-reads its parameter names; values of
  // parameters that keep their name are kept.
  void setSql(std::vector<std::string> lines);
  // The text for one engine, used instead of the default one there (the query must be closed).
  // Its parameters are those of the default text, by name.
  void setDialectSql(storage::Engine engine, std::vector<std::string> lines);
  // The text the query runs on that engine.
  const std::vector<std::string>& sqlFor(storage::Engine engine) const;

  const std::vector<Param>& params() const { return params_; }
  // Case-insensitive; throws DataError for an unknown name.
  Param& paramByName(std::string_view name);
  void setParam(std::string_view name, std::string value) {
    paramByName(name).setAsString(std::move(value));
  }

  // Runs the SQL with its parameters and loads every row; does nothing when already open.
  // A database error throws DataError with the database's message.
  void open();

 private:
  void readParams();

  std::vector<std::string> sql_;
  std::map<storage::Engine, std::vector<std::string>> dialectSql_;
  std::vector<Param> params_;
  Database* database_;
};

// Names of the ":NAME" parameters of an SQL text, in order of first appearance, each once;
// quoted texts, quoted names and comments are skipped.
std::vector<std::string> sqlParamNames(std::string_view sql);

}  // namespace db
