// The lookup queries against a SQLite file with the application's schema, through the host's
// local database connection.
#include "data/lookup_queries.h"

#include <gtest/gtest.h>
#include <sqlite3.h>
#include <unistd.h>

#include <filesystem>

#include "data/clientes_servico_data.h"
#include "host/dtm_db_geral.h"
#include "host/quendra.h"
#include "server/database_setup.h"

namespace data {
namespace {

class LookupQueriesTest : public ::testing::Test {
 protected:
  LookupQueriesTest() {
    directory_ = std::filesystem::temp_directory_path() /
                 ("cps-data-" + std::to_string(::getpid()) + "-" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(directory_);
    std::filesystem::create_directories(directory_);
    const std::string path = (directory_ / "cps.db").string();
    server::createDatabase(path, false);
    sqlite3* handle = nullptr;
    sqlite3_open_v2(path.c_str(), &handle, SQLITE_OPEN_READWRITE, nullptr);
    const char* rows =
        "INSERT INTO FILIAL VALUES ('0003', 'Rio de Janeiro'), ('0001', 'Matriz'),"
        " ('0002', 'Campinas');"
        "INSERT INTO SERVICO VALUES ('0002', '00002', 'Portaria'), ('0001', '00002', 'Vigia'),"
        " ('0001', '00001', 'Limpeza'), ('0002', '00007', 'Copeiragem');"
        "INSERT INTO CLIENTE VALUES ('100015', '28059234218', 'F', 'Beatriz Teixeira', 'Bia'),"
        " ('100021', '97114364000215', 'J', 'Cedro Comércio Ltda', 'Cedro');"
        // The product whose code is 1.01.002 has another tree code: lookups by tree code must
        // not find it under its product code.
        "INSERT INTO PRODUTO VALUES ('000001', 'Limpeza', '1', '1'),"
        " ('000002', 'Químicos', '1.01', '2'), ('000004', 'Desinfetante', '1.01.004', '3'),"
        " ('000003', 'Detergente', '1.01.001', '3'), ('1.01.002', 'Cera', '3.01.001', '3');";
    char* error = nullptr;
    EXPECT_EQ(sqlite3_exec(handle, rows, nullptr, nullptr, &error), SQLITE_OK)
        << (error != nullptr ? error : "");
    sqlite3_free(error);
    sqlite3_close(handle);
    Quendra::context().databasePath = path;
    dtmDBGeral::reset();
    form_ = std::make_unique<ui::Form>("frmClientesServico");
    data_ = std::make_unique<ClientesServicoData>(*form_);
  }

  ~LookupQueriesTest() override {
    data_.reset();
    form_.reset();
    dtmDBGeral::reset();
    Quendra::context().databasePath.clear();
    std::filesystem::remove_all(directory_);
  }

  // Closes, sets the parameters, opens, and lists `field` of every row.
  static std::string run(db::SqlQuery& query,
                         std::vector<std::pair<const char*, const char*>> params,
                         const char* field) {
    query.close();
    for (const auto& [name, value] : params)
      query.setParam(name, value);
    query.open();
    std::string out;
    for (query.first(); !query.eof(); query.next())
      out += query.fieldByName(field).asString() + " ";
    return out;
  }

  ClientesServicoData& data() { return *data_; }

 private:
  std::filesystem::path directory_;
  std::unique_ptr<ui::Form> form_;
  std::unique_ptr<ClientesServicoData> data_;
};

TEST_F(LookupQueriesTest, QueriesKeepTheirTextLineByLine) {
  EXPECT_EQ(data().qryFilial->sql()[6], "   (CDFILIAL = :P_CDFILIAL OR :P_TCDFILIAL = 'T')");
  EXPECT_EQ(data().qryServico->sql()[7], "   (CDFILIAL = :P_CDFILIAL)  AND");
  EXPECT_EQ(data().qryServico->sql().size(), 12u);
  EXPECT_EQ(data().qryAuxClie->sql()[0],
            "SELECT NMRAZSOCCLIE, NRINSJURCLIE, NMFANTCLIE,   IDTPIJURCLIE");
  EXPECT_EQ(data().qryAuxClie->sql()[2], "WHERE (CDCLIENTE  = :P_CDCLIENTE)");
  EXPECT_EQ(
      data().qryProduto->sql(),
      (std::vector<std::string>{"SELECT CDPRODUTO, NMPRODUTO, CDARVPROD", "FROM PRODUTO",
                                "WHERE (CDNVPRODUTO = :P_NIVEL)", "ORDER BY CDARVPROD", "", " "}));
  EXPECT_EQ(data().qryValidProd->sql().back(), " ");
  EXPECT_EQ(data().qryValidProd->sql().size(), 4u);
  EXPECT_EQ(data().qryServico->params().size(), 3u);
  EXPECT_EQ(data().qryFilial->fieldByName("CDFILIAL").editMask(), ">aaaa;0; ");
  EXPECT_FALSE(data().qryServico->fieldByName("CDFILIAL").visible());
  EXPECT_EQ(data().qryServico->fieldByName("CDSERVFILI").displayWidth(), 5);
  EXPECT_FALSE(data().qryProduto->fieldByName("CDPRODUTO").visible());
  EXPECT_EQ(data().qryProduto->fieldByName("NMPRODUTO").displayLabel(), "Descrição");
}

TEST_F(LookupQueriesTest, BranchesAllWithTOrOneByCode) {
  auto& q = *data().qryFilial;
  EXPECT_EQ(run(q, {{"P_CDFILIAL", ""}, {"P_TCDFILIAL", "T"}}, "CDFILIAL"), "0001 0002 0003 ");
  EXPECT_EQ(run(q, {{"P_CDFILIAL", "0003"}, {"P_TCDFILIAL", "T"}}, "CDFILIAL"), "0001 0002 0003 ");
  EXPECT_EQ(run(q, {{"P_CDFILIAL", "0002"}, {"P_TCDFILIAL", ""}}, "NMFILIAL"), "Campinas ");
  EXPECT_EQ(run(q, {{"P_CDFILIAL", "9999"}, {"P_TCDFILIAL", ""}}, "CDFILIAL"), "");
  EXPECT_TRUE(q.isEmpty());
}

TEST_F(LookupQueriesTest, ServicesNeverComeFromAnotherBranch) {
  auto& q = *data().qryServico;
  EXPECT_EQ(
      run(q, {{"P_CDFILIAL", "0002"}, {"P_CDSERVICO", ""}, {"P_TCDSERVICO", "T"}}, "CDSERVFILI"),
      "00002 00007 ");
  EXPECT_EQ(
      run(q, {{"P_CDFILIAL", "0001"}, {"P_CDSERVICO", "00007"}, {"P_TCDSERVICO", "T"}}, "CDFILIAL"),
      "0001 0001 ");
  EXPECT_EQ(
      run(q, {{"P_CDFILIAL", "0001"}, {"P_CDSERVICO", "00002"}, {"P_TCDSERVICO", ""}}, "NMSERVICO"),
      "Vigia ");
  EXPECT_EQ(run(q, {{"P_CDFILIAL", "0001"}, {"P_CDSERVICO", "00007"}, {"P_TCDSERVICO", ""}},
                "CDSERVFILI"),
            "");
  EXPECT_EQ(run(q, {{"P_CDFILIAL", ""}, {"P_CDSERVICO", ""}, {"P_TCDSERVICO", "T"}}, "CDSERVFILI"),
            "");
}

TEST_F(LookupQueriesTest, OneClientByCode) {
  auto& q = *data().qryAuxClie;
  EXPECT_EQ(run(q, {{"P_CDCLIENTE", "100021"}}, "NMRAZSOCCLIE"), "Cedro Comércio Ltda ");
  EXPECT_EQ(q.fieldByName("NRINSJURCLIE").asString(), "97114364000215");
  EXPECT_EQ(q.fieldByName("NMFANTCLIE").asString(), "Cedro");
  EXPECT_EQ(q.fieldByName("IDTPIJURCLIE").asString(), "J");
  EXPECT_EQ(run(q, {{"P_CDCLIENTE", "999999"}}, "NMRAZSOCCLIE"), "");
  // A code is bound as a value, never read as SQL.
  EXPECT_EQ(run(q, {{"P_CDCLIENTE", "' OR '1'='1"}}, "NMRAZSOCCLIE"), "");
}

TEST_F(LookupQueriesTest, ProductsOfALevelAndOneProductByItsTreeCode) {
  const int levels = Quendra::DBPictObj(Quendra::kPictProduto).levels();
  EXPECT_EQ(run(*data().qryProduto, {{"P_NIVEL", std::to_string(levels).c_str()}}, "CDARVPROD"),
            "1.01.001 1.01.004 3.01.001 ");
  EXPECT_EQ(run(*data().qryProduto, {{"P_NIVEL", "2"}}, "NMPRODUTO"), "Químicos ");

  auto& valid = *data().qryValidProd;
  EXPECT_EQ(run(valid, {{"P_CDPRODUTO", "1.01.001"}}, "CDPRODUTO"), "000003 ");
  EXPECT_EQ(valid.fieldByName("NMPRODUTO").asString(), "Detergente");
  EXPECT_EQ(run(valid, {{"P_CDPRODUTO", "000003"}}, "CDPRODUTO"), "");
  EXPECT_EQ(run(valid, {{"P_CDPRODUTO", "1.01.002"}}, "CDPRODUTO"), "");
  EXPECT_EQ(run(valid, {{"P_CDPRODUTO", "3.01.001"}}, "CDPRODUTO"), "1.01.002 ");
}

}  // namespace
}  // namespace data
