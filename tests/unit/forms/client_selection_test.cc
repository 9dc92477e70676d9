// Errors inside the two ways of moving clients into a service: what stays bound, what stays in
// the lists, and the unit flags afterwards.
#include <stdexcept>

#include "tests/unit/forms/main_form_fixture.h"

namespace {

using forms_test::MainFormTest;
using forms_test::textRows;

class ClientSelectionTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    server.answer("GetClientesFilial",
                  textRows({"CDCLIENTE", "NRINSJURCLIE", "IDTPIJURCLIE", "NMRAZSOCCLIE"},
                           {{"100034", "32089294000247", "J", "Academia Anhangabaú Fitness Ltda"},
                            {"100050", "73022313000386", "J", "Bandeirantes Comércio Ltda"},
                            {"100015", "28059234218", "F", "Beatriz Vitória Conceição Teixeira"},
                            {"100021", "97114364000215", "J", "Cedro Comércio de Alimentos Ltda"},
                            {"100041", "83802952000156", "J", "Vila Mariana Imóveis Ltda"}}));
    leaveFilter("0002", "00009");
    ASSERT_TRUE(form->lsbPossiveis->focused());
    ASSERT_EQ(form->lsbPossiveis->count(), 5);
  }

  // The post checks refuse the row of one client.
  void refusePostOf(const std::string& client) {
    auto rules = form->cdsServClie->beforePost;
    form->cdsServClie->beforePost = [rules, client](db::DataSet& dataSet) {
      if (dataSet.fieldByName("CDCLIENTE").asString() == client)
        throw std::runtime_error("Cliente recusado.");
      if (rules)
        rules(dataSet);
    };
  }

  void click(ui::Control* button) {
    ui::application().dispatch([&] { ui::application().click(*button); });
  }

  // The clients inserted by each save, in order.
  std::vector<std::vector<std::string>> savedClients() const {
    std::vector<std::vector<std::string>> saves;
    for (const auto& args : server.callsOf("UpdServClie")) {
      const auto& delta = std::get<packet::Delta>(args.at(0));
      const int code = delta.fieldIndex("CDCLIENTE");
      std::vector<std::string> clients;
      for (const auto& change : delta.changes) {
        EXPECT_EQ(change.kind, packet::ChangeKind::Insert);
        clients.push_back(std::get<std::string>(change.newValues.at(code)));
      }
      saves.push_back(clients);
    }
    return saves;
  }
};

TEST_F(ClientSelectionTest, AllClientsFailingAtTheThirdSaveTheFirstTwoAndKeepTheRestListed) {
  refusePostOf("100015");
  confirmValidity("01/07/2026", "1000");
  click(form->sbtTodos);

  EXPECT_EQ(runner->messages, std::vector<std::string>{"error: Cliente recusado."});
  EXPECT_EQ(savedClients(), (std::vector<std::vector<std::string>>{{"100034", "100050"}}));
  EXPECT_EQ(form->lsbCdPossiveis->items(),
            (std::vector<std::string>{"100015", "100021", "100041"}));
  ASSERT_EQ(form->lsbPossiveis->count(), 3);
  EXPECT_EQ(form->lsbPossiveis->item(0), "280.592.342-18 - Beatriz Vitória Conceição Teixeira");
  EXPECT_EQ(form->cdsServClie->state(), db::DataSetState::Browse);
  EXPECT_EQ(form->cdsServClie->changeCount(), 0);
  EXPECT_TRUE(Cli_zev00600::unit().boData);
  EXPECT_TRUE(Cli_zev00600::unit().boInclui);
  EXPECT_TRUE(form->cdsServClie->afterPost && form->cdsServClie->afterScroll);
}

TEST_F(ClientSelectionTest, AllClientsFailingAtTheFirstBindNothing) {
  refusePostOf("100034");
  confirmValidity("01/07/2026", "1000");
  click(form->sbtTodos);

  EXPECT_TRUE(server.callsOf("UpdServClie").empty());
  EXPECT_EQ(form->lsbPossiveis->count(), 5);
  EXPECT_EQ(form->lsbCdPossiveis->count(), 5);
  EXPECT_EQ(form->cdsServClie->state(), db::DataSetState::Browse);
  EXPECT_EQ(form->cdsServClie->changeCount(), 0);
  EXPECT_TRUE(Cli_zev00600::unit().boData);
  EXPECT_TRUE(Cli_zev00600::unit().boInclui);
}

