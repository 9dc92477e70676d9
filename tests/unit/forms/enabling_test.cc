// The page and button enabling of the main form under every edit state of its data sets.
#include <set>

#include "tests/unit/forms/main_form_fixture.h"

namespace {

using forms_test::MainFormTest;
using forms_test::textRows;

class EnablingTest : public MainFormTest {
 protected:
  // A service with two clients (the second one opens the correction table), shifts, a value
  // history and correction intervals; the grid has the focus.
  void SetUp() override {
    MainFormTest::SetUp();
    server.answer("GetServClie",
                  textRows({"CDFILIAL", "CDSERVFILI", "CDCLIENTE", "IDCOREFECLIFILI"},
                           {{"0002", "00002", "100034", ""}, {"0002", "00002", "100015", "U"}}));
    server.answer("GetTurno", textRows({"CDTURNO"}, {{"1"}, {"2"}}));
    server.answer("GetHistServFatu", textRows({"CDCLIENTE"}, {{"100015"}}));
    server.answer("GetCorrPrecServ", textRows({"CDCLIENTE"}, {{"100015"}}));
    leaveFilter("0002", "00002");
    ASSERT_TRUE(form->dbgPadrao->focused());
    ui::application().dispatch([&] {
      form->cdsServClie->last();
      form->cdsHistServFatu->loadPacket(textRows({"CDCLIENTE"}, {{"100015"}}));
      form->cdsCorrPrecServ->loadPacket(textRows({"CDCLIENTE"}, {{"100015"}}));
    });
  }

  std::set<std::string> enabledPages() const {
    std::set<std::string> names;
    for (ui::TabSheet* page : {form->tshClienServ, form->tshValorServ, form->tshTabCorr,
                               form->tshCustoProd, form->tshHistorico, form->tshExcecao,
                               form->tshTurno, form->tshExTurno, form->tshHistoricoTurno}) {
      if (page->enabled())
        names.insert(page->name());
    }
    return names;
  }

  std::set<std::string> enabledButtons() const {
    std::set<std::string> names;
    for (ui::SpeedButton* button :
         {form->sbtIncluir, form->sbtAlterar, form->sbtProcurar, form->sbtVerificar,
          form->sbtConfirmar, form->sbtCancelar, form->sbtImprimir, form->sbtVrServico,
          form->sbtEscolhido, form->sbtTodos, form->sbtUmEsquerda, form->sbtTodosEsquerda}) {
      if (button->enabled())
        names.insert(button->name());
    }
    return names;
  }

  void showValuePage(ui::TabSheet* subPage) {
    form->pgcClientesServico->setActivePage(form->tshValorServ);
    form->pgcValorServ->setActivePage(subPage);
  }

