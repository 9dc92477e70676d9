// The enabling rules as tables: the states that decide them, and every flag they give.
#include "forms/clientes_servico/enabling_rules.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace enabling {
namespace {

// The enabled pages, then the filters, then the sub-page brought forward, in one line.
std::string describe(const PageEnabling& p) {
  std::string out;
  auto add = [&](bool on, const char* name) {
    if (on)
      out += (out.empty() ? "" : " ") + std::string(name);
  };
  add(p.clienServ, "ClienServ");
  add(p.valorServ, "ValorServ");
  add(p.tabCorr, "TabCorr");
  add(p.custoProd, "CustoProd");
  add(p.historico, "Historico");
  add(p.excecao, "Excecao");
  add(p.turno, "Turno");
  add(p.exTurno, "ExTurno");
  add(p.historicoTurno, "HistoricoTurno");
  out += " |";
  add(p.clientList, "list");
  add(p.serviceFilter, "service");
  add(p.branchFilter, "branch");
  if (p.showExcecao)
    out += " | show Excecao";
  if (p.showTurno)
    out += " | show Turno";
  return out;
}

std::string describe(const ButtonEnabling& b) {
  std::string out;
  auto add = [&](bool on, const char* name) {
    if (on)
      out += (out.empty() ? "" : " ") + std::string(name);
  };
  add(b.incluir, "Incluir");
  add(b.alterar, "Alterar");
  add(b.procurar, "Procurar");
  add(b.verificar, "Verificar");
  add(b.imprimir, "Imprimir");
  add(b.vrServico, "VrServico");
  add(b.confirmar, "Confirmar");
  add(b.cancelar, "Cancelar");
  add(b.escolhido, "Escolhido");
  add(b.todos, "Todos");
  add(b.umEsquerda, "UmEsquerda");
  add(b.todosEsquerda, "TodosEsquerda");
  return out.empty() ? "none" : out;
}

// A service with rows, shifts, a value history, correction intervals, clients left to bind
// and its correction table open; nothing edited, the client page shown.
EnablingInputs loaded() {
  EnablingInputs in;
  in.rows = true;
  in.turnos = true;
  in.historyEmpty = false;
  in.correctionRows = true;
  in.clientItems = true;
  in.correction = true;
  return in;
}

struct Case {
  const char* what;
  EnablingInputs in;
  const char* expected;
};

const std::string kAllPages =
    "ClienServ ValorServ TabCorr CustoProd Historico Excecao Turno ExTurno HistoricoTurno";

TEST(EnablingRulesTest, EachPageStaysAvailableWhileItsOwnDataSetIsEdited) {
  auto with = [](auto change) {
    EnablingInputs in = loaded();
    change(in);
    return in;
  };
  const std::vector<Case> cases = {
      {"nothing edited", loaded(), ""},
      {"a client-service row", with([](auto& in) { in.editingServClie = true; }),
       "ClienServ ValorServ CustoProd Excecao | | show Excecao"},
      {"a correction interval", with([](auto& in) { in.editingCorrPrecServ = true; }), "TabCorr |"},
      {"the value history", with([](auto& in) { in.editingHistServFatu = true; }),
       "ValorServ Historico |"},
      {"a shift", with([](auto& in) { in.editingTurno = true; }), "ValorServ Turno ExTurno |"},
      {"the filter has the focus", with([](auto& in) { in.disabling = true; }),
       "ClienServ | list service branch"},
      {"no rows", with([](auto& in) { in.rows = false; }), "ClienServ | list service branch"},
      {"no shift", with([](auto& in) { in.turnos = false; }),
       "ClienServ ValorServ TabCorr CustoProd Historico Excecao Turno | list service branch"},
      {"no correction condition", with([](auto& in) { in.correction = false; }),
       "ClienServ ValorServ CustoProd Historico Excecao Turno ExTurno HistoricoTurno | list "
       "service branch"},
      {"the branch fixed by the host", with([](auto& in) { in.branchFixed = true; }),
       "ClienServ ValorServ TabCorr CustoProd Historico Excecao Turno ExTurno HistoricoTurno | "
       "list service"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string expected =
        std::string(c.expected).empty() ? kAllPages + " | list service branch" : c.expected;
    EXPECT_EQ(describe(pageEnabling(c.in)), expected);
  }
}

TEST(EnablingRulesTest, ASubPageThatMustNotStayShownGivesWay) {
  EnablingInputs in = loaded();
  in.page = Page::ValorServ;
  in.valuePage = ValuePage::Excecao;
  in.editingServClie = true;
  // Already on the weekday exceptions: nothing to bring forward.
  EXPECT_FALSE(pageEnabling(in).showExcecao);
  // From any other sub-page, or with the value page not shown, they come forward.
  in.valuePage = ValuePage::ExTurno;
  EXPECT_TRUE(pageEnabling(in).showExcecao);
  EXPECT_FALSE(pageEnabling(in).showTurno);
  in.page = Page::CustoProd;
  EXPECT_TRUE(pageEnabling(in).showExcecao);

  // The shift exceptions give way to the shifts once no shift is left...
  in = loaded();
  in.page = Page::ValorServ;
  in.valuePage = ValuePage::ExTurno;
  EXPECT_FALSE(pageEnabling(in).showTurno);
  in.turnos = false;
  EXPECT_TRUE(pageEnabling(in).showTurno);
  // ...but not while the value page is not the one shown, nor while a shift is edited there.
  in.page = Page::ClienServ;
  EXPECT_FALSE(pageEnabling(in).showTurno);
  in = loaded();
  in.page = Page::ValorServ;
  in.valuePage = ValuePage::ExTurno;
  in.editingTurno = true;
  EXPECT_FALSE(pageEnabling(in).showTurno);
}

TEST(EnablingRulesTest, ButtonsFollowTheFocusedListOrThePageShown) {
  auto on = [](Page page, ValuePage valuePage, auto change) {
    EnablingInputs in = loaded();
    in.page = page;
    in.valuePage = valuePage;
    change(in);
    return in;
  };
  const auto nothing = [](EnablingInputs&) {};
  const auto history = ValuePage::Historico;
  const std::vector<Case> cases = {
      {"client page", on(Page::ClienServ, history, nothing),
       "Alterar Procurar Verificar Imprimir VrServico Escolhido Todos UmEsquerda TodosEsquerda"},
      {"client page, row edited",
       on(Page::ClienServ, history, [](auto& in) { in.editingServClie = true; }),
       "Confirmar Cancelar"},
      {"client page, nothing bound nor to bind",
       on(Page::ClienServ, history,
          [](auto& in) {
            in.rows = false;
            in.clientItems = false;
          }),
       "Verificar Imprimir VrServico"},
      {"client list focused on the client page",
       on(Page::ClienServ, history, [](auto& in) { in.clientListFocused = true; }),
       "Procurar Verificar Imprimir VrServico Escolhido Todos UmEsquerda TodosEsquerda"},
      {"client list focused on the cost page",
       on(Page::CustoProd, history, [](auto& in) { in.clientListFocused = true; }),
       "Procurar Verificar Imprimir VrServico"},
      {"client list focused while a row is edited",
       on(Page::ClienServ, history,
          [](auto& in) {
            in.clientListFocused = true;
            in.editingServClie = true;
          }),
       "Procurar Verificar Imprimir VrServico"},
      {"history with rows", on(Page::ValorServ, history, nothing), "Verificar Imprimir VrServico"},
      {"empty history", on(Page::ValorServ, history, [](auto& in) { in.historyEmpty = true; }),
       "Incluir Verificar Imprimir VrServico"},
      {"history edited",
       on(Page::ValorServ, history, [](auto& in) { in.editingHistServFatu = true; }),
       "Confirmar Cancelar"},
      {"weekday exceptions", on(Page::ValorServ, ValuePage::Excecao, nothing),
       "Alterar Verificar Imprimir VrServico"},
      {"shifts", on(Page::ValorServ, ValuePage::Turno, nothing),
       "Alterar Verificar Imprimir VrServico"},
      {"shift exceptions, no shift",
       on(Page::ValorServ, ValuePage::ExTurno, [](auto& in) { in.turnos = false; }),
       "Verificar Imprimir VrServico"},
      {"shift edited",
       on(Page::ValorServ, ValuePage::Turno, [](auto& in) { in.editingTurno = true; }),
       "Confirmar Cancelar"},
      {"shift history", on(Page::ValorServ, ValuePage::HistoricoTurno, nothing),
       "Verificar Imprimir VrServico"},
      {"correction table", on(Page::TabCorr, history, nothing),
       "Incluir Alterar Procurar Verificar Imprimir VrServico"},
      {"empty correction table",
       on(Page::TabCorr, history, [](auto& in) { in.correctionRows = false; }),
       "Incluir Verificar Imprimir VrServico"},
      {"correction interval edited",
       on(Page::TabCorr, history, [](auto& in) { in.editingCorrPrecServ = true; }),
       "Confirmar Cancelar"},
      {"cost page", on(Page::CustoProd, history, nothing), "Alterar Verificar Imprimir VrServico"},
      {"cost page, row edited",
       on(Page::CustoProd, history, [](auto& in) { in.editingServClie = true; }),
       "Confirmar Cancelar"},
      {"the filter has the focus",
       on(Page::ClienServ, history, [](auto& in) { in.disabling = true; }), "none"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(describe(buttonEnabling(c.in)), c.expected);
  }
}

}  // namespace
}  // namespace enabling
