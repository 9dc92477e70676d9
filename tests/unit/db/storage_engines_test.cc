// The PostgreSQL engine is loaded only when a PostgreSQL database is opened: a process that
// opens SQLite files alone never maps libpq.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "storage/database.h"

namespace {

bool mapped(const std::string& library) {
  std::ifstream maps("/proc/self/maps");
  std::string line;
  while (std::getline(maps, line)) {
    if (line.find(library) != std::string::npos)
      return true;
  }
  return false;
}

TEST(StorageEngines, SqliteAloneLoadsNoPostgresqlCode) {
  const auto path = std::filesystem::temp_directory_path() /
                    ("cps-engines-" + std::to_string(::getpid()) + ".db");
  {
    storage::Database db(path.string(), true);
    db.exec("CREATE TABLE T (A TEXT)");
    EXPECT_EQ(db.engine(), storage::Engine::Sqlite);
  }
  std::filesystem::remove(path);
  EXPECT_FALSE(mapped("libpq."));
  EXPECT_FALSE(mapped("libstorage_postgresql"));
}

TEST(StorageEngines, PostgresqlNameLoadsTheEngineAndReportsAnUnreachableServer) {
  try {
    storage::Database db("postgresql://127.0.0.1:1/nenhum?connect_timeout=2", false);
    FAIL() << "a server on port 1 answered";
  } catch (const storage::DbError& e) {
    EXPECT_NE(std::string(e.what()).find("Não foi possível conectar"), std::string::npos)
        << e.what();
  }
  EXPECT_TRUE(mapped("libstorage_postgresql"));
}

}  // namespace
