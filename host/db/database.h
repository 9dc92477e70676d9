// Database: the host's connection to the database its lookup queries read, an SQLite file or
// a PostgreSQL database (storage/database.h names both).
//
// Opening never creates: a missing or unreadable file, or a server that cannot be reached, is a
// DataError, so a wrong name is reported instead of silently yielding an empty database. On
// SQLite the connection knows NVL(value, fallback) of the dialect the lookup texts are written
// in (an empty text counts as null). The connection is closed when the object goes. Not
// copyable; queries keep a pointer to it and must not outlive it.
#pragma once

#include <memory>
#include <string>

#include "storage/database.h"

namespace db {

class Database {
 public:
  explicit Database(const std::string& name);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  // The name given: the file, or the PostgreSQL connection string or URI.
  const std::string& path() const { return path_; }
  storage::Engine engine() const { return connection_->engine(); }
  storage::Database& connection() { return *connection_; }

 private:
  std::string path_;
  std::unique_ptr<storage::Database> connection_;
};

}  // namespace db
