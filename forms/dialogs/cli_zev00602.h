// Unit Cli_zev00602: the service value validity dialog and its state.
//
// CriaDataAtua opens the dialog (TfrmDtValidade, forms/dialogs/frm_dt_validade.h) modally; its
// callers are the post rules of the client-service rows, the batch that adds every client and
// the replication command of the main form. They read boCancelado once it has returned.
#pragma once

#include <string>

class TfrmDtValidade;

namespace Cli_zev00602 {

extern TfrmDtValidade* frmDtValidade;
extern bool boStCriado;
// "S": replication mode; anything else: registration mode.
extern std::string stIdValor;
// "S": the reason memo is shown.
extern std::string stIdMotivo;
extern std::string stCdFilial;
extern std::string stCdCliente;
extern std::string stCdServico;
// On confirmation, record the change on the server at once.
extern bool boAtualizaHistorico;
// Outcome of the latest dialog: true unless it was confirmed. It stays readable after the
// dialog is gone (a closed dialog is freed once the user event that opened it ends).
extern bool boCancelado;

// Copies the six parameters into the unit state, creates the dialog when none exists and shows
// it modally. The screen cursor is the hourglass while the dialog is open.
void CriaDataAtua(const std::string& idValor, const std::string& idMotivo,
                  const std::string& cdFilial, const std::string& cdCliente,
                  const std::string& cdServico, bool atualizaHistorico);

void initialization();
void finalization();

}  // namespace Cli_zev00602
