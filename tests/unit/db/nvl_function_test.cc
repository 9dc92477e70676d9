// NVL on the local connection: lookup texts in the Oracle dialect run on SQLite.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>

#include "host/db/database.h"
#include "host/db/sql_query.h"

namespace db {
namespace {

TEST(NvlFunctionTest, ANullOrEmptyTextTakesTheFallbackAsInTheOracleDialect) {
  const auto path =
      std::filesystem::temp_directory_path() / ("cps-nvl-" + std::to_string(::getpid()) + ".db");
  sqlite3* handle = nullptr;
  sqlite3_open_v2(path.c_str(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
  ASSERT_EQ(sqlite3_exec(handle,
                         "CREATE TABLE CLIENTE (CDCLIENTE TEXT, NRINSJURCLIE TEXT);"
                         "INSERT INTO CLIENTE VALUES ('1', '111'), ('2', '222'), ('3', '0');",
                         nullptr, nullptr, nullptr),
            SQLITE_OK);
  sqlite3_close(handle);
  {
    Database database(path.string());
    SqlQuery query("qryCliente", &database);
    query.setSql({"SELECT CDCLIENTE FROM CLIENTE",
                  "WHERE NRINSJURCLIE = NVL(:P_NRINSJURCLIE, NRINSJURCLIE)", "ORDER BY CDCLIENTE"});
    auto codes = [&](std::optional<std::string> value) {
      query.close();
      if (value)
        query.setParam("P_NRINSJURCLIE", *value);
      else
        query.paramByName("P_NRINSJURCLIE").clear();
      query.open();
      std::string out;
      for (query.first(); !query.eof(); query.next())
        out += query.fieldByName("CDCLIENTE").asString();
      return out;
    };
    EXPECT_EQ(codes(std::nullopt), "123");
    EXPECT_EQ(codes(""), "123");
    EXPECT_EQ(codes("222"), "2");
    EXPECT_EQ(codes("0"), "3");  // a zero is a value, not a missing one
    EXPECT_EQ(codes("999"), "");
  }
  std::filesystem::remove(path);
}

}  // namespace
}  // namespace db
