// Page and button enabling applied to the form: the states that decide it read from the data
// sets and pages, the flags of enabling_rules.h set on every page, filter control, menu item
// and button in one pass; the page predicates, the page menu items, the main page change and
// the state and data changes of the client-service rows.
#include "forms/clientes_servico/cli_zev00600.h"
#include "forms/clientes_servico/enabling_rules.h"
#include "forms/clientes_servico/frm_clientes_servico.h"
#include "host/quendra.h"

using namespace Cli_zev00600;

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

enabling::EnablingInputs TfrmClientesServico::enablingInputs(bool disabling) const {
  using enabling::Page;
  using enabling::ValuePage;
  const ui::TabSheet* page = pgcClientesServico->activePage();
  const ui::TabSheet* valuePage = pgcValorServ->activePage();
  enabling::EnablingInputs in;
  in.editingServClie = cdsServClie->isEditing();
  in.editingCorrPrecServ = cdsCorrPrecServ->isEditing();
  in.editingHistServFatu = cdsHistServFatu->isEditing();
  in.editingTurno = cdsTurno->isEditing();
  in.rows = !cdsServClie->isEmpty();
  in.turnos = !cdsTurno->isEmpty();
  in.historyEmpty = cdsHistServFatu->isEmpty();
  in.correctionRows = !cdsCorrPrecServ->isEmpty();
  in.clientItems = lsbPossiveis->count() > 0;
  in.correction = cdsServClieIDCOREFECLIFILI->asString() == "U" || unit().stMinEfeCorrig == "2";
  in.branchFixed = Quendra::ModuFili();
  in.page = page == tshValorServ   ? Page::ValorServ
            : page == tshTabCorr   ? Page::TabCorr
            : page == tshCustoProd ? Page::CustoProd
                                   : Page::ClienServ;
  in.valuePage = valuePage == tshExcecao          ? ValuePage::Excecao
                 : valuePage == tshTurno          ? ValuePage::Turno
                 : valuePage == tshExTurno        ? ValuePage::ExTurno
                 : valuePage == tshHistoricoTurno ? ValuePage::HistoricoTurno
                                                  : ValuePage::Historico;
  in.clientListFocused = lsbPossiveis->focused();
  in.disabling = disabling;
  return in;
}

void TfrmClientesServico::applyEnabling() {
  HabilitacaoPaginas(false);
  HabilitacaoBotoes(false);
}

void TfrmClientesServico::HabilitacaoPaginas(bool disabling) {
  const enabling::PageEnabling pages = enabling::pageEnabling(enablingInputs(disabling));
  // A sub-page comes forward at the point of the pass where the rules decide it, as the
  // focus leaving the old one may run its exit handlers.
  tshClienServ->setEnabled(pages.clienServ);
  tshHistorico->setEnabled(pages.historico);
  tshExcecao->setEnabled(pages.excecao);
  if (pages.showExcecao)
    pgcValorServ->setActivePage(tshExcecao);
  tshTurno->setEnabled(pages.turno);
  tshExTurno->setEnabled(pages.exTurno);
  tshHistoricoTurno->setEnabled(pages.historicoTurno);
  if (pages.showTurno)
    pgcValorServ->setActivePage(tshTurno);
  tshValorServ->setEnabled(pages.valorServ);
  tshTabCorr->setEnabled(pages.tabCorr);
  tshCustoProd->setEnabled(pages.custoProd);

  lsbPossiveis->setEnabled(pages.clientList);
  for (ui::Control* control :
       {static_cast<ui::Control*>(lblServico), static_cast<ui::Control*>(medCdServico),
        static_cast<ui::Control*>(btpServico)}) {
    control->setEnabled(pages.serviceFilter);
  }
  for (ui::Control* control :
       {static_cast<ui::Control*>(lblFilial), static_cast<ui::Control*>(medCdFilial),
        static_cast<ui::Control*>(btpFilial)}) {
    control->setEnabled(pages.branchFilter);
  }

  mnuClienServ->setEnabled(pages.clienServ);
  mnuTabCorr->setEnabled(pages.tabCorr);
  mnuCusProd->setEnabled(pages.custoProd);
  mnuHistServ->setEnabled(pages.historico);
  mnuExcDia->setEnabled(pages.excecao);
  mnuTurno->setEnabled(pages.turno);
  mnuExTurno->setEnabled(pages.exTurno);
  mnuHistoricoTurno->setEnabled(pages.historicoTurno);
  mnuValorServ->setEnabled(pages.valorServ);

  // The check marks follow the pages as they are now shown.
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
  const enabling::ButtonEnabling buttons = enabling::buttonEnabling(enablingInputs(disabling));
  sbtIncluir->setEnabled(buttons.incluir);
  sbtAlterar->setEnabled(buttons.alterar);
  sbtProcurar->setEnabled(buttons.procurar);
  sbtVerificar->setEnabled(buttons.verificar);
  sbtImprimir->setEnabled(buttons.imprimir);
  sbtVrServico->setEnabled(buttons.vrServico);
  sbtConfirmar->setEnabled(buttons.confirmar);
  sbtCancelar->setEnabled(buttons.cancelar);
  sbtEscolhido->setEnabled(buttons.escolhido);
  sbtTodos->setEnabled(buttons.todos);
  sbtUmEsquerda->setEnabled(buttons.umEsquerda);
  sbtTodosEsquerda->setEnabled(buttons.todosEsquerda);

  mnuIncluir->setEnabled(buttons.incluir);
  mnuAlterar->setEnabled(buttons.alterar);
  mnuProcurar->setEnabled(buttons.procurar);
  mnuVerificar->setEnabled(buttons.verificar);
  mnuConfirmar->setEnabled(buttons.confirmar);
  mnuCancelar->setEnabled(buttons.cancelar);
  mnuListagem->setEnabled(buttons.imprimir);
  mnuVrServico->setEnabled(buttons.vrServico);
}

// --- page changes ---

void TfrmClientesServico::loadCorrPrecServ() {
  cdsCorrPrecServ->loadPacket(loadShowingWait(
      "get_cdsCorrPrecServ", "GetCorrPrecServ",
      {medCdFilial->text(), medCdServico->text(), cdsServClieCDCLIENTE->asString()}));
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
  applyEnabling();
  if (PaginaValorServAtiva())
    pgcValorServChange(*pgcValorServ);
}

void TfrmClientesServico::pgcClientesServicoEnter(ui::Control&) {
  applyEnabling();
}

void TfrmClientesServico::pgcClientesServicoExit(ui::Control&) {
  applyEnabling();
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
  applyEnabling();
}

void TfrmClientesServico::dtsPadraoDataChange(db::DataSource&, db::Field*) {
  applyEnabling();
}
