// Lookup queries against a temporary SQLite file.
#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "host/db/data_source.h"
#include "host/db/database.h"
#include "host/db/sql_query.h"

namespace db {
namespace {

// A fresh database file with a FILIAL and a SERVICO table, removed afterwards.
class SqlQueryTest : public ::testing::Test {
 protected:
  SqlQueryTest() {
    path = std::filesystem::temp_directory_path() /
           ("cps-query-" + std::to_string(::getpid()) + "-" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".db");
    sqlite3* handle = nullptr;
    sqlite3_open_v2(path.c_str(), &handle, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    const char* script =
        "CREATE TABLE FILIAL (CDFILIAL TEXT, NMFILIAL TEXT);"
        "INSERT INTO FILIAL VALUES ('0002', 'Centro'), ('0001', 'Matriz'), ('0003', 'Sul');"
        "CREATE TABLE SERVICO (CDFILIAL TEXT, CDSERVFILI TEXT, NMSERVICO TEXT, VRBASE REAL,"
        " DTINICIO DATE);"
        "INSERT INTO SERVICO VALUES ('0001', 'LIMP', 'Limpeza', 12.5, '2024-03-01'),"
        " ('0002', 'LIMP', 'Limpeza centro', 7, NULL);";
    EXPECT_EQ(sqlite3_exec(handle, script, nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(handle);
    database = std::make_unique<Database>(path.string());
  }

  ~SqlQueryTest() override {
    database.reset();
    std::filesystem::remove(path);
  }

  // qryFilial as the forms define it.
  void defineBranchQuery(SqlQuery& q) {
    q.setSql({"SELECT", "   CDFILIAL,", "   NMFILIAL", "FROM", "   FILIAL", "WHERE",
              "   (CDFILIAL = :P_CDFILIAL OR :P_TCDFILIAL = 'T')", "ORDER BY", "   CDFILIAL"});
    q.addField("CDFILIAL", packet::FieldType::Text, 4).setRequired(true);
    q.addField("NMFILIAL", packet::FieldType::Text, 30);
  }

  std::string names(SqlQuery& q) {
    std::string out;
    for (q.first(); !q.eof(); q.next())
      out += q.fieldByName("NMFILIAL").asString() + ";";
    return out;
  }

  std::filesystem::path path;
  std::unique_ptr<Database> database;
};

TEST_F(SqlQueryTest, RepeatedParameterIsOneBoundTextParameter) {
  SqlQuery q("qryFilial", database.get());
  defineBranchQuery(q);
  ASSERT_EQ(q.params().size(), 2u);
  EXPECT_EQ(q.params()[0].name(), "P_CDFILIAL");

  q.setParam("P_CDFILIAL", "");
  q.paramByName("p_tcdfilial").setAsString("T");
  q.open();
  EXPECT_EQ(names(q), "Matriz;Centro;Sul;");

  q.close();
  q.setParam("P_CDFILIAL", "0003");
  q.setParam("P_TCDFILIAL", "");
  q.open();
  EXPECT_EQ(names(q), "Sul;");

  q.close();
  q.setParam("P_CDFILIAL", "9999' OR '1'='1");  // bound, never spliced into the SQL
  q.open();
  EXPECT_TRUE(q.isEmpty());
  EXPECT_THROW(q.paramByName("P_NADA"), DataError);
}

TEST_F(SqlQueryTest, SqlIsKeptLineByLineAndQueryServesADataSource) {
  SqlQuery q("qryServico", database.get());
  q.setSql({"SELECT CDSERVFILI, NMSERVICO, VRBASE, DTINICIO", "FROM SERVICO",
            "WHERE (CDFILIAL = :P_CDFILIAL)", "", " "});
  EXPECT_EQ(q.sql().back(), " ");
  EXPECT_EQ(q.sql().size(), 5u);
  q.addField("CDSERVFILI", packet::FieldType::Text, 5);
  q.addField("VRBASE", packet::FieldType::Double);
  q.addField("DTINICIO", packet::FieldType::DateTime);
  DataSource source("dtsServico", &q);
  q.setParam("P_CDFILIAL", "0001");
  q.open();
  EXPECT_EQ(source.state(), DataSetState::Browse);
  EXPECT_EQ(q.fieldByName("CDSERVFILI").asString(), "LIMP");
  EXPECT_DOUBLE_EQ(q.fieldByName("VRBASE").asFloat(), 12.5);
  EXPECT_EQ(q.fieldByName("DTINICIO").text(), "01/03/2024");
  EXPECT_THROW(q.edit(), DataError);
  q.open();  // already open: nothing happens
  EXPECT_EQ(q.recordCount(), 1);
}

TEST_F(SqlQueryTest, QueryWithoutFieldsTakesTheResultColumns) {
  SqlQuery q("qry", database.get());
  q.setSql({"SELECT NMSERVICO, VRBASE FROM SERVICO ORDER BY VRBASE"});
  q.open();
  ASSERT_EQ(q.fieldCount(), 2);
  EXPECT_EQ(q.field(1).type(), packet::FieldType::Double);
  EXPECT_EQ(q.fieldByName("NMSERVICO").asString(), "Limpeza centro");
}

TEST_F(SqlQueryTest, ErrorsAreReportedAsDataErrors) {
  SqlQuery q("qry", database.get());
  q.setSql({"SELECT CDFILIAL FROM FILIAL"});
  q.addField("NMFILIAL", packet::FieldType::Text, 30);
  EXPECT_THROW(q.open(), DataError);  // defined field missing from the result
  EXPECT_FALSE(q.active());

  SqlQuery bad("bad", database.get());
  bad.setSql({"SELEC nada"});
  EXPECT_THROW(bad.open(), DataError);

  EXPECT_THROW(Database((path.parent_path() / "cps-missing-file.db").string()), DataError);
  EXPECT_FALSE(std::filesystem::exists(path.parent_path() / "cps-missing-file.db"));
}

TEST(SqlParamNamesTest, SkipsQuotedTextsCommentsAndCasts) {
  EXPECT_EQ(sqlParamNames("SELECT ':A', \":B\" -- :C\n/* :D */ FROM T WHERE X = :E AND Y::int"
                          " = :e OR Z = :F_1"),
            (std::vector<std::string>{"E", "F_1"}));
}

}  // namespace
}  // namespace db
