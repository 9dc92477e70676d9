#include "host/process_state.h"

#include "host/ui/application.h"
#include "host/ui/regional.h"

namespace host {

ProcessState::ProcessState() = default;
ProcessState::~ProcessState() = default;

void ProcessState::reset() {
  // The forms go first: their queries use the local database and their closing may still
  // read the context.
  ui::resetApplication();
  ui::regional::setClockForTesting(std::nullopt);
  localDatabase.reset();
  context = Quendra::WorkingContext{};
  wait = Showavi::WaitState{};
  connections.reset();
  reportEngines = nullptr;
  costTypeNumbers.clear();
}

ProcessState& processState() {
  // Never destroyed: connections and forms of other libraries may outlive any order of
  // static destruction.
  static auto* instance = new ProcessState();
  return *instance;
}

}  // namespace host
