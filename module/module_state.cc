#include "module/module_state.h"

namespace {

// Made when the library is loaded, as the units' initialisations run at a package's load.
ModuleState state;

}  // namespace

void ModuleState::reset() {
  *this = ModuleState();
}

ModuleState& moduleState() {
  return state;
}
