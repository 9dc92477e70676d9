// The report form's frame: its filters, queries and catalogue, opening and closing.
#include "forms/report/frm_rel_clie_serv.h"

#include "forms/report/cli_zev00601.h"
#include "forms/report/rel_clie_serv_queries.h"
#include "host/dtm_db_geral.h"

namespace {

ui::RadioButton* radio(ui::Control* parent, const char* name, const char* caption, int top,
                       bool checked) {
  auto* button = parent->add<ui::RadioButton>(name);
  button->setCaption(caption);
  button->setBounds(10, top, 60, 17);
  button->setChecked(checked);
  return button;
}

host::TBtnPesquisa* listButton(ui::Control* parent, const char* name, ui::Control* associated,
                               db::DataSource* source) {
  auto* button = parent->add<host::TBtnPesquisa>(name);
  button->setBounds(76, 38, 23, 23);
  button->setHint("Pesquisar");
  button->setAssociated(associated);
  button->setDataSource(source);
  button->setEnabled(false);
  return button;
}

}  // namespace

TfrmRelClieServ::TfrmRelClieServ() : TfrmDadosGerRel("frmRelClieServ") {
  setCaption("Clientes por Serviço");
  setBorderStyle(ui::BorderStyle::Single);
  setClientSize(418, 176);
  lblCodRel->setCaption("ZEV006");

  db::Database* database = &dtmDBGeral::adcGeral();
  qryCliente = make<db::SqlQuery>("qryCliente", database);
  Cli_zev00601::defineQryCliente(*qryCliente);
  qryClienteNRINSJURCLIE = &qryCliente->fieldByName("NRINSJURCLIE");
  qryClienteIDTPIJURCLIE = &qryCliente->fieldByName("IDTPIJURCLIE");
  qryClienteNMFANTCLIE = &qryCliente->fieldByName("NMFANTCLIE");
  qryClienteCDCLIENTE = &qryCliente->fieldByName("CDCLIENTE");
  dtsCliente__ = make<db::DataSource>("dtsCliente__", qryCliente);
  qryFilial = make<db::SqlQuery>("qryFilial", database);
  Cli_zev00601::defineQryFilial(*qryFilial);
  dtsFilial__ = make<db::DataSource>("dtsFilial__", qryFilial);
  qryServico = make<db::SqlQuery>("qryServico", database);
  Cli_zev00601::defineQryServico(*qryServico);
  dtsServico__ = make<db::DataSource>("dtsServico__", qryServico);

  msgPadrao->setLines({
      "Arq_Rel_Err|O arquivo contendo a definição do relatório de código '%s' não foi "
      "encontrado no diretório '%s'.",
      "NovoCaption|Título do relatório",
      "NovoPrompt|Informe o título do relatório:",
      "Servico|Serviço",
      "Servico_nh|Não há serviço cadastrado para a filial informada.",
      "Filial|Filial",
      "Filial_nh|Não há filial cadastrada.",
      "Filial_inf|Filial deve ser informada.",
      "Servico_inf|Serviço deve ser informado.",
      "Cliente_nc|Cliente não cadastrado.",
  });

  buildFilters();
  bindFilterHandlers();
}

void TfrmRelClieServ::buildFilters() {
  lblCliente = grbDadosRel->add<ui::Label>("lblCliente");
  lblCliente->setCaption("Cliente");
  lblCliente->setBold(true);
  lblCliente->setBounds(8, 14, 40, 13);

  medCdCliente = grbDadosRel->add<ui::MaskEdit>("medCdCliente");
  medCdCliente->setBounds(8, 29, 105, 21);
  medCdCliente->setTabStop(true);
  medCdCliente->setTabOrder(1);
  lblCliente->setFocusControl(medCdCliente);

  btnPesqClie = grbDadosRel->add<host::TBtnPesquisa>("btnPesqClie");
  btnPesqClie->setBounds(115, 28, 23, 23);
  btnPesqClie->setHint("Pesquisar");
  btnPesqClie->setAssociated(medCdCliente);
  btnPesqClie->setTitle("Cliente");
  btnPesqClie->setDataSource(dtsCliente__);
  btnPesqClie->setTabOrder(4);

  edtNmCliente = grbDadosRel->add<ui::Edit>("edtNmCliente");
  edtNmCliente->setBounds(141, 29, 209, 21);
  edtNmCliente->setColor("clBtnFace");
  edtNmCliente->setEnabled(false);
  edtNmCliente->setTabStop(true);
  edtNmCliente->setTabOrder(5);

  grbFilial = grbDadosRel->add<ui::GroupBox>("grbFilial");
  grbFilial->setCaption("Filial");
  grbFilial->setBold(true);
  grbFilial->setBounds(8, 56, 174, 72);
  grbFilial->setTabOrder(2);
  rbtTFilial = radio(grbFilial, "rbtTFilial", "Todas", 18, true);
  rbtListaFilial = radio(grbFilial, "rbtListaFilial", "Lista", 42, false);
  btnPesqFili = listButton(grbFilial, "btnPesqFili", rbtListaFilial, dtsFilial__);

  grbServico = grbDadosRel->add<ui::GroupBox>("grbServico");
  grbServico->setCaption("Serviço");
  grbServico->setBold(true);
  grbServico->setBounds(190, 56, 174, 72);
  grbServico->setTabOrder(3);
  rbtTServico = radio(grbServico, "rbtTServico", "Todos", 18, true);
  rbtListaServ = radio(grbServico, "rbtListaServ", "Lista", 42, false);
  btnPesqServ = listButton(grbServico, "btnPesqServ", rbtListaServ, dtsServico__);
}

void TfrmRelClieServ::bindFilterHandlers() {
  rbtTFilial->onClick = [this](ui::Control& sender) { rbtListaFilialClick(sender); };
  rbtListaFilial->onClick = [this](ui::Control& sender) { rbtListaFilialClick(sender); };
  rbtTServico->onClick = [this](ui::Control& sender) { rbtListaServClick(sender); };
  rbtListaServ->onClick = [this](ui::Control& sender) { rbtListaServClick(sender); };
  btnPesqFili->onClick = [this](ui::Control& sender) { btnPesqFiliClick(sender); };
  btnPesqServ->onClick = [this](ui::Control& sender) { btnPesqServClick(sender); };
  btnPesqClie->OnBeforePesq = [this](host::TBtnPesquisa& sender) { btnPesqClieBeforePesq(sender); };
  btnPesqClie->OnAfterPesq = [this](host::TBtnPesquisa& sender) { btnPesqClieAfterPesq(sender); };
  medCdCliente->onChange = [this](ui::Control& sender) { medCdClienteChange(sender); };
  medCdCliente->onExit = [this](ui::Control& sender) { medCdClienteExit(sender); };
  qryClienteNRINSJURCLIE->onGetText = [this](db::Field& sender, std::string& text,
                                             bool displayText) {
    qryClienteNRINSJURCLIEGetText(sender, text, displayText);
  };
  rpddPadrao->OnBeforeGetQueryParams = [this](host::ReportParams& params) {
    rpddPadraoBeforeGetQueryParams(params);
  };
}

void TfrmRelClieServ::FormActivate(ui::Form& sender) {
  TfrmDadosGerRel::FormActivate(sender);
  repaint();
}

void TfrmRelClieServ::FormClose(ui::Form& sender, ui::CloseAction& action) {
  TfrmDadosGerRel::FormClose(sender, action);
  Cli_zev00601::unit().boIdCriado = false;
  Cli_zev00601::unit().frmRelClieServ = nullptr;
}
