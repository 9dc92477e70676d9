// Which pages, sub-pages, filter controls, menu items, toolbar buttons and client-moving buttons
// are available, recomputed from scratch from the edit states of the data sets and the page
// shown; the page predicates, the page menu items, the main page change and the state and data
// changes of the client-service rows.
#include <optional>

#include "forms/clientes_servico/cli_zev00600.h"
#include "forms/clientes_servico/frm_clientes_servico.h"
#include "host/quendra.h"

using namespace Cli_zev00600;

namespace {

// The enabled state of the toolbar and moving buttons in one context; the buttons in a
// comment share their state.
struct ButtonRow {
  bool incluir;
  bool alterar;
  bool procurar;
  bool verificar;   // sbtImprimir, sbtVrServico
  bool confirmar;   // sbtCancelar
  bool escolhido;   // sbtTodos
  bool umEsquerda;  // sbtTodosEsquerda
};

}  // namespace

void TfrmClientesServico::bindEnablingHandlers() {
  pgcClientesServico->onChange = [this](ui::Control& c) { pgcClientesServicoChange(c); };
  pgcClientesServico->onEnter = [this](ui::Control& c) { pgcClientesServicoEnter(c); };
  pgcClientesServico->onExit = [this](ui::Control& c) { pgcClientesServicoExit(c); };
  dtsPadrao->onStateChange = [this](db::DataSource& s) { dtsPadraoStateChange(s); };
  dtsPadrao->onDataChange = [this](db::DataSource& s, db::Field* f) { dtsPadraoDataChange(s, f); };
  mnuClienServ->onClick = [this](ui::MenuItem& m) { mnuClienServClick(m); };
  mnuTabCorr->onClick = [this](ui::MenuItem& m) { mnuTabCorrClick(m); };
  mnuCusProd->onClick = [this](ui::MenuItem& m) { mnuCusProdClick(m); };
  mnuValorServ->onClick = [this](ui::MenuItem& m) { mnuValorServClick(m); };
  mnuHistServ->onClick = [this](ui::MenuItem& m) { mnuHistServClick(m); };
  mnuExcDia->onClick = [this](ui::MenuItem& m) { mnuExcDiaClick(m); };
  mnuTurno->onClick = [this](ui::MenuItem& m) { mnuTurnoClick(m); };
  mnuExTurno->onClick = [this](ui::MenuItem& m) { mnuExTurnoClick(m); };
  mnuHistoricoTurno->onClick = [this](ui::MenuItem& m) { mnuHistoricoTurnoClick(m); };
}

// --- page predicates ---

bool TfrmClientesServico::PaginaClienServAtiva() const {
  return pgcClientesServico->activePage() == tshClienServ;
}

bool TfrmClientesServico::PaginaValorServAtiva() const {
  return pgcClientesServico->activePage() == tshValorServ;
}

bool TfrmClientesServico::PaginaTabCorrAtiva() const {
  return pgcClientesServico->activePage() == tshTabCorr;
}

bool TfrmClientesServico::PaginaCustoProdAtiva() const {
  return pgcClientesServico->activePage() == tshCustoProd;
}

bool TfrmClientesServico::PaginaHistoricoAtiva() const {
  return PaginaValorServAtiva() && pgcValorServ->activePage() == tshHistorico;
}

bool TfrmClientesServico::PaginaExcecDiaAtiva() const {
  return PaginaValorServAtiva() && pgcValorServ->activePage() == tshExcecao;
}

bool TfrmClientesServico::PaginaTurnoAtiva() const {
  return PaginaValorServAtiva() && pgcValorServ->activePage() == tshTurno;
}

bool TfrmClientesServico::PaginaExcecTurnoAtiva() const {
  return PaginaValorServAtiva() && pgcValorServ->activePage() == tshExTurno;
}

bool TfrmClientesServico::PaginaHistoricoTurnoAtiva() const {
  return PaginaValorServAtiva() && pgcValorServ->activePage() == tshHistoricoTurno;
}

// --- enabling ---