  void recompute(bool disabling = false) {
    form->HabilitacaoPaginas(disabling);
    form->HabilitacaoBotoes(disabling);
  }
};

const std::set<std::string> kAllPages = {"tshClienServ", "tshValorServ", "tshTabCorr",
                                         "tshCustoProd", "tshHistorico", "tshExcecao",
                                         "tshTurno",     "tshExTurno",   "tshHistoricoTurno"};

TEST_F(EnablingTest, EachPageStaysAvailableWhileItsOwnDataIsEdited) {
  struct Case {
    db::DataSet* editing;
    std::set<std::string> pages;
  };
  const std::vector<Case> cases = {
      {nullptr, kAllPages},
      {form->cdsServClie, {"tshClienServ", "tshValorServ", "tshExcecao", "tshCustoProd"}},
      {form->cdsCorrPrecServ, {"tshTabCorr"}},
      {form->cdsHistServFatu, {"tshValorServ", "tshHistorico"}},
      {form->cdsTurno, {"tshValorServ", "tshTurno", "tshExTurno"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.editing == nullptr ? "nothing edited" : c.editing->name());
    if (c.editing != nullptr)
      c.editing->edit();
    recompute();
    EXPECT_EQ(enabledPages(), c.pages);
    EXPECT_EQ(form->lsbPossiveis->enabled(), c.editing == nullptr);
    EXPECT_EQ(form->medCdServico->enabled(), c.editing == nullptr);
    EXPECT_EQ(form->medCdFilial->enabled(), c.editing == nullptr);
    EXPECT_EQ(form->mnuClienServ->enabled(), form->tshClienServ->enabled());
    EXPECT_EQ(form->mnuValorServ->enabled(), form->tshValorServ->enabled());
    EXPECT_EQ(form->mnuExTurno->enabled(), form->tshExTurno->enabled());
    if (c.editing != nullptr)
      c.editing->cancel();
  }
}

TEST_F(EnablingTest, TheFilterLeavesOnlyTheClientPageEvenWhileARowIsEdited) {
  recompute(true);
  EXPECT_EQ(enabledPages(), std::set<std::string>{"tshClienServ"});
  EXPECT_TRUE(enabledButtons().empty());
  form->cdsServClie->edit();
  recompute(true);
  EXPECT_EQ(enabledPages(), std::set<std::string>{"tshClienServ"});
  EXPECT_TRUE(enabledButtons().empty());
  EXPECT_FALSE(form->mnuConfirmar->enabled());
}

TEST_F(EnablingTest, PagesNeedRowsShiftsAndACorrectionCondition) {
  form->cdsServClie->first();
  recompute();
  EXPECT_FALSE(form->tshTabCorr->enabled());
  Cli_zev00600::unit().stMinEfeCorrig = "2";
  recompute();
  EXPECT_TRUE(form->tshTabCorr->enabled());

  form->cdsTurno->loadPacket(textRows({"CDTURNO"}, {}));
  recompute();
  EXPECT_FALSE(form->tshExTurno->enabled());
  EXPECT_FALSE(form->tshHistoricoTurno->enabled());
  EXPECT_TRUE(form->tshTurno->enabled());

  form->cdsServClie->loadPacket(textRows({"CDCLIENTE"}, {}));
  recompute();
  EXPECT_EQ(enabledPages(), std::set<std::string>{"tshClienServ"});
}

TEST_F(EnablingTest, EditingARowBringsTheWeekdayExceptionsForwardOnTheValuePage) {
  form->pgcValorServ->setActivePage(form->tshTurno);
  form->cdsServClie->edit();
  recompute();
  EXPECT_EQ(form->pgcValorServ->activePage(), form->tshExcecao);
  EXPECT_EQ(form->pgcClientesServico->activePage(), form->tshClienServ);
}

TEST_F(EnablingTest, ShiftExceptionsGiveWayToTheShiftsWhenNoShiftIsLeft) {
  showValuePage(form->tshExTurno);
  recompute();
  EXPECT_EQ(form->pgcValorServ->activePage(), form->tshExTurno);
  form->cdsTurno->loadPacket(textRows({"CDTURNO"}, {}));
  recompute();
  EXPECT_EQ(form->pgcValorServ->activePage(), form->tshTurno);
  EXPECT_TRUE(form->mnuTurno->checked());
  EXPECT_FALSE(form->mnuExTurno->checked());
}

TEST_F(EnablingTest, ButtonsFollowThePageShownAndItsOwnDataSet) {
  showValuePage(form->tshHistorico);
  recompute();
  EXPECT_EQ(enabledButtons(),
            (std::set<std::string>{"sbtVerificar", "sbtImprimir", "sbtVrServico"}));
  form->cdsHistServFatu->loadPacket(textRows({"CDCLIENTE"}, {}));
  recompute();
  EXPECT_TRUE(form->sbtIncluir->enabled());
  EXPECT_TRUE(form->mnuIncluir->enabled());
  form->cdsHistServFatu->append();
  recompute();
  EXPECT_EQ(enabledButtons(), (std::set<std::string>{"sbtConfirmar", "sbtCancelar"}));
  form->cdsHistServFatu->cancel();

  showValuePage(form->tshTurno);
  recompute();
  EXPECT_EQ(enabledButtons(),
            (std::set<std::string>{"sbtAlterar", "sbtVerificar", "sbtImprimir", "sbtVrServico"}));
  form->cdsTurno->edit();
  recompute();
  EXPECT_EQ(enabledButtons(), (std::set<std::string>{"sbtConfirmar", "sbtCancelar"}));
  form->cdsTurno->cancel();

  showValuePage(form->tshHistoricoTurno);
  recompute();
  EXPECT_EQ(enabledButtons(),
            (std::set<std::string>{"sbtVerificar", "sbtImprimir", "sbtVrServico"}));

  form->pgcClientesServico->setActivePage(form->tshTabCorr);
  recompute();
  EXPECT_EQ(enabledButtons(),
            (std::set<std::string>{"sbtIncluir", "sbtAlterar", "sbtProcurar", "sbtVerificar",
                                   "sbtImprimir", "sbtVrServico"}));
  form->cdsCorrPrecServ->edit();
  recompute();
  EXPECT_EQ(enabledButtons(), (std::set<std::string>{"sbtConfirmar", "sbtCancelar"}));
  form->cdsCorrPrecServ->cancel();
}

TEST_F(EnablingTest, TheFocusedListMovesClientsOnlyFromTheClientPage) {
  server.answer("GetClientesFilial",
                textRows({"CDCLIENTE", "NRINSJURCLIE", "IDTPIJURCLIE", "NMRAZSOCCLIE"},
                         {{"100021", "97114364000215", "J", "Cedro Comércio de Alimentos Ltda"}}));
  ui::application().dispatch([&] { form->MontaLista(); });
  ui::application().dispatch([&] { form->lsbPossiveis->setFocus(); });
  ASSERT_TRUE(form->lsbPossiveis->focused());
  recompute();
  EXPECT_EQ(enabledButtons(), (std::set<std::string>{"sbtProcurar", "sbtVerificar", "sbtImprimir",
                                                     "sbtVrServico", "sbtEscolhido", "sbtTodos",
                                                     "sbtUmEsquerda", "sbtTodosEsquerda"}));
  form->pgcClientesServico->setActivePage(form->tshCustoProd);
  recompute();
  EXPECT_EQ(enabledButtons(),
            (std::set<std::string>{"sbtProcurar", "sbtVerificar", "sbtImprimir", "sbtVrServico"}));
}

}  // namespace
