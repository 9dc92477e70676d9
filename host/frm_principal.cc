#include "host/frm_principal.h"

#include "host/frm_historico_alteracoes.h"
#include "host/ui/application.h"

namespace host {

TfrmPrincipal::TfrmPrincipal() : Form("frmPrincipal") {
  setCaption("Faturamento");
  mnuPrincipal = make<ui::MainMenu>("mnuPrincipal");
  mnuSistema = mnuPrincipal->add(this, "mnuSistema", "&Sistema");
  mnuHistoricoAlteracoes =
      mnuSistema->add(this, "mnuHistoricoAlteracoes", "&Histórico de alterações");
  mnuHistoricoAlteracoes->onClick = [](ui::MenuItem&) { AbreHistoricoAlteracoes(); };
  setMenu(mnuPrincipal);
}

void CriaPrincipal() {
  if (dynamic_cast<TfrmPrincipal*>(ui::application().mainForm()) != nullptr)
    return;
  ui::application().setMainForm(ui::application().createForm<TfrmPrincipal>());
}

}  // namespace host
