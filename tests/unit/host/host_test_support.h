// Shared support of the host-service tests: a temporary SQLite file made from a script, and
// the working context pointed at it.
#pragma once

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "host/dtm_db_geral.h"
#include "host/quendra.h"

namespace host::testing {

// A database file created from `script`, removed (with the host's connection to it) on
// destruction.
class TempSqlite {
 public:
  explicit TempSqlite(const std::string& script) {
    const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = (std::filesystem::temp_directory_path() /
             ("cps-host-" + std::to_string(::getpid()) + "-" + test->test_suite_name() + "-" +
              test->name() + ".db"))
                .string();
    std::filesystem::remove(path_);
    sqlite3* handle = nullptr;
    sqlite3_open_v2(path_.c_str(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(handle, script.c_str(), nullptr, nullptr, &error), SQLITE_OK)
        << (error != nullptr ? error : "");
    sqlite3_free(error);
    sqlite3_close(handle);
  }
  ~TempSqlite() {
    dtmDBGeral::reset();
    Quendra::context().databasePath.clear();
    std::filesystem::remove(path_);
  }
  TempSqlite(const TempSqlite&) = delete;
  TempSqlite& operator=(const TempSqlite&) = delete;

  const std::string& path() const { return path_; }
  // Makes this file the host's local database.
  void useAsLocalDatabase() const {
    dtmDBGeral::reset();
    Quendra::context().databasePath = path_;
  }

 private:
  std::string path_;
};

}  // namespace host::testing
