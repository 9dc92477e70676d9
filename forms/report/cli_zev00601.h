// Unit Cli_zev00601: the entry function of the clients-per-service report form. The unit's
// state (the form and its creation flag) is Cli_zev00601::unit(), in module/module_state.h.
#pragma once

#include "module/module_state.h"

namespace Cli_zev00601 {

// Opens the report form modally, creating it when it does not exist; the main form's print
// command calls it.
void CriaRelClieServ();

}  // namespace Cli_zev00601
