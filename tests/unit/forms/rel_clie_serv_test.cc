// The clients-per-service report form on the demo database: its filters, the checks before each
// output, the report's parameters, and the listing the host's engine makes of them.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>

#include "forms/report/cli_zev00601.h"
#include "forms/report/frm_rel_clie_serv.h"
#include "host/consiste.h"
#include "host/procurar.h"
#include "host/quendra.h"
#include "host/report_listing_engine.h"
#include "host/report_preview.h"
#include "host/ui/application.h"
#include "tests/unit/forms/forms_test_support.h"
#include "tests/unit/ui/test_runner.h"

namespace {

namespace fs = std::filesystem;

std::string sourceFile(const std::string& relative) {
  const char* root = std::getenv("CPS_SOURCE_DIR");
  return (fs::path(root != nullptr ? root : ".") / relative).string();
}

class RelClieServTest : public ::testing::Test {
 protected:
  void SetUp() override {
    forms_test::resetProcess();
    Quendra::context().databasePath = database.path();
    host::installReportEngine(
        {sourceFile("reports"), (database.folder() / "saida").string(), {}, nullptr});
    runner = std::make_unique<ui::testing::TestRunner>();
  }

  void TearDown() override {
    runner.reset();
    forms_test::resetProcess();
  }

  TfrmRelClieServ* open() {
    form = ui::application().createForm<TfrmRelClieServ>();
    form->show();
    // Keeps the parameters the form fills, after its own handler.
    auto fill = form->rpddPadrao->OnBeforeGetQueryParams;
    form->rpddPadrao->OnBeforeGetQueryParams = [this, fill](host::ReportParams& params) {
      fill(params);
      filled = params;
    };
    return form;
  }

  bool click(ui::Control& control) {
    return ui::application().dispatch([&] { ui::application().click(control); });
  }

  std::string param(const std::string& name) const {
    for (const auto& p : filled) {
      if (p.name == name)
        return p.value;
    }
    return "<none>";
  }

  // Previews and returns every line of every page.
  std::vector<std::string> preview() {
    std::vector<std::string> lines;
    runner->modalActions.push_back([&](ui::Form& shown) {
      auto& page = dynamic_cast<host::ReportPreviewForm&>(shown);
      for (int i = 0; i < page.pageCount(); ++i) {
        page.showPage(i);
        const std::vector<std::string> pageLines = page.lsbPage->items();
        lines.insert(lines.end(), pageLines.begin(), pageLines.end());
      }
    });
    EXPECT_TRUE(click(*form->sbtPreview));
    return lines;
  }

  // Checks the rows `indexes` of the list dialog and confirms it.
  void chooseInList(const std::vector<int>& indexes, std::vector<std::string>* items = nullptr) {
    runner->modalActions.push_back([indexes, items](ui::Form& shown) {
      auto& list = dynamic_cast<Procurar::TfrmPesquisaLista&>(shown);
      if (items != nullptr)
        *items = list.lsbLista->items();
      list.lsbLista->clearSelection();
      for (int index : indexes)
        list.lsbLista->setSelected(index, true);
      ui::application().dispatch([&] { ui::application().click(*list.btnOk); });
    });
  }

  static bool has(const std::vector<std::string>& lines, const std::string& text) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
      return line.find(text) != std::string::npos;
    });
  }

  forms_test::DemoDatabase database{"cps-rel"};
  std::unique_ptr<ui::testing::TestRunner> runner;
  TfrmRelClieServ* form = nullptr;
  host::ReportParams filled;
};

TEST_F(RelClieServTest, TheEntryOpensOneFormAndItsCloseAllowsAFreshOne) {
  const TfrmRelClieServ* seen = nullptr;
  runner->modalActions.push_back([&](ui::Form& shown) {
    seen = Cli_zev00601::unit().frmRelClieServ;
    EXPECT_EQ(&shown, seen);
    EXPECT_TRUE(Cli_zev00601::unit().boIdCriado);
    EXPECT_EQ(ui::application().screen().cursor(), ui::Cursor::Default);
    auto& report = dynamic_cast<TfrmRelClieServ&>(shown);
    EXPECT_EQ(report.caption(), "Clientes por Serviço");
    EXPECT_EQ(report.lblCodRel->caption(), "ZEV006");
    EXPECT_TRUE(report.rbtTFilial->checked());
    EXPECT_TRUE(report.rbtTServico->checked());
    EXPECT_FALSE(report.btnPesqFili->enabled());
    EXPECT_FALSE(report.btnPesqServ->enabled());
    EXPECT_FALSE(report.edtNmCliente->enabled());
    ui::application().dispatch([&] { ui::application().click(*report.sbtFechar); });
  });
  ui::application().dispatch([] { Cli_zev00601::CriaRelClieServ(); });
  EXPECT_NE(seen, nullptr);
  EXPECT_FALSE(Cli_zev00601::unit().boIdCriado);
  EXPECT_EQ(Cli_zev00601::unit().frmRelClieServ, nullptr);
  EXPECT_EQ(ui::application().findForm("frmRelClieServ"), nullptr);
  EXPECT_EQ(ui::application().screen().cursor(), ui::Cursor::Default);
}

