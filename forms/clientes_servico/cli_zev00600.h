// Unit Cli_zev00600: the state of the "Clientes por Serviço" module shared by its forms, and
// the entry function of the main form.
#pragma once

#include <memory>
#include <string>

#include "host/controlmenu.h"

class TfrmClientesServico;

namespace Cli_zev00600 {

// The main form instance; the dialogs reach the main form's connection and data through it.
extern TfrmClientesServico* frmClientesServico;
// The main form exists.
extern bool boStCriado;
// While true, an insert into cdsServClie started from a grid is refused.
extern bool boInclui;
// A changed service value is confirmed through the validity dialog.
extern bool boData;
// The service value of the current client-service row changed.
extern bool boVrAlterado;
// Branch billing parameters, loaded when the filter is left ("1": minimum staff per day).
extern std::string stMinEfeConsid;
extern std::string stMinEfeCorrig;
// The billing-parameter control, alive while the main form exists.
extern std::unique_ptr<Controlmenu::TParamControl> ParamControl;

// Opens the main form: creates it once, then shows it (an open form comes to the front).
void CriaClientesServico();

void initialization();
void finalization();

}  // namespace Cli_zev00600