void TfrmClientesServico::HabilitacaoPaginas(bool disabling) {
  const bool rows = !cdsServClie->isEmpty();
  const bool s = cdsServClie->isEditing();
  const bool c = cdsCorrPrecServ->isEditing();
  const bool h = cdsHistServFatu->isEditing();
  const bool t = cdsTurno->isEditing();
  const bool f = disabling;
  const bool turnos = !cdsTurno->isEmpty();
  const bool corr =
      cdsServClie->fieldByName("IDCOREFECLIFILI").asString() == "U" || unit().stMinEfeCorrig == "2";

  // Later steps read the enabled flags set by earlier ones, so the order matters.
  tshClienServ->setEnabled(!c && !h && !t);
  tshHistorico->setEnabled(rows && !s && !c && !t && !f);
  tshExcecao->setEnabled(rows && !c && !h && !t && !f);
  // While a client-service row is edited the weekday exceptions are the only value sub-page.
  if (s && !PaginaExcecDiaAtiva())
    pgcValorServ->setActivePage(tshExcecao);
  tshTurno->setEnabled(rows && !s && !c && !h && !f);
  tshExTurno->setEnabled(rows && !s && !c && !h && turnos && !f);
  tshHistoricoTurno->setEnabled(rows && !s && !c && !h && !t && turnos && !f);
  if (PaginaExcecTurnoAtiva() && !tshExTurno->enabled())
    pgcValorServ->setActivePage(tshTurno);
  const bool anyValuePage = tshHistorico->enabled() || tshExcecao->enabled() ||
                            tshTurno->enabled() || tshExTurno->enabled() ||
                            tshHistoricoTurno->enabled();
  tshValorServ->setEnabled(rows && anyValuePage && !f);
  tshTabCorr->setEnabled(rows && !s && !h && !t && corr && !f);
  tshCustoProd->setEnabled(rows && !c && !h && !t && !f);

  lsbPossiveis->setEnabled(!s && !c && !h && !t);
  lblServico->setEnabled(lsbPossiveis->enabled());
  medCdServico->setEnabled(lblServico->enabled());
  btpServico->setEnabled(lblServico->enabled());
  lblFilial->setEnabled(lblServico->enabled() && !Quendra::ModuFili());
  medCdFilial->setEnabled(lblFilial->enabled());
  btpFilial->setEnabled(lblFilial->enabled());

  mnuClienServ->setEnabled(tshClienServ->enabled());
  mnuTabCorr->setEnabled(tshTabCorr->enabled());
  mnuCusProd->setEnabled(tshCustoProd->enabled());
  mnuHistServ->setEnabled(tshHistorico->enabled());
  mnuExcDia->setEnabled(tshExcecao->enabled());
  mnuTurno->setEnabled(tshTurno->enabled());
  mnuExTurno->setEnabled(tshExTurno->enabled());
  mnuHistoricoTurno->setEnabled(tshHistoricoTurno->enabled());
  mnuValorServ->setEnabled(tshValorServ->enabled());

  mnuClienServ->setChecked(PaginaClienServAtiva());
  mnuTabCorr->setChecked(PaginaTabCorrAtiva());
  mnuCusProd->setChecked(PaginaCustoProdAtiva());
  mnuValorServ->setChecked(PaginaValorServAtiva());
  mnuHistServ->setChecked(PaginaHistoricoAtiva());
  mnuExcDia->setChecked(PaginaExcecDiaAtiva());
  mnuTurno->setChecked(PaginaTurnoAtiva());
  mnuExTurno->setChecked(PaginaExcecTurnoAtiva());
  mnuHistoricoTurno->setChecked(PaginaHistoricoTurnoAtiva());
}

void TfrmClientesServico::HabilitacaoBotoes(bool disabling) {
  const bool rows = !cdsServClie->isEmpty();
  const bool s = cdsServClie->isEditing();
  const bool c = cdsCorrPrecServ->isEditing();
  const bool h = cdsHistServFatu->isEditing();
  const bool t = cdsTurno->isEditing();
  const bool turnos = !cdsTurno->isEmpty();
  const bool items = lsbPossiveis->count() > 0;
  const bool corrRows = !cdsCorrPrecServ->isEmpty();

  std::optional<ButtonRow> row;
  if (lsbPossiveis->focused()) {
    const bool clientPage = PaginaClienServAtiva();
    row = ButtonRow{
        false, false, items, true, false, items && !s && clientPage, rows && !s && clientPage};
  } else if (PaginaClienServAtiva()) {
    row = ButtonRow{false, !s && rows, !s && rows, !s, s, items && !s, rows && !s};
  } else if (PaginaHistoricoAtiva()) {
    row = ButtonRow{!h && cdsHistServFatu->isEmpty(), false, false, !h, h, false, false};
  } else if (PaginaExcecDiaAtiva() || PaginaCustoProdAtiva()) {
    row = ButtonRow{false, !s && rows, false, !s, s, false, false};
  } else if (PaginaTurnoAtiva() || PaginaExcecTurnoAtiva()) {
    row = ButtonRow{false, !t && turnos, false, !t, t, false, false};
  } else if (PaginaHistoricoTurnoAtiva()) {
    row = ButtonRow{false, false, false, true, false, false, false};
  } else if (PaginaTabCorrAtiva()) {
    row = ButtonRow{!c, !c && corrRows, !c && corrRows, !c, c, false, false};
  }
  if (row) {
    sbtIncluir->setEnabled(row->incluir);
    sbtAlterar->setEnabled(row->alterar);
    sbtProcurar->setEnabled(row->procurar);
    sbtVerificar->setEnabled(row->verificar);
    sbtImprimir->setEnabled(row->verificar);
    sbtVrServico->setEnabled(row->verificar);
    sbtConfirmar->setEnabled(row->confirmar);
    sbtCancelar->setEnabled(row->confirmar);
    sbtEscolhido->setEnabled(row->escolhido);
    sbtTodos->setEnabled(sbtEscolhido->enabled());
    sbtUmEsquerda->setEnabled(row->umEsquerda);
    sbtTodosEsquerda->setEnabled(sbtUmEsquerda->enabled());
  }

  for (ui::SpeedButton* button :
       {sbtIncluir, sbtAlterar, sbtProcurar, sbtVerificar, sbtConfirmar, sbtCancelar, sbtImprimir,
        sbtVrServico, sbtEscolhido, sbtTodos, sbtUmEsquerda, sbtTodosEsquerda}) {
    button->setEnabled(button->enabled() && !disabling);
  }

  mnuIncluir->setEnabled(sbtIncluir->enabled());
  mnuAlterar->setEnabled(sbtAlterar->enabled());
  mnuProcurar->setEnabled(sbtProcurar->enabled());
  mnuVerificar->setEnabled(sbtVerificar->enabled());
  mnuConfirmar->setEnabled(sbtConfirmar->enabled());
  mnuCancelar->setEnabled(sbtCancelar->enabled());
  mnuListagem->setEnabled(sbtImprimir->enabled());
  mnuVrServico->setEnabled(sbtVrServico->enabled());
}

