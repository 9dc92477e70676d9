#include "forms/report/cli_zev00601.h"

namespace Cli_zev00601 {

TfrmRelClieServ* frmRelClieServ = nullptr;
bool boIdCriado = false;

void initialization() {
  boIdCriado = false;
}

void finalization() {
  frmRelClieServ = nullptr;
}

}  // namespace Cli_zev00601
