// TfrmRotiGeral: the host's base dialog.
//
// The frame of a modal dialog: the group grbDadosRel that holds the dialog's own controls, the
// side panel panBotoes at the right with the confirm button sbtConfirma and the cancel button
// sbtCancel, the catalogue msgPadrao and the screen-code label lblCodTela. The confirm button
// runs sbtConfirmaClick (the base sets the modal result OK), the cancel button sbtCancelClick
// (closes without confirming, so the modal result reads Cancel). Enter moves to the next
// control except in memos; Escape cancels. Handlers are virtual and bound here, so a derived
// dialog overrides them and calls the inherited one.
#pragma once

#include <string>

#include "host/messages.h"
#include "host/ui/buttons.h"
#include "host/ui/containers.h"
#include "host/ui/form.h"
#include "host/ui/static_controls.h"

namespace host {

class TfrmRotiGeral : public ui::Form {
 public:
  explicit TfrmRotiGeral(std::string name = "frmRotiGeral");

  ui::Panel* panBotoes;
  ui::SpeedButton* sbtConfirma;
  ui::SpeedButton* sbtCancel;
  ui::GroupBox* grbDadosRel;
  ui::Label* lblCodTela;
  TMessages* msgPadrao;

  virtual void FormCreate(ui::Form& sender);
  virtual void FormActivate(ui::Form& sender);
  // Keeps the action the toolkit proposes: a closed dialog is hidden until its caller is done.
  virtual void FormClose(ui::Form& sender, ui::CloseAction& action);
  virtual void FormKeyDown(ui::Control& sender, ui::Key& key, ui::ShiftState shift);
  virtual void sbtConfirmaClick(ui::Component& sender);
  virtual void sbtCancelClick(ui::Component& sender);
};

}  // namespace host
