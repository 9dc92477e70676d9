// Unit Cli_zev00601: the clients-per-service report form and its state.
#pragma once

class TfrmRelClieServ;

namespace Cli_zev00601 {

extern TfrmRelClieServ* frmRelClieServ;
// The report form exists.
extern bool boIdCriado;

void initialization();
void finalization();

// Opens the report form modally, creating it when it does not exist; the main form's print
// command calls it.
void CriaRelClieServ();

}  // namespace Cli_zev00601
