// TfrmVigenciaTurno: asks the start of validity of a changed shift value.
//
// It shows a proposed date and asks for confirmation when the chosen date is earlier than the
// start of validity the shift row already has. It makes no remote call and changes no data:
// CriaVigenciaTurno returns whether the user confirmed and, if so, the chosen date.
#pragma once

#include "host/frm_roti_geral.h"
#include "host/ui/typed_edits.h"

class TfrmVigenciaTurno : public host::TfrmRotiGeral {
 public:
  TfrmVigenciaTurno();

  ui::Label* lblVigencia;
  ui::DateEdit* depVigencia;

  void sbtConfirmaClick(ui::Component& sender) override;
  void sbtCancelClick(ui::Component& sender) override;
  void FormClose(ui::Form& sender, ui::CloseAction& action) override;
  void VdVigencia();
};

namespace Cli_zev00605 {

// Opens a new dialog with `proposed` in the date edit; `current` is the row's start of
// validity to compare with. True when the user confirmed; then `proposed` holds the chosen date.
bool CriaVigenciaTurno(double& proposed, double current);

}  // namespace Cli_zev00605
