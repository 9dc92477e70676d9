// The base forms: the maintenance form's commands on its data set, the dialog base's buttons
// and the report form's engine.
#include <gtest/gtest.h>

#include "host/frm_dados_ger_rel.h"
#include "host/frm_padrao_simples.h"
#include "host/frm_roti_geral.h"
#include "host/ui/application.h"
#include "host/ui/edit.h"
#include "tests/unit/ui/test_runner.h"

namespace host {
namespace {

class PadraoSimplesTest : public ::testing::Test {
 protected:
  PadraoSimplesTest() {
    form = ui::application().createForm<TfrmPadraoSimples>("frmTeste");
    rows = form->make<db::DataSet>("cdsTeste");
    rows->addField("CODIGO", packet::FieldType::Text, 4);
    rows->addField("NOME", packet::FieldType::Text, 20);
    packet::Packet packet;
    packet.fields = rows->fieldDefs();
    packet.rows = {{std::string("0001"), std::string("Alfa")},
                   {std::string("0002"), std::string("Beta")}};
    rows->loadPacket(packet);
    form->dtsPadrao->setDataSet(rows);
    form->show();
  }
  ~PadraoSimplesTest() override { ui::resetApplication(); }

  // A click as the user makes it: through the dispatcher.
  bool click(ui::Control& control) {
    return ui::application().dispatch([&] { ui::application().click(control); });
  }
  bool clickMenu(ui::MenuItem& item) {
    return ui::application().dispatch([&] { ui::application().clickMenuItem(item); });
  }