TEST_F(ClientSelectionTest, AllClientsWithTheirSaveRefusedBindNothingAndRestoreTheFlags) {
  server.methods["UpdServClie"] = [](const std::vector<packet::Arg>&) {
    return packet::CallResult{false, "Cliente já vinculado.", std::nullopt};
  };
  confirmValidity("01/07/2026", "1000");
  click(form->sbtTodos);

  EXPECT_EQ(runner->messages, std::vector<std::string>{"error: Cliente já vinculado."});
  EXPECT_EQ(server.callsOf("UpdServClie").size(), 1u);
  // The refused rows leave in one pass: the current row's shifts load once, not per row.
  EXPECT_LE(server.callsOf("GetTurno").size(), 1u);
  EXPECT_EQ(form->lsbPossiveis->count(), 5);
  EXPECT_TRUE(form->cdsServClie->isEmpty());
  EXPECT_EQ(form->cdsServClie->changeCount(), 0);
  EXPECT_TRUE(Cli_zev00600::unit().boData);
  EXPECT_TRUE(Cli_zev00600::unit().boInclui);
}

TEST_F(ClientSelectionTest, ChosenClientsStopAtARefusedRowWhichLeavesTheGrid) {
  refusePostOf("100021");
  form->lsbPossiveis->userSelect({0, 3, 4});
  confirmValidity("01/07/2026", "1000");
  click(form->sbtEscolhido);

  EXPECT_EQ(runner->messages, std::vector<std::string>{"error: Cliente recusado."});
  EXPECT_EQ(savedClients(), (std::vector<std::vector<std::string>>{{"100034"}}));
  EXPECT_EQ(form->lsbCdPossiveis->items(),
            (std::vector<std::string>{"100050", "100015", "100021", "100041"}));
  EXPECT_EQ(form->lsbPossiveis->count(), 4);
  EXPECT_EQ(form->cdsServClie->state(), db::DataSetState::Browse);
  EXPECT_EQ(form->cdsServClie->changeCount(), 0);
  EXPECT_TRUE(Cli_zev00600::unit().boInclui);
  EXPECT_TRUE(Cli_zev00600::unit().boData);
}

TEST_F(ClientSelectionTest, ARefusedMoveKeepsAnEarlierUnsavedChange) {
  packet::Packet bound = textRows({"CDFILIAL", "CDSERVFILI", "CDCLIENTE", "DSEMISSERCLI"},
                                  {{"0002", "00009", "100062", "Mensal"}});
  // Every value the post checks want informed.
  std::vector<std::string> values = {"VRSERVFATU", "QTEFETMINI", "QTVOLPROSERVCLI"};
  for (const char* day : {"DOM", "SEG", "TER", "QUA", "QUI", "SEX", "SAB", "FER"}) {
    values.push_back(std::string("VRSERVFAT") + day);
    values.push_back(std::string("QTEFETMIN") + day);
  }
  for (const std::string& name : values) {
    bound.fields.push_back({name, packet::FieldType::Double, 0});
    bound.rows[0].emplace_back(1.0);
  }
  server.answer("GetServClie", bound);
  server.methods["UpdServClie"] = [](const std::vector<packet::Arg>&) {
    return packet::CallResult{false, "Servidor indisponível.", std::nullopt};
  };
  ui::application().dispatch([&] { form->medCdFilial->setFocus(); });
  leaveFilter("0002", "00009");
  ui::application().dispatch([&] {
    form->cdsServClie->edit();
    form->cdsServClie->fieldByName("DSEMISSERCLI").setAsString("Quinzenal");
    form->cdsServClie->post();
  });
  ASSERT_EQ(form->cdsServClie->changeCount(), 1);
  ASSERT_EQ(runner->messages, std::vector<std::string>{"error: Servidor indisponível."});

  ui::application().dispatch([&] { form->lsbPossiveis->setFocus(); });
  form->lsbPossiveis->userSelect({1});
  confirmValidity("01/07/2026", "1000");
  click(form->sbtEscolhido);

  EXPECT_EQ(form->cdsServClie->recordCount(), 1);
  EXPECT_EQ(form->cdsServClie->changeCount(), 1);
  EXPECT_EQ(form->cdsServClie->fieldByName("DSEMISSERCLI").asString(), "Quinzenal");
  EXPECT_EQ(form->lsbCdPossiveis->count(), 5);
  EXPECT_EQ(form->lsbCdPossiveis->item(1), "100050");
}

}  // namespace
