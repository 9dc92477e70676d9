// Unit Cli_zev00601: the clients-per-service report form and its state.
#pragma once

class TfrmRelClieServ;

namespace Cli_zev00601 {

extern TfrmRelClieServ* frmRelClieServ;
// The report form exists.
extern bool boIdCriado;

void initialization();
void finalization();

}  // namespace Cli_zev00601
