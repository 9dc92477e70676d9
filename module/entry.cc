// The module's entry point.
//
// Loading the library gives the form units their state's start values (ModuleState, in the
// order Cli_zev00601, Cli_zev00605, Cli_zev00600, Cli_zev00602, after every host unit they use,
// which live in libraries loaded before this one); unloading finalises them in the reverse
// order.
#include "forms/clientes_servico/cli_zev00600.h"

// Opens the "Clientes por Serviço" form; a failure goes on to the host.
extern "C" __attribute__((visibility("default"))) void IniProc() {
  Cli_zev00600::CriaClientesServico();
}
