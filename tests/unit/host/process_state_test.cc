// The process state of the host: one reset brings every part back to how a process starts.
#include "host/process_state.h"

#include <gtest/gtest.h>

#include "host/dtm_db_geral.h"
#include "host/lib00500.h"
#include "host/ui/application.h"
#include "host/ui/regional.h"
#include "tests/unit/host/host_test_support.h"

namespace host {
namespace {

// Answers the cost-type list in the server's place.
struct CostTypes : CallHook {
  std::optional<packet::CallResult> before(const TNetConnection&, const std::string&,
                                           const std::vector<packet::Arg>&) override {
    packet::Packet list;
    list.fields = {{"CDTIPOCUSTO", packet::FieldType::Text, 2},
                   {"NMTIPOCUSTO", packet::FieldType::Text, 50},
                   {"IDUTTPCUSTO", packet::FieldType::Text, 1}};
    list.rows = {{std::string("4"), std::string("Custo médio"), std::string("S")}};
    return packet::CallResult{true, {}, list};
  }
  void after(const TNetConnection&, const std::string&, const std::vector<packet::Arg>&,
             const packet::CallResult&) override {}
};

TEST(ProcessStateTest, ResetDestroysTheFormsAndGivesEveryPartItsStartValue) {
  const testing::TempSqlite database("CREATE TABLE T (A TEXT);");
  database.useAsLocalDatabase();
  CostTypes hook;
  auto* form = ui::application().createForm<ui::Form>("frmPrincipal");
  Showavi::ActiveShowAvi(form, 6, "Carregando...");
  Quendra::context().operador = "MARIA";
  Quendra::context().moduloAtiv = 36;
  TNetConnection::setSessionToken("sessao");
  TNetConnection::setSessionRenewer([] { return true; });
  TNetConnection::setCallHook(&hook);
  TNetConnection costs("rdmCustProd");
  ASSERT_EQ(Lib00500::ListaTipoCusto(costs, nullptr).size(), 1u);
  ASSERT_EQ(Lib00500::NumeroTipoCusto(0), 4);
  setReportEngineFactory([] { return std::make_unique<NoReportEngine>(); });
  ui::regional::setClockForTesting(ui::regional::encodeDate(2024, 1, 2));
  dtmDBGeral::adcGeral();
  ASSERT_NE(processState().localDatabase, nullptr);

  processState().reset();

  EXPECT_TRUE(ui::application().forms().empty());
  EXPECT_EQ(ui::application().findForm("frmPrincipal"), nullptr);
  EXPECT_FALSE(Showavi::state().active);
  EXPECT_EQ(Quendra::Operador(), "OPERADOR");
  EXPECT_EQ(Geral::ModuloAtiv(), 0);
  EXPECT_EQ(TNetConnection::sessionToken(), "");
  EXPECT_EQ(processState().localDatabase, nullptr);
  EXPECT_TRUE(Quendra::context().databasePath.empty());
  EXPECT_THROW(Lib00500::NumeroTipoCusto(0), std::out_of_range);
  EXPECT_FALSE(processState().reportEngines);
  EXPECT_NE(ui::regional::today(), ui::regional::encodeDate(2024, 1, 2));
  // No hook answers in the server's place any more: an unopened connection says so itself.
  EXPECT_EQ(costs.call("GetListaTipoCusto", {}).message,
            "A conexão com o servidor de aplicação (rdmCustProd) não está aberta.");
}

}  // namespace
}  // namespace host