// --- page changes ---

void TfrmClientesServico::loadCorrPrecServ() {
  cdsCorrPrecServ->loadPacket(loadShowingWait("get_cdsCorrPrecServ", "GetCorrPrecServ",
                                              {medCdFilial->text(), medCdServico->text(),
                                               cdsServClie->fieldByName("CDCLIENTE").asString()}));
}

void TfrmClientesServico::pgcClientesServicoChange(ui::Control&) {
  // The table is read afresh each time its page is shown, unless it is being edited.
  if (PaginaTabCorrAtiva() && !cdsCorrPrecServ->isEditing())
    loadCorrPrecServ();
  ui::Control* focus = nullptr;
  if (PaginaClienServAtiva()) {
    focus = dbgPadrao;
  } else if (PaginaTabCorrAtiva()) {
    focus = dbgCorrPrecServ;
  } else if (PaginaCustoProdAtiva() && !cdsServClie->isEditing()) {
    focus = dbeCdProduto;
  }
  if (focus != nullptr && focus->canFocus())
    focus->setFocus();
  HabilitacaoPaginas(false);
  HabilitacaoBotoes(false);
  if (PaginaValorServAtiva())
    pgcValorServChange(*pgcValorServ);
}

void TfrmClientesServico::pgcClientesServicoEnter(ui::Control&) {
  HabilitacaoPaginas(false);
  HabilitacaoBotoes(false);
}

void TfrmClientesServico::pgcClientesServicoExit(ui::Control&) {
  HabilitacaoPaginas(false);
  HabilitacaoBotoes(false);
}

void TfrmClientesServico::showPage(ui::TabSheet* page) {
  pgcClientesServico->setActivePage(page);
  pgcClientesServicoChange(*pgcClientesServico);
}

void TfrmClientesServico::showValuePage(ui::TabSheet* subPage) {
  pgcClientesServico->setActivePage(tshValorServ);
  if (subPage != nullptr)
    pgcValorServ->setActivePage(subPage);
  pgcClientesServicoChange(*pgcClientesServico);
  pgcValorServChange(*pgcValorServ);
}

void TfrmClientesServico::mnuClienServClick(ui::MenuItem&) {
  showPage(tshClienServ);
}

void TfrmClientesServico::mnuTabCorrClick(ui::MenuItem&) {
  showPage(tshTabCorr);
}

void TfrmClientesServico::mnuCusProdClick(ui::MenuItem&) {
  showPage(tshCustoProd);
}

void TfrmClientesServico::mnuValorServClick(ui::MenuItem&) {
  showValuePage(nullptr);
}

void TfrmClientesServico::mnuHistServClick(ui::MenuItem&) {
  showValuePage(tshHistorico);
}

void TfrmClientesServico::mnuExcDiaClick(ui::MenuItem&) {
  showValuePage(tshExcecao);
}

void TfrmClientesServico::mnuTurnoClick(ui::MenuItem&) {
  showValuePage(tshTurno);
}

void TfrmClientesServico::mnuExTurnoClick(ui::MenuItem&) {
  showValuePage(tshExTurno);
}

void TfrmClientesServico::mnuHistoricoTurnoClick(ui::MenuItem&) {
  showValuePage(tshHistoricoTurno);
}

// --- client-service rows ---

void TfrmClientesServico::dtsPadraoStateChange(db::DataSource&) {
  const db::DataSetState state = dtsPadrao->state();
  if (state == db::DataSetState::Browse) {
    MostraTipoCusto(unit().boData);
  }
  if (state == db::DataSetState::Edit) {
    if (tshTabCorr->enabled() && !cdsCorrPrecServ->active()) {
      loadCorrPrecServ();
    } else if (tshHistorico->enabled() && !cdsHistServFatu->active()) {
      loadHistServFatu();
    }
  }
  if (state == db::DataSetState::Browse)
    unit().boVrAlterado = false;
  HabilitacaoPaginas(false);
  HabilitacaoBotoes(false);
}

void TfrmClientesServico::dtsPadraoDataChange(db::DataSource&, db::Field*) {
  HabilitacaoPaginas(false);
  HabilitacaoBotoes(false);
}
