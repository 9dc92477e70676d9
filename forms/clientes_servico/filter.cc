// The filter panel: the branch and service codes, their searches and checks, and what entering
// and leaving the panel loads and sets (the client-service rows, the client lists and the
// branch's billing parameters).
#include "forms/clientes_servico/cli_zev00600.h"
#include "forms/clientes_servico/frm_clientes_servico.h"
#include "host/consiste.h"
#include "host/quendra.h"
#include "host/server_call.h"
#include "host/showavi.h"

using namespace Cli_zev00600;

void TfrmClientesServico::bindFilterHandlers() {
  btpFilial->OnBeforePesq = [this](host::TBtnPesquisa& b) { btpFilialBeforePesq(b); };
  btpFilial->OnAfterPesq = [this](host::TBtnPesquisa& b) { btpFilialAfterPesq(b); };
  medCdFilial->onChange = [this](ui::Control& c) { medCdFilialChange(c); };
  medCdFilial->onExit = [this](ui::Control& c) { medCdFilialExit(c); };
  btpServico->OnBeforePesq = [this](host::TBtnPesquisa& b) { btpServicoBeforePesq(b); };
  btpServico->OnAfterPesq = [this](host::TBtnPesquisa& b) { btpServicoAfterPesq(b); };
  medCdServico->onChange = [this](ui::Control& c) { medCdServicoChange(c); };
  medCdServico->onExit = [this](ui::Control& c) { medCdServicoExit(c); };
  panFiltro->onEnter = [this](ui::Control& c) { panFiltroEnter(c); };
  panFiltro->onExit = [this](ui::Control& c) { panFiltroExit(c); };
}

packet::Packet TfrmClientesServico::loadShowingWait(const std::string& waitKey,
                                                    const std::string& method,
                                                    std::vector<packet::Arg> args) {
  packet::Packet packet;
  Showavi::ShowWhile(this, 6, msgPadrao->Msg(waitKey), [&] {
    packet::CallOptions options;
    options.packedRows = true;
    packet = host::callServer(*netClientesServico, method, std::move(args), options);
  });
  return packet;
}

void TfrmClientesServico::loadHistServFatu() {
  cdsHistServFatu->loadPacket(loadShowingWait(
      "get_cdsHistServFatu", "GetHistServFatu",
      {medCdFilial->text(), cdsServClieCDCLIENTE->asString(), medCdServico->text()}));
}

void TfrmClientesServico::btpFilialBeforePesq(host::TBtnPesquisa&) {
  qryFilial->close();
  qryFilial->setParam("P_CDFILIAL", "");
  qryFilial->setParam("P_TCDFILIAL", "T");
  qryFilial->open();
}

void TfrmClientesServico::btpFilialAfterPesq(host::TBtnPesquisa&) {
  medCdFilial->setText(qryFilialCDFILIAL->asString());
  edtNmFilial->setText(qryFilialNMFILIAL->asString());
}

void TfrmClientesServico::medCdFilialChange(ui::Control&) {
  dtsPadrao->setEnabled(false);
  edtNmFilial->setText("");
  medCdServico->setText("");
}

void TfrmClientesServico::medCdFilialExit(ui::Control&) {
  Vd_Filial(false);
}

void TfrmClientesServico::btpServicoBeforePesq(host::TBtnPesquisa&) {
  qryServico->close();
  qryServico->setParam("P_CDFILIAL", medCdFilial->text());
  qryServico->setParam("P_CDSERVICO", "");
  qryServico->setParam("P_TCDSERVICO", "T");
  qryServico->open();
}

void TfrmClientesServico::btpServicoAfterPesq(host::TBtnPesquisa&) {
  medCdServico->setText(qryServicoCDSERVFILI->asString());
  edtNmServico->setText(qryServicoNMSERVICO->asString());
}

void TfrmClientesServico::medCdServicoChange(ui::Control&) {
  dtsPadrao->setEnabled(false);
  edtNmServico->setText("");
}

void TfrmClientesServico::medCdServicoExit(ui::Control&) {
  Vd_Servico(false);
}