TEST_F(RelClieServTest, EachRadioPairEnablesItsListSearchOnlyForLista) {
  open();
  EXPECT_TRUE(click(*form->rbtListaFilial));
  EXPECT_TRUE(form->btnPesqFili->enabled());
  EXPECT_FALSE(form->btnPesqServ->enabled());
  EXPECT_TRUE(click(*form->rbtListaServ));
  EXPECT_TRUE(form->btnPesqServ->enabled());
  EXPECT_TRUE(click(*form->rbtTFilial));
  EXPECT_FALSE(form->btnPesqFili->enabled());
  EXPECT_TRUE(click(*form->rbtTServico));
  EXPECT_FALSE(form->btnPesqServ->enabled());
}

TEST_F(RelClieServTest, AnEmptyClientListsEveryClientWithoutALookup) {
  open();
  const auto lines = preview();
  EXPECT_EQ(param("P_CDCLIENTE"), "");
  EXPECT_EQ(param("P_CDFILIAL"), "");
  EXPECT_EQ(param("P_TCDFILIAL"), "T");
  EXPECT_EQ(param("P_CDSERVFILI"), "");
  EXPECT_EQ(param("P_TCDSERVFILI"), "T");
  EXPECT_FALSE(form->qryCliente->active());
  // The summary counts the clients and totals the minimum staff and the volume.
  EXPECT_EQ(lines.back(),
            "Total geral - clientes: 283" + std::string(96, ' ') + "     1.802" + "   381.081,00");
  EXPECT_TRUE(has(lines, "Filial: 0003 - Rio de Janeiro"));
  EXPECT_TRUE(has(lines,
                  "    67.693.530/0001-33 Condomínio Edifício Sousas               Ed. Sousas    "
                  "                     6.621,71000 01/01/2026           8       645,00"));
}

TEST_F(RelClieServTest, AnUnknownRegistrationBlocksTheOutputAndKeepsTheFocus) {
  open();
  form->medCdCliente->setFocus();
  form->medCdCliente->setText("12345678901");
  EXPECT_FALSE(click(*form->sbtPreview));
  EXPECT_EQ(runner->messages, std::vector<std::string>{"error: Cliente não cadastrado."});
  EXPECT_TRUE(form->medCdCliente->focused());
  EXPECT_TRUE(filled.empty());  // the engine never asked
  // Leaving the edit runs the same check and is refused.
  EXPECT_FALSE(click(*form->rbtListaFilial));
  EXPECT_TRUE(form->medCdCliente->focused());
}

TEST_F(RelClieServTest, AKnownRegistrationShowsTheClientAndListsOnlyIt) {
  open();
  form->medCdCliente->setFocus();
  form->medCdCliente->setText("67693530000133");
  EXPECT_TRUE(click(*form->rbtListaFilial));  // leaving the edit checks it
  EXPECT_EQ(form->medCdCliente->text(), "67.693.530/0001-33");
  EXPECT_EQ(form->edtNmCliente->text(), "Ed. Sousas");
  EXPECT_TRUE(click(*form->rbtTFilial));
  const auto lines = preview();
  EXPECT_EQ(param("P_CDCLIENTE"), "100093");
  EXPECT_EQ(lines.back().substr(0, 26), "Total geral - clientes: 2 ");
  EXPECT_TRUE(has(lines, "Serviço: 00002 - Portaria"));
  EXPECT_TRUE(has(lines, "Serviço: 00006 - Manutenção predial"));
}

