#include "forms/dialogs/cli_zev00605.h"

namespace Cli_zev00605 {

TfrmVigenciaTurno* frmVigenciaTurno = nullptr;
double vigenciaAtual = 0;

void initialization() {
  frmVigenciaTurno = nullptr;
  vigenciaAtual = 0;
}

void finalization() {
  frmVigenciaTurno = nullptr;
}

}  // namespace Cli_zev00605
