// TfrmPrincipal ("frmPrincipal"): the host application's own main form. It is never shown
// itself (the desktop's main window stands for it); it holds the host's menu, which the window
// shows before the menu of the active module form: "&Sistema" with "&Histórico de alterações"
// (mnuHistoricoAlteracoes), which opens that window (host/frm_historico_alteracoes.h).
#pragma once

#include "host/ui/form.h"
#include "host/ui/menu.h"

namespace host {

class TfrmPrincipal : public ui::Form {
 public:
  TfrmPrincipal();

  ui::MainMenu* mnuPrincipal;
  ui::MenuItem* mnuSistema;
  ui::MenuItem* mnuHistoricoAlteracoes;
};

// Creates the form once and makes it the application's main form.
void CriaPrincipal();

}  // namespace host
