// Unit Cli_zev00602: the entry function of the service value validity dialog.
//
// CriaDataAtua opens the dialog (TfrmDtValidade, forms/dialogs/frm_dt_validade.h) modally; its
// callers are the post rules of the client-service rows, the batch that adds every client and
// the replication command of the main form. They read Cli_zev00602::unit().boCancelado once it
// has returned (the unit's state is in module/module_state.h).
#pragma once

#include <string>

#include "module/module_state.h"

namespace Cli_zev00602 {

// Copies the six parameters into the unit state, creates the dialog when none exists and shows
// it modally. The screen cursor is the hourglass while the dialog is open.
void CriaDataAtua(const std::string& idValor, const std::string& idMotivo,
                  const std::string& cdFilial, const std::string& cdCliente,
                  const std::string& cdServico, bool atualizaHistorico);

}  // namespace Cli_zev00602