  ui::testing::TestRunner runner;
  TfrmPadraoSimples* form = nullptr;
  db::DataSet* rows = nullptr;
};

TEST_F(PadraoSimplesTest, CommandsInsertEditPostAndCancelTheSourcesDataSet) {
  EXPECT_TRUE(click(*form->sbtIncluir));
  EXPECT_EQ(rows->state(), db::DataSetState::Insert);
  rows->fieldByName("CODIGO").setAsString("0003");
  EXPECT_TRUE(click(*form->sbtConfirmar));
  EXPECT_EQ(rows->state(), db::DataSetState::Browse);
  EXPECT_EQ(rows->recordCount(), 3);

  EXPECT_TRUE(clickMenu(*form->mnuAlterar));
  EXPECT_EQ(rows->state(), db::DataSetState::Edit);
  rows->fieldByName("NOME").setAsString("Gama");
  EXPECT_TRUE(click(*form->sbtCancelar));
  EXPECT_EQ(rows->state(), db::DataSetState::Browse);
  EXPECT_EQ(rows->fieldByName("NOME").asString(), "");
  // Confirm and cancel outside an edit do nothing; the cancel asks nothing.
  EXPECT_TRUE(click(*form->sbtConfirmar));
  EXPECT_TRUE(click(*form->sbtCancelar));
  EXPECT_TRUE(runner.messages.empty());
  EXPECT_EQ(rows->changeCount(), 1);
}

TEST_F(PadraoSimplesTest, DeleteAsksAndOnlyYesDeletes) {
  runner.answers = {ui::mrNo, ui::mrYes};
  EXPECT_FALSE(click(*form->sbtExcluir));  // No ends with the silent abort
  EXPECT_EQ(rows->recordCount(), 2);
  EXPECT_TRUE(clickMenu(*form->mnuExcluir));
  EXPECT_EQ(rows->recordCount(), 1);
  EXPECT_EQ(rows->fieldByName("CODIGO").asString(), "0002");
  EXPECT_EQ(runner.messages,
            (std::vector<std::string>{"question: Confirma a exclusão do registro?",
                                      "question: Confirma a exclusão do registro?"}));
  EXPECT_EQ(form->msgMensagensPadroes->Msg("Canc"), "Confirma o cancelamento das alterações?");
}

TEST_F(PadraoSimplesTest, WithoutAnOpenDataSetTheCommandsDoNothing) {
  rows->close();
  EXPECT_TRUE(click(*form->sbtIncluir));
  EXPECT_TRUE(click(*form->sbtExcluir));
  form->dtsPadrao->setDataSet(nullptr);
  EXPECT_TRUE(click(*form->sbtAlterar));
  EXPECT_TRUE(runner.messages.empty());
}

// A derived form overrides a command and runs the inherited one.
class TfrmDerivado : public TfrmPadraoSimples {
 public:
  TfrmDerivado() : TfrmPadraoSimples("frmDerivado") {}
  void sbtIncluirClick(ui::Component& sender) override {
    log += sender.name() + " ";
    TfrmPadraoSimples::sbtIncluirClick(sender);
  }
  void FormCreate(ui::Form& sender) override {
    TfrmPadraoSimples::FormCreate(sender);
    log += "create ";
  }
  std::string log;
};

TEST_F(PadraoSimplesTest, MenuItemsRunTheOverriddenButtonHandlersAndCloseFreesTheForm) {
  auto* derived = ui::application().createForm<TfrmDerivado>();
  EXPECT_EQ(derived->log, "create ");
  derived->show();
  EXPECT_TRUE(click(*derived->sbtIncluir));
  EXPECT_TRUE(clickMenu(*derived->mnuIncluir));
  EXPECT_EQ(derived->log, "create sbtIncluir mnuIncluir ");

  EXPECT_TRUE(clickMenu(*derived->mnuFechar));
  EXPECT_EQ(ui::application().findForm("frmDerivado"), nullptr);
}

TEST_F(PadraoSimplesTest, EnterMovesToTheNextControl) {
  auto* first = form->add<ui::Edit>("edtPrimeiro");
  first->setTabStop(true);
  first->setTabOrder(0);
  auto* second = form->add<ui::Edit>("edtSegundo");
  second->setTabStop(true);
  second->setTabOrder(1);
  first->setFocus();
  ui::application().dispatch([&] { ui::application().keyDown(*first, ui::keys::Enter, {}); });
  EXPECT_EQ(form->activeControl(), second);
  ui::application().dispatch([&] { ui::application().keyDown(*second, ui::keys::Escape, {}); });
  EXPECT_EQ(form->activeControl(), second);
}

TEST(RotiGeralTest, ConfirmAndCancelSetTheModalResult) {
  ui::testing::TestRunner runner;
  auto* dialog = ui::application().createForm<TfrmRotiGeral>("frmDialogo");
  runner.modalActions.push_back([](ui::Form& form) {
    ui::application().click(*static_cast<TfrmRotiGeral&>(form).sbtConfirma);
  });
  EXPECT_EQ(dialog->showModal(), ui::mrOk);
  runner.modalActions.push_back([](ui::Form& form) {
    ui::application().click(*static_cast<TfrmRotiGeral&>(form).sbtCancel);
  });
  EXPECT_EQ(dialog->showModal(), ui::mrCancel);
  runner.modalActions.push_back(
      [](ui::Form& form) { ui::application().keyDown(form, ui::keys::Escape, {}); });
  EXPECT_EQ(dialog->showModal(), ui::mrCancel);
  // The closed dialog stays for its caller to read.
  ui::application().flushReleases();
  EXPECT_EQ(ui::application().findForm("frmDialogo"), dialog);
  ui::resetApplication();
}

// An engine that records what it was asked and the parameters the form filled.
class RecordingEngine : public ReportEngine {
 public:
  void run(const std::string& code, ReportOutput output, const std::string& title) override {
    if (code == "FALTA")
      throw ReportDefinitionMissing(code, "/relatorios");
    ReportParams params = {{"P_CDCLIENTE", ""}, {"P_CDFILIAL", ""}};
    if (OnBeforeGetQueryParams)
      OnBeforeGetQueryParams(params);
    log += code + ":" + std::to_string(static_cast<int>(output)) + ":" + title + ":" +
           params[0].value + " ";
  }
  static inline std::string log;
};

TEST(DadosGerRelTest, OutputsGoThroughTheInstalledEngine) {
  ui::testing::TestRunner runner;
  setReportEngineFactory([] { return std::make_unique<RecordingEngine>(); });
  auto* form = ui::application().createForm<TfrmDadosGerRel>("frmRelatorio");
  setReportEngineFactory(nullptr);
  form->lblCodRel->setCaption("ZEV006");
  form->setCaption("Clientes por Serviço");
  form->show();
  form->rpddPadrao->OnBeforeGetQueryParams = [](ReportParams& params) {
    EXPECT_TRUE(ReportEngine::ExistParam(params, "p_cdcliente"));
    EXPECT_FALSE(ReportEngine::ExistParam(params, "P_TCDFILIAL"));
    ReportEngine::ParamByName(params, "P_CDCLIENTE").value = "100015";
  };
  RecordingEngine::log.clear();
  ui::application().dispatch([&] { ui::application().click(*form->sbtPrint); });
  ui::application().dispatch([&] { ui::application().click(*form->sbtSalvarComo); });
  EXPECT_EQ(RecordingEngine::log, "ZEV006:0::100015 ZEV006:2:Clientes por Serviço:100015 ");

  form->lblCodRel->setCaption("FALTA");
  EXPECT_FALSE(ui::application().dispatch([&] { ui::application().click(*form->sbtPreview); }));
  EXPECT_EQ(runner.messages,
            std::vector<std::string>{"error: O arquivo contendo a definição do relatório de "
                                     "código 'FALTA' não foi encontrado no diretório "
                                     "'/relatorios'."});
  ui::resetApplication();
}

TEST(DadosGerRelTest, WithoutAnEngineEveryOutputIsRefusedClearly) {
  ui::testing::TestRunner runner;
  auto* form = ui::application().createForm<TfrmDadosGerRel>("frmRelatorio");
  form->lblCodRel->setCaption("ZEV006");
  form->show();
  EXPECT_FALSE(ui::application().dispatch([&] { ui::application().click(*form->sbtPreview); }));
  ASSERT_EQ(runner.messages.size(), 1u);
  EXPECT_EQ(runner.messages[0],
            "error: Nenhum gerador de relatórios está instalado nesta estação; o relatório "
            "ZEV006 não pode ser emitido.");
  ui::resetApplication();
}

}  // namespace
}  // namespace host
