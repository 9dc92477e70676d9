#include "forms/clientes_servico/enabling_rules.h"

namespace enabling {

PageEnabling pageEnabling(const EnablingInputs& in) {
  const bool s = in.editingServClie;
  const bool c = in.editingCorrPrecServ;
  const bool h = in.editingHistServFatu;
  const bool t = in.editingTurno;
  const bool f = in.disabling;
  const bool rows = in.rows;
  const bool onValuePage = in.page == Page::ValorServ;

  PageEnabling out;
  // Each page stays available while its own data set is edited; the client page ignores the
  // rows and the disabling flag.
  out.clienServ = !c && !h && !t;
  out.historico = rows && !s && !c && !t && !f;
  out.excecao = rows && !c && !h && !t && !f;
  out.showExcecao = s && !(onValuePage && in.valuePage == ValuePage::Excecao);
  out.turno = rows && !s && !c && !h && !f;
  out.exTurno = rows && !s && !c && !h && in.turnos && !f;
  out.historicoTurno = rows && !s && !c && !h && !t && in.turnos && !f;
  const ValuePage shownValuePage = out.showExcecao ? ValuePage::Excecao : in.valuePage;
  out.showTurno = onValuePage && shownValuePage == ValuePage::ExTurno && !out.exTurno;
  const bool anyValuePage =
      out.historico || out.excecao || out.turno || out.exTurno || out.historicoTurno;
  out.valorServ = rows && anyValuePage && !f;
  out.tabCorr = rows && !s && !h && !t && in.correction && !f;
  out.custoProd = rows && !c && !h && !t && !f;

  out.clientList = !s && !c && !h && !t;
  out.serviceFilter = out.clientList;
  out.branchFilter = out.serviceFilter && !in.branchFixed;
  return out;
}

namespace {

// One row of the button table; the buttons in a comment share their state.
struct ButtonRow {
  bool incluir;
  bool alterar;
  bool procurar;
  bool verificar;   // imprimir, vrServico
  bool confirmar;   // cancelar
  bool escolhido;   // todos
  bool umEsquerda;  // todosEsquerda
};

// The row that applies: the focused client list's, whatever page is shown, else the shown
// page's.
ButtonRow buttonRow(const EnablingInputs& in) {
  const bool s = in.editingServClie;
  const bool c = in.editingCorrPrecServ;
  const bool h = in.editingHistServFatu;
  const bool t = in.editingTurno;
  const bool rows = in.rows;
  const bool items = in.clientItems;
  if (in.clientListFocused) {
    const bool clientPage = in.page == Page::ClienServ;
    return {false, false, items, true, false, items && !s && clientPage, rows && !s && clientPage};
  }
  switch (in.page) {
    case Page::ClienServ:
      return {false, !s && rows, !s && rows, !s, s, items && !s, rows && !s};
    case Page::TabCorr:
      return {!c, !c && in.correctionRows, !c && in.correctionRows, !c, c, false, false};
    case Page::CustoProd:
      return {false, !s && rows, false, !s, s, false, false};
    case Page::ValorServ:
      break;
  }
  switch (in.valuePage) {
    case ValuePage::Historico:
      return {!h && in.historyEmpty, false, false, !h, h, false, false};
    case ValuePage::Excecao:
      return {false, !s && rows, false, !s, s, false, false};
    case ValuePage::Turno:
    case ValuePage::ExTurno:
      return {false, !t && in.turnos, false, !t, t, false, false};
    case ValuePage::HistoricoTurno:
      break;
  }
  return {false, false, false, true, false, false, false};
}

}  // namespace

ButtonEnabling buttonEnabling(const EnablingInputs& in) {
  const ButtonRow row = buttonRow(in);
  // While the filter has the focus every button governed here is off.
  const bool on = !in.disabling;
  ButtonEnabling out;
  out.incluir = row.incluir && on;
  out.alterar = row.alterar && on;
  out.procurar = row.procurar && on;
  out.verificar = row.verificar && on;
  out.imprimir = row.verificar && on;
  out.vrServico = row.verificar && on;
  out.confirmar = row.confirmar && on;
  out.cancelar = row.confirmar && on;
  out.escolhido = row.escolhido && on;
  out.todos = row.escolhido && on;
  out.umEsquerda = row.umEsquerda && on;
  out.todosEsquerda = row.umEsquerda && on;
  return out;
}

}  // namespace enabling
