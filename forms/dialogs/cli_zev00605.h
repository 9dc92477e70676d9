// Unit Cli_zev00605: the shift validity dialog and its state.
#pragma once

class TfrmVigenciaTurno;

namespace Cli_zev00605 {

// The instance created by the latest call.
extern TfrmVigenciaTurno* frmVigenciaTurno;
// The start of validity the shift row has now, to compare the chosen date with.
extern double vigenciaAtual;

void initialization();
void finalization();

}  // namespace Cli_zev00605
