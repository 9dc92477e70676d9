// TfrmPadraoSimples: the host's base maintenance form.
//
// It provides the toolbar panMenu (insert, change, delete, confirm, cancel, search, refresh,
// print, help and close buttons, and the record-name text dbtNome), the main menu whose
// mnuManutencao and mnuOperacao items mirror the buttons, the data source dtsPadrao on which
// the commands act, the form's catalogue msgPadrao, the standard catalogue
// msgMensagensPadroes and the screen-code label lblCodTela.
//
// Handlers are virtual and bound to the events here, so a derived form overrides them and
// calls the inherited one. Every menu item runs its button's click handler with the item as
// sender. Closing frees the form. Enter moves to the next control except in grids and memos;
// Escape does nothing. The application creates the form (ui::Application::createForm), which
// then runs FormCreate.
#pragma once

#include <string>

#include "host/db/data_source.h"
#include "host/db/db_edit.h"
#include "host/messages.h"
#include "host/ui/buttons.h"
#include "host/ui/containers.h"
#include "host/ui/form.h"
#include "host/ui/menu.h"
#include "host/ui/static_controls.h"

namespace host {

class TfrmPadraoSimples : public ui::Form {
 public:
  explicit TfrmPadraoSimples(std::string name = "frmPadraoSimples");

  ui::Panel* panMenu;
  ui::SpeedButton* sbtIncluir;
  ui::SpeedButton* sbtAlterar;
  ui::SpeedButton* sbtExcluir;
  ui::SpeedButton* sbtConfirmar;
  ui::SpeedButton* sbtCancelar;
  ui::SpeedButton* sbtProcurar;
  ui::SpeedButton* sbtVerificar;
  ui::SpeedButton* sbtImprimir;
  ui::SpeedButton* sbtAjuda;
  ui::SpeedButton* sbtFechar;
  db::DBText* dbtNome;
  ui::Label* lblCodTela;

  ui::MainMenu* mnuPrincipal;
  ui::MenuItem* mnuManutencao;
  ui::MenuItem* mnuIncluir;
  ui::MenuItem* mnuAlterar;
  ui::MenuItem* mnuExcluir;
  ui::MenuItem* mnuConfirmar;
  ui::MenuItem* mnuCancelar;
  ui::MenuItem* mnuProcurar;
  ui::MenuItem* mnuVerificar;
  ui::MenuItem* mnuLinha3;
  ui::MenuItem* mnuFechar;
  ui::MenuItem* mnuOperacao;
  ui::MenuItem* mnuListagem;
  ui::MenuItem* mnuConfigImpressora;

  db::DataSource* dtsPadrao;
  TMessages* msgPadrao;
  TMessages* msgMensagensPadroes;

  // --- form events ---
  virtual void FormCreate(ui::Form& sender);
  // Frees the form.
  virtual void FormClose(ui::Form& sender, ui::CloseAction& action);
  virtual void FormKeyDown(ui::Control& sender, ui::Key& key, ui::ShiftState shift);

  // --- commands on the data set of dtsPadrao (nothing happens without one) ---
  virtual void sbtIncluirClick(ui::Component& sender);
  virtual void sbtAlterarClick(ui::Component& sender);
  // Asks "Excl" of msgMensagensPadroes; Yes deletes the current row, No ends with the silent
  // abort. An empty data set has nothing to delete.
  virtual void sbtExcluirClick(ui::Component& sender);
  // Posts when the data set is in edit or insert.
  virtual void sbtConfirmarClick(ui::Component& sender);
  // Cancels when the data set is in edit or insert; asks nothing.
  virtual void sbtCancelarClick(ui::Component& sender);
  // The search dialog over the data set.
  virtual void sbtProcurarClick(ui::Component& sender);
  // Refresh and print belong to the derived form; the base has no data to reload or print.
  virtual void sbtVerificarClick(ui::Component& sender);
  virtual void sbtImprimirClick(ui::Component& sender);
  // Tells the help context of the form (this host has no help viewer).
  virtual void sbtAjudaClick(ui::Component& sender);
  virtual void sbtFecharClick(ui::Component& sender);
  virtual void mnuConfigImpressoraClick(ui::Component& sender);

 protected:
  // The data set of dtsPadrao when it is open, else null.
  db::DataSet* dataSetPadrao() const;
};

}  // namespace host
