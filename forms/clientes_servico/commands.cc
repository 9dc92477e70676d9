// The toolbar and maintenance-menu commands of the main form. The base form's commands act on
// the client-service rows; here each one acts on the page shown, whose data set may be the
// correction table, the service history or the shift values.
#include <string>
#include <vector>

#include "forms/clientes_servico/frm_clientes_servico.h"
#include "forms/report/cli_zev00601.h"
#include "host/consiste.h"
#include "host/procurar.h"
#include "host/showavi.h"

namespace {

void selectColumn(db::DBGrid& grid, const std::string& field) {
  const int column = Consiste::IndiceCol(grid, field);
  if (column >= 0)
    grid.setSelectedIndex(column);
}

}  // namespace

bool TfrmClientesServico::confirmsCancel() const {
  return msgMensagensPadroes->ShowMsg("Canc", ui::MessageKind::Confirmation,
                                      ui::MessageButtons::YesNo) == ui::mrYes;
}

void TfrmClientesServico::sbtIncluirClick(ui::Component& sender) {
  if (PaginaTabCorrAtiva()) {
    dbgCorrPrecServ->setFocus();
    cdsCorrPrecServ->append();
    return;
  }
  host::TfrmPadraoSimples::sbtIncluirClick(sender);
}

void TfrmClientesServico::sbtAlterarClick(ui::Component& sender) {
  if (PaginaTabCorrAtiva()) {
    cdsCorrPrecServ->edit();
    selectColumn(*dbgCorrPrecServ, "VRPEINICSERV");
  } else if (PaginaTurnoAtiva() || PaginaExcecTurnoAtiva()) {
    cdsTurno->edit();
    selectColumn(*dbgTurno, "DSEMISTURCLI");
  } else {
    host::TfrmPadraoSimples::sbtAlterarClick(sender);
    selectColumn(*dbgPadrao, "VRSERVFATU");
  }
}

void TfrmClientesServico::sbtConfirmarClick(ui::Component& sender) {
  host::TfrmPadraoSimples::sbtConfirmarClick(sender);
  if (cdsCorrPrecServ->isEditing())
    cdsCorrPrecServ->post();
  if (cdsHistServFatu->isEditing())
    cdsHistServFatu->post();
  // A shift row being inserted is not posted here.
  if (cdsTurno->state() == db::DataSetState::Edit)
    cdsTurno->post();
  if (!PaginaTurnoAtiva())
    sbtVerificarClick(*sbtVerificar);
}

void TfrmClientesServico::sbtCancelarClick(ui::Component& sender) {
  host::TfrmPadraoSimples::sbtCancelarClick(sender);
  if (PaginaTabCorrAtiva()) {
    if (cdsCorrPrecServ->isEditing() && confirmsCancel())
      cdsCorrPrecServ->cancel();
  } else if (PaginaHistoricoAtiva()) {
    if (cdsHistServFatu->isEditing() && confirmsCancel())
      cdsHistServFatu->cancel();
  }
  if ((PaginaTurnoAtiva() || PaginaExcecTurnoAtiva()) && cdsTurno->isEditing() && confirmsCancel())
    cdsTurno->cancel();
  applyEnabling();
}

void TfrmClientesServico::sbtProcurarClick(ui::Component& /*sender*/) {
  if (activeControl() == lsbPossiveis) {
    Procurar::Procura(*cdsClientesFilial, caption());
    return;
  }
  // The grid drops this setting again when it loses the focus.
  dbgPadrao->setOption(db::GridOption::AlwaysShowSelection, true);
  if (PaginaClienServAtiva())
    Procurar::Procura(*cdsServClie, caption());
  else if (PaginaTabCorrAtiva())
    Procurar::Procura(*cdsCorrPrecServ, caption());
}

void TfrmClientesServico::refreshServClie() {
  std::vector<packet::Value> key;
  if (cdsServClie->active() && !cdsServClie->isEmpty()) {
    for (const db::Field* field :
         {cdsServClieCDFILIAL, cdsServClieCDSERVFILI, cdsServClieCDCLIENTE})
      key.emplace_back(field->asString());
  }
  // Reloading drops every unsaved change: after a failed save those stay until the user
  // agrees to drop them, so that the next save can still send them.
  if (cdsServClie->changeCount() > 0 && !confirmsCancel())
    return;
  Showavi::ShowWhile(this, 6, msgPadrao->Msg("get_cdsServClie"), [this] { loadServClie(); });
  if (!key.empty())
    cdsServClie->locate("CDFILIAL;CDSERVFILI;CDCLIENTE", key, {.caseInsensitive = true});
}

void TfrmClientesServico::sbtVerificarClick(ui::Component& /*sender*/) {
  if (lsbPossiveis->focused()) {
    cdsClientesFilial->loadPacket(loadShowingWait("get_cdsClientesFilial", "GetClientesFilial",
                                                  {medCdFilial->text(), medCdServico->text()}));
  }
  if (PaginaClienServAtiva() || PaginaExcecDiaAtiva() || PaginaCustoProdAtiva())
    refreshServClie();
  if (PaginaHistoricoAtiva())
    loadHistServFatu();
  if (PaginaTurnoAtiva() || PaginaExcecTurnoAtiva())
    GetTurno(cdsTurnoCDTURNO->asString());
  else if (PaginaHistoricoTurnoAtiva())
    GetHistoricoTurno();
  HabilitacaoBotoes(false);
}

void TfrmClientesServico::sbtImprimirClick(ui::Component& /*sender*/) {
  Cli_zev00601::CriaRelClieServ();
}
