// Database: a connection to a local SQLite file, used by lookup queries.
//
// Opening never creates: a missing or unreadable file is a DataError, so a wrong path is
// reported instead of silently yielding an empty database. The connection knows NVL(value,
// fallback) of the Oracle dialect the lookup texts are written in (an empty text counts as null).
// The connection is closed when the object goes. Not copyable; queries keep a pointer to it and
// must not outlive it.
#pragma once

#include <string>

struct sqlite3;

namespace db {

class Database {
 public:
  enum class Mode { ReadWrite, ReadOnly };

  explicit Database(const std::string& path, Mode mode = Mode::ReadWrite);
  ~Database();
  Database(const Database&) = delete;
  Database& operator=(const Database&) = delete;

  const std::string& path() const { return path_; }
  sqlite3* handle() const { return handle_; }

 private:
  std::string path_;
  sqlite3* handle_ = nullptr;
};

}  // namespace db
