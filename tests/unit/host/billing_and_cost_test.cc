// Billing parameters of the billing types, the local database connection and the cost-type
// list.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "host/consiste.h"
#include "host/controlmenu.h"
#include "host/db/data_errors.h"
#include "host/dtm_db_geral.h"
#include "host/lib00500.h"
#include "host/net_connection.h"
#include "tests/unit/host/host_test_support.h"

namespace {

using Controlmenu::TParamControl;
using Controlmenu::TParamFat;

TEST(TParamFatTest, LoadsNamedValuesThatGetAsStringReads) {
  TParamFat param("001");
  param.Load("MINEFECONSID=2;MINEFECORRIG=1");
  EXPECT_EQ(param.GetAsString(Controlmenu::kMinEfeConsid), "2");
  EXPECT_EQ(param.GetAsString("minefecorrig"), "1");
  EXPECT_EQ(param.GetAsString("OUTRO"), "");

  param.Load(" MINEFECORRIG = 3 ;; OUTRO= ;");
  EXPECT_EQ(param.GetAsString("MINEFECONSID"), "");
  EXPECT_EQ(param.GetAsString("MINEFECORRIG"), "3");
  EXPECT_EQ(param.values().size(), 2u);
}

TEST(TParamFatTest, AMalformedTextIsRefusedAndKeepsThePreviousValues) {
  TParamFat param("002");
  param.Load("MINEFECONSID=1;MINEFECORRIG=2");
  EXPECT_THROW(param.Load("MINEFECONSID=5;MINEFECORRIG"), std::invalid_argument);
  EXPECT_THROW(param.Load("=5"), std::invalid_argument);
  EXPECT_EQ(param.GetAsString("MINEFECONSID"), "1");
  EXPECT_EQ(param.GetAsString("MINEFECORRIG"), "2");
}

TEST(TParamControlTest, OnlyRegisteredBillingTypesHaveAParameterObject) {
  host::testing::TempSqlite db(
      "CREATE TABLE TIPOFATUR (CDTIPOFATUR TEXT PRIMARY KEY, NMTIPOFATUR TEXT);"
      "INSERT INTO TIPOFATUR VALUES ('002', 'Diário'), ('001', 'Período');");
  db.useAsLocalDatabase();

  TParamControl control;
  EXPECT_EQ(control.TiposFatur("001"), nullptr);
  control.StartParamFat();
  ASSERT_NE(control.TiposFatur("001"), nullptr);
  ASSERT_NE(control.TiposFatur("002"), nullptr);
  EXPECT_EQ(control.TiposFatur("003"), nullptr);
  EXPECT_EQ(control.TiposFatur(""), nullptr);

  TParamFat* daily = control.TiposFatur(" 002 ");
  daily->Load("MINEFECONSID=1;MINEFECORRIG=2");
  control.StartParamFat();
  EXPECT_EQ(control.TiposFatur("002"), daily);
  EXPECT_EQ(daily->GetAsString("MINEFECORRIG"), "2");
}

TEST(DtmDBGeralTest, RefusesAMissingOrChangedDatabaseClearly) {
  dtmDBGeral::reset();
  Quendra::context().databasePath.clear();
  try {
    dtmDBGeral::adcGeral();
    FAIL() << "no path must be refused";
  } catch (const db::DataError& e) {
    EXPECT_STREQ(e.what(), "O banco de dados local não foi configurado pela aplicação.");
  }
  Quendra::context().databasePath = "/nao/existe/cps.db";
  try {
    dtmDBGeral::adcGeral();
    FAIL() << "a missing file must be refused";
  } catch (const db::DataError& e) {
    EXPECT_STREQ(e.what(), "O banco de dados local '/nao/existe/cps.db' não foi encontrado.");
  }
  EXPECT_FALSE(std::filesystem::exists("/nao/existe/cps.db"));

  host::testing::TempSqlite db("CREATE TABLE FILIAL (CDFILIAL TEXT);");
  db.useAsLocalDatabase();
  db::Database& first = dtmDBGeral::adcGeral();
  EXPECT_EQ(&dtmDBGeral::adcGeral(), &first);
  Quendra::context().databasePath = db.path() + "-outro";
  EXPECT_THROW(dtmDBGeral::adcGeral(), db::DataError);
}

// Answers GetListaTipoCusto in the server's place.
class CostTypeServer : public host::CallHook {
 public:
  CostTypeServer() { host::TNetConnection::setCallHook(this); }
  ~CostTypeServer() override { host::TNetConnection::setCallHook(nullptr); }

