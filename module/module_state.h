// ModuleState: the state of the module's four form units, in one object that lives as long as
// the module is loaded.
//
// Each unit's part keeps the names its forms use. Who touches what:
// - Cli_zev00600 (the main form's unit): CriaClientesServico sets frmClientesServico and
//   boStCriado, the main form clears boStCriado when it closes, creates and destroys
//   ParamControl, and its handlers set and read the flags boInclui, boData, boVrAlterado and
//   the branch parameters stMinEfeConsid, stMinEfeCorrig. The dialogs read frmClientesServico.
// - Cli_zev00602 (the service value validity dialog): CriaDataAtua writes the dialog's
//   parameters and the dialog reads them; its callers read boCancelado once it has returned.
// - Cli_zev00601 (the report form) and Cli_zev00605 (the shift validity dialog): their entry
//   functions and their forms only.
// Nothing outside the module touches it; tests reset it. Everything runs on the user-interface
// thread.
#pragma once

#include <memory>
#include <string>

#include "host/controlmenu.h"

class TfrmClientesServico;
class TfrmDtValidade;
class TfrmRelClieServ;
class TfrmVigenciaTurno;

namespace Cli_zev00601 {

struct UnitState {
  TfrmRelClieServ* frmRelClieServ = nullptr;
  // The report form exists.
  bool boIdCriado = false;
};

}  // namespace Cli_zev00601

namespace Cli_zev00605 {

struct UnitState {
  // The instance created by the latest call.
  TfrmVigenciaTurno* frmVigenciaTurno = nullptr;
  // The start of validity the shift row has now, to compare the chosen date with.
  double vigenciaAtual = 0;
};

}  // namespace Cli_zev00605

namespace Cli_zev00600 {

struct UnitState {
  // The main form instance; the dialogs reach the main form's connection and data through it.
  TfrmClientesServico* frmClientesServico = nullptr;
  // The main form exists.
  bool boStCriado = false;
  // While true, an insert into cdsServClie started from a grid is refused.
  bool boInclui = true;
  // A changed service value is confirmed through the validity dialog (set by form creation).
  bool boData = false;
  // The service value of the current client-service row changed.
  bool boVrAlterado = false;
  // Branch billing parameters, loaded when the filter is left ("1": minimum staff per day).
  std::string stMinEfeConsid;
  std::string stMinEfeCorrig;
  // The billing-parameter control, alive while the main form exists.
  std::unique_ptr<Controlmenu::TParamControl> ParamControl;
};

}  // namespace Cli_zev00600

namespace Cli_zev00602 {

struct UnitState {
  TfrmDtValidade* frmDtValidade = nullptr;
  bool boStCriado = false;
  // "S": replication mode; anything else: registration mode.
  std::string stIdValor;
  // "S": the reason memo is shown.
  std::string stIdMotivo;
  std::string stCdFilial;
  std::string stCdCliente;
  std::string stCdServico;
  // On confirmation, record the change on the server at once.
  bool boAtualizaHistorico = false;
  // Outcome of the latest dialog: true unless it was confirmed. It stays readable after the
  // dialog is gone (a closed dialog is freed once the user event that opened it ends).
  bool boCancelado = true;
};

}  // namespace Cli_zev00602

// The members stand in the order the units are initialised when the module is loaded
// (Cli_zev00601, Cli_zev00605, Cli_zev00600, Cli_zev00602), so they take their start values in
// that order and are finalised in the reverse order when it is unloaded.
struct ModuleState {
  Cli_zev00601::UnitState zev00601;
  Cli_zev00605::UnitState zev00605;
  Cli_zev00600::UnitState zev00600;
  Cli_zev00602::UnitState zev00602;

  // Back to the values of a module just loaded. The forms it refers to must be gone already
  // (tests reset the host's application first).
  void reset();
};

ModuleState& moduleState();

namespace Cli_zev00601 {
inline UnitState& unit() {
  return moduleState().zev00601;
}
}  // namespace Cli_zev00601

namespace Cli_zev00605 {
inline UnitState& unit() {
  return moduleState().zev00605;
}
}  // namespace Cli_zev00605

namespace Cli_zev00600 {
inline UnitState& unit() {
  return moduleState().zev00600;
}
}  // namespace Cli_zev00600

namespace Cli_zev00602 {
inline UnitState& unit() {
  return moduleState().zev00602;
}
}  // namespace Cli_zev00602