TEST_F(RelClieServTest, TheClientSearchFillsTheEditWithTheFormattedNumber) {
  open();
  runner->modalActions.push_back([](ui::Form& shown) {
    auto& search = dynamic_cast<Procurar::TfrmProcurar&>(shown);
    search.edtTexto->setText("67.693.530");  // the registration as the list shows it
    ui::application().dispatch([&] { ui::application().click(*search.btnOk); });
  });
  EXPECT_TRUE(click(*form->btnPesqClie));
  EXPECT_EQ(form->qryClienteNRINSJURCLIE->displayText(), "67.693.530/0001-33");
  EXPECT_EQ(form->medCdCliente->text(), "67.693.530/0001-33");
  EXPECT_EQ(form->edtNmCliente->text(), "Ed. Sousas");
  // The first client is a company, so the field's mask is the company one.
  EXPECT_EQ(form->qryClienteNRINSJURCLIE->editMask(), Consiste::PictPess("J"));

  // Typing changes the client: the name goes; emptied, the edit takes a person's number.
  form->medCdCliente->setText("");
  EXPECT_EQ(form->edtNmCliente->text(), "");
  EXPECT_EQ(form->medCdCliente->editMask(), "");
  form->medCdCliente->setText("28059234218");
  preview();
  EXPECT_EQ(param("P_CDCLIENTE"), "100015");
  EXPECT_EQ(form->medCdCliente->text(), "280.592.342-18");
}

TEST_F(RelClieServTest, ListaWithNothingChosenBlocksOnTheBranchBeforeTheService) {
  open();
  EXPECT_TRUE(click(*form->rbtListaFilial));
  EXPECT_TRUE(click(*form->rbtListaServ));
  EXPECT_FALSE(click(*form->sbtPrint));
  EXPECT_EQ(runner->messages, std::vector<std::string>{"error: Filial deve ser informada."});
  EXPECT_TRUE(form->rbtListaFilial->focused());

  chooseInList({1});
  EXPECT_TRUE(click(*form->btnPesqFili));
  runner->messages.clear();
  EXPECT_FALSE(click(*form->sbtSalvarComo));
  EXPECT_EQ(runner->messages, std::vector<std::string>{"error: Serviço deve ser informado."});
  EXPECT_TRUE(form->rbtListaServ->focused());
}

TEST_F(RelClieServTest, TheServiceListHonoursTheBranchChoice) {
  open();
  EXPECT_TRUE(click(*form->rbtListaFilial));
  EXPECT_TRUE(click(*form->rbtListaServ));
  // No branch chosen yet: no service is offered.
  EXPECT_TRUE(click(*form->btnPesqServ));
  EXPECT_EQ(runner->messages,
            std::vector<std::string>{"info: Não há serviço cadastrado para a filial informada."});

  std::vector<std::string> branches;
  chooseInList({1}, &branches);
  EXPECT_TRUE(click(*form->btnPesqFili));
  EXPECT_EQ(branches, (std::vector<std::string>{"0001 - São Paulo - Matriz", "0002 - Campinas",
                                                "0003 - Rio de Janeiro"}));
  std::vector<std::string> services;
  chooseInList({0, 2}, &services);
  EXPECT_TRUE(click(*form->btnPesqServ));
  ASSERT_EQ(services.size(), 9u);
  EXPECT_TRUE(std::all_of(services.begin(), services.end(),
                          [](const std::string& item) { return item.rfind("0002 - ", 0) == 0; }));
  EXPECT_EQ(services[2], "0002 - 00003 - Vigilância patrimonial");

  const auto lines = preview();
  EXPECT_EQ(param("P_CDFILIAL"), "'0002'");
  EXPECT_EQ(param("P_TCDFILIAL"), "");
  EXPECT_EQ(param("P_CDSERVFILI"), "'000200001','000200003'");
  EXPECT_EQ(param("P_TCDSERVFILI"), "");
  EXPECT_EQ(lines.back().substr(0, 27), "Total geral - clientes: 45 ");
  EXPECT_FALSE(has(lines, "Filial: 0001"));

  // With every branch the services of all of them are offered.
  EXPECT_TRUE(click(*form->rbtTFilial));
  chooseInList({0}, &services);
  EXPECT_TRUE(click(*form->btnPesqServ));
  EXPECT_EQ(services.size(), 32u);
}

TEST_F(RelClieServTest, APairIsFilledOnlyWhenTheDefinitionDeclaresBothOfIt) {
  open();
  host::ReportParams params = {{"P_CDFILIAL", "x"}, {"P_CDSERVFILI", "x"}, {"P_TCDSERVFILI", "x"}};
  form->rpddPadraoBeforeGetQueryParams(params);
  EXPECT_EQ(params[0].value, "x");
  EXPECT_EQ(params[1].value, "");
  EXPECT_EQ(params[2].value, "T");

  params = {{"p_tcdfilial", "x"}, {"P_CDCLIENTE", "x"}};
  form->rpddPadraoBeforeGetQueryParams(params);
  EXPECT_EQ(params[0].value, "x");
  EXPECT_EQ(params[1].value, "");
}

}  // namespace
