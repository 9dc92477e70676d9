// Unit Cli_zev00600: the entry function of the "Clientes por Serviço" main form. The unit's
// state (the main form, its creation flag, the flags and branch parameters its handlers share)
// is Cli_zev00600::unit(), in module/module_state.h.
#pragma once

#include "module/module_state.h"

namespace Cli_zev00600 {

// Opens the main form: creates it once, then shows it (an open form comes to the front).
void CriaClientesServico();

}  // namespace Cli_zev00600
