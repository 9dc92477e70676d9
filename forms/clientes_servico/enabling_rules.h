// The page and button enabling rules of the "Clientes por Serviço" main form, as functions of
// the states that decide them.
//
// Which pages, sub-pages, filter controls, menu items, toolbar buttons and client-moving
// buttons are available depends only on which data sets are being edited, what they hold and
// what the user is looking at. EnablingInputs names those states; pageEnabling and
// buttonEnabling give every flag they decide, by name. Nothing here touches a control:
// HabilitacaoPaginas and HabilitacaoBotoes (enabling.cc) read the inputs from the form and
// apply the flags in one pass, so a rule can be read, and tested, as a table.
#pragma once

namespace enabling {

// The pages of pgcClientesServico and the sub-pages of pgcValorServ, in tab order.
enum class Page { ClienServ, ValorServ, TabCorr, CustoProd };
enum class ValuePage { Historico, Excecao, Turno, ExTurno, HistoricoTurno };

struct EnablingInputs {
  // Data sets being edited (edit or insert state).
  bool editingServClie = false;      // S: cdsServClie
  bool editingCorrPrecServ = false;  // C: cdsCorrPrecServ
  bool editingHistServFatu = false;  // H: cdsHistServFatu
  bool editingTurno = false;         // T: cdsTurno
  // What they hold.
  bool rows = false;            // cdsServClie has rows
  bool turnos = false;          // cdsTurno has rows
  bool historyEmpty = true;     // cdsHistServFatu has no row
  bool correctionRows = false;  // cdsCorrPrecServ has rows
  bool clientItems = false;     // lsbPossiveis holds a client
  // The current row's IDCOREFECLIFILI is "U", or the branch's stMinEfeCorrig is "2".
  bool correction = false;
  // ModuFili: the branch cannot be changed in this form.
  bool branchFixed = false;
  // Where the user is.
  Page page = Page::ClienServ;
  ValuePage valuePage = ValuePage::Historico;
  bool clientListFocused = false;
  // F: true only while the filter panel has the focus.
  bool disabling = false;
};

// HabilitacaoPaginas: the enabled pages (each page's menu item takes its page's state), the
// value sub-page that must come forward, and the filter controls.
struct PageEnabling {
  bool clienServ = false;
  bool valorServ = false;
  bool tabCorr = false;
  bool custoProd = false;
  bool historico = false;
  bool excecao = false;
  bool turno = false;
  bool exTurno = false;
  bool historicoTurno = false;
  // Set right after tshExcecao is enabled or disabled: while a client-service row is edited
  // the weekday exceptions are the only value sub-page, so they come forward.
  bool showExcecao = false;
  // Set right after tshHistoricoTurno: the shift exceptions shown lost their page (no shift
  // left, or a shift is being edited elsewhere), so the shifts come forward.
  bool showTurno = false;
  // lsbPossiveis.
  bool clientList = false;
  // lblServico, medCdServico, btpServico.
  bool serviceFilter = false;
  // lblFilial, medCdFilial, btpFilial.
  bool branchFilter = false;
};

// HabilitacaoBotoes: the toolbar buttons (their menu items take the same state: mnuListagem
// that of imprimir, mnuVrServico that of vrServico) and the client-moving buttons, the
// disabling flag already applied.
struct ButtonEnabling {
  bool incluir = false;
  bool alterar = false;
  bool procurar = false;
  bool verificar = false;
  bool imprimir = false;
  bool vrServico = false;
  bool confirmar = false;
  bool cancelar = false;
  bool escolhido = false;
  bool todos = false;
  bool umEsquerda = false;
  bool todosEsquerda = false;
};

PageEnabling pageEnabling(const EnablingInputs& in);
ButtonEnabling buttonEnabling(const EnablingInputs& in);

}  // namespace enabling