void TfrmClientesServico::Vd_Filial(bool required) {
  try {
    if (Consiste::EmptyString(medCdFilial->text())) {
      if (required)
        Consiste::MensErro(msgPadrao->Msg("Filial_vazia"), true);
      edtNmFilial->setText("");
      return;
    }
    // The normalised code stays in the edit, so what is loaded is what the user sees.
    medCdFilial->setText(Consiste::Ajusta(medCdFilial->text(), 4));
    qryFilial->close();
    qryFilial->setParam("P_CDFILIAL", medCdFilial->text());
    qryFilial->setParam("P_TCDFILIAL", "");
    qryFilial->open();
    if (qryFilial->isEmpty())
      Consiste::MensErro(msgPadrao->Msg("Filial_n_cad"), true);
    edtNmFilial->setText(qryFilialNMFILIAL->asString());
  } catch (...) {
    if (medCdFilial->canFocus())
      medCdFilial->setFocus();
    throw;
  }
}

void TfrmClientesServico::Vd_Servico(bool required) {
  try {
    if (Consiste::EmptyString(medCdServico->text())) {
      if (required)
        Consiste::MensErro(msgPadrao->Msg("Servico_vazio"), true);
      edtNmServico->setText("");
      return;
    }
    medCdServico->setText(Consiste::Ajusta(medCdServico->text(), 5));
    qryServico->close();
    qryServico->setParam("P_CDFILIAL", medCdFilial->text());
    qryServico->setParam("P_CDSERVICO", medCdServico->text());
    qryServico->setParam("P_TCDSERVICO", "");
    qryServico->open();
    if (qryServico->isEmpty())
      Consiste::MensErro(msgPadrao->Msg("Serv_n_cad"), true);
    edtNmServico->setText(qryServicoNMSERVICO->asString());
  } catch (...) {
    // The service edit is disabled only while a row is edited; then the focus stays put.
    if (medCdServico->canFocus())
      medCdServico->setFocus();
    throw;
  }
}

void TfrmClientesServico::panFiltroEnter(ui::Control&) {
  medCdFilial->setTabStop(true);
  medCdServico->setTabStop(true);
  dtsPadrao->setEnabled(false);
  dtsCorrPrecServ->setEnabled(false);
  dtsHistServFatu->setEnabled(false);
  pgcClientesServico->setActivePage(tshClienServ);
  lsbPossiveis->clear();
  lsbCdPossiveis->clear();
  dbgPadrao->setOption(db::GridOption::AlwaysShowSelection, false);
  HabilitacaoPaginas(true);
  HabilitacaoBotoes(true);
}

void TfrmClientesServico::panFiltroExit(ui::Control&) {
  Vd_Filial(true);
  Vd_Servico(true);
  loadServClie();
  MontaLista();
  setCaption("Clientes por Serviço");
  medCdFilial->setTabStop(false);
  medCdServico->setTabStop(false);
  dtsPadrao->setEnabled(true);
  dtsCorrPrecServ->setEnabled(true);
  dtsHistServFatu->setEnabled(true);
  ui::Control* next = cdsServClie->isEmpty() ? static_cast<ui::Control*>(lsbPossiveis) : dbgPadrao;
  if (next->canFocus())
    next->setFocus();
  cdsParamFilial->loadPacket(
      loadShowingWait("get_cdsParamFilial", "GetParamFilial", {medCdFilial->text()}));
  applyBillingParameters();
  applyEnabling();
}

void TfrmClientesServico::applyBillingParameters() {
  Controlmenu::TParamFat* parameters =
      unit().ParamControl == nullptr
          ? nullptr
          : unit().ParamControl->TiposFatur(cdsParamFilialCDTIPOFATUR->asString());
  if (parameters != nullptr) {
    parameters->Load(cdsParamFilialDSPARAMFATFI->asString());
    unit().stMinEfeConsid = parameters->GetAsString(Controlmenu::kMinEfeConsid);
    unit().stMinEfeCorrig = parameters->GetAsString(Controlmenu::kMinEfeCorrig);
  } else {
    unit().stMinEfeConsid = "1";
    unit().stMinEfeCorrig = "1";
  }
  panMinEfet->setVisible(!cdsServClie->isEmpty() && unit().stMinEfeConsid == "1");
  const std::string title =
      msgPadrao->Msg(unit().stMinEfeConsid == "1" ? "MinEfetDia" : "MinEfetPer");
  const int column = Consiste::IndiceCol(*dbgPadrao, "QTEFETMINI");
  if (column >= 0)
    dbgPadrao->column(column).setTitle(title);
  cdsServClieQTEFETMINI->setDisplayLabel(title);
}
