// The module's entry point and the initialisation of its form units.
//
// Loading the library initialises the units in the order Cli_zev00601, Cli_zev00605,
// Cli_zev00600, Cli_zev00602 (after every host unit they use, which live in libraries loaded
// before this one); unloading finalises them in the reverse order.
#include "forms/clientes_servico/cli_zev00600.h"
#include "forms/dialogs/cli_zev00602.h"
#include "forms/dialogs/cli_zev00605.h"
#include "forms/report/cli_zev00601.h"

namespace {

struct ModuleUnits {
  ModuleUnits() {
    Cli_zev00601::initialization();
    Cli_zev00605::initialization();
    Cli_zev00600::initialization();
    Cli_zev00602::initialization();
  }
  ~ModuleUnits() {
    Cli_zev00602::finalization();
    Cli_zev00600::finalization();
    Cli_zev00605::finalization();
    Cli_zev00601::finalization();
  }
};

const ModuleUnits units;

}  // namespace

// Opens the "Clientes por Serviço" form; a failure goes on to the host.
extern "C" __attribute__((visibility("default"))) void IniProc() {
  Cli_zev00600::CriaClientesServico();
}