  std::optional<packet::CallResult> before(const host::TNetConnection& connection,
                                           const std::string& method,
                                           const std::vector<packet::Arg>& args) override {
    calls.push_back(connection.moduleName() + "/" + method + "/" + std::to_string(args.size()));
    return answer;
  }
  void after(const host::TNetConnection&, const std::string&, const std::vector<packet::Arg>&,
             const packet::CallResult&) override {}

  packet::CallResult answer;
  std::vector<std::string> calls;
};

packet::Packet costTypes(std::vector<std::array<const char*, 3>> rows) {
  packet::Packet list;
  list.fields = {{"CDTIPOCUSTO", packet::FieldType::Text, 2},
                 {"NMTIPOCUSTO", packet::FieldType::Text, 50},
                 {"IDUTTPCUSTO", packet::FieldType::Text, 1}};
  for (const auto& [code, name, inUse] : rows)
    list.rows.push_back({std::string(code), std::string(name), std::string(inUse)});
  return list;
}

TEST(ListaTipoCustoTest, ListsTheCostTypesInUseAndMapsIndexesToTheirNumbers) {
  CostTypeServer server;
  server.answer = {true, "",
                   costTypes({{"01", "Custo médio", "S"},
                              {"02", "Último custo de compra", "S"},
                              {"03", "Custo de reposição", "S"},
                              {"04", "Custo padrão", "N"},
                              {"XX", "Código não numérico", "S"},
                              {"05", "Custo contábil", "S"}})};
  host::TNetConnection netCustProd("rdmCustProd");
  const auto names = Lib00500::ListaTipoCusto(netCustProd, nullptr);
  EXPECT_EQ(server.calls, std::vector<std::string>{"rdmCustProd/GetListaTipoCusto/0"});
  EXPECT_EQ(names, (std::vector<std::string>{"Custo médio", "Último custo de compra",
                                             "Custo de reposição", "Custo contábil"}));
  EXPECT_EQ(Lib00500::NumeroTipoCusto(0), 1);
  EXPECT_EQ(Lib00500::NumeroTipoCusto(2), 3);
  // The stored number, adjusted to two characters, is the server's code of the same name.
  EXPECT_EQ(Consiste::Ajusta(std::to_string(Lib00500::NumeroTipoCusto(3)), 2), "05");
  EXPECT_THROW(Lib00500::NumeroTipoCusto(4), std::out_of_range);
  EXPECT_THROW(Lib00500::NumeroTipoCusto(-1), std::out_of_range);
}

TEST(ListaTipoCustoTest, AServerFailureRaisesAndKeepsThePreviousList) {
  CostTypeServer server;
  host::TNetConnection netCustProd("rdmCustProd");
  server.answer = {true, "", costTypes({{"02", "Último custo de compra", "S"}})};
  Lib00500::ListaTipoCusto(netCustProd, nullptr);
  server.answer = {false, "Banco de dados indisponível.", std::nullopt};
  EXPECT_THROW(Lib00500::ListaTipoCusto(netCustProd, nullptr), Consiste::ServerError);
  EXPECT_EQ(Lib00500::NumeroTipoCusto(0), 2);

  packet::Packet withoutFlag = costTypes({});
  withoutFlag.fields.pop_back();
  server.answer = {true, "", withoutFlag};
  EXPECT_THROW(Lib00500::ListaTipoCusto(netCustProd, nullptr), std::runtime_error);
  EXPECT_EQ(Lib00500::NumeroTipoCusto(0), 2);
}

}  // namespace
