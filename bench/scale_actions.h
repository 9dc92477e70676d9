// The user actions of the scale benchmark, each run through the real module, its application
// server and HTTP by the script driver, in a process of its own (so no state and no memory
// passes from one run to the next), on the database file it is given. A headless run starts
// the scale_client program afresh, so its memory is the client tier's alone: no pages of the
// benchmark and no desktop toolkit; a run in the window forks the benchmark.
#pragma once

#include <map>
#include <string>

namespace bench {

enum class Action {
  LeaveFilter,        // type branch and service, leave the filter: both lists loaded
  LeaveFilterWindow,  // the same with the desktop window mirroring the forms
  ScrollWindow,       // in the window, the client list and the grid scrolled to their ends
  MoveAllIn,          // every listed client moved in with one dialog
  MoveAllInWindow,    // the same with the desktop window mirroring the forms
  ConfirmEdit,        // one row's description changed and confirmed
};

const char* actionName(Action action);

// Where the application server runs: in the action's process (as the script driver and the
// desktop without a server address run it), or in a process of its own on loopback, as in a
// deployment, so the action's process holds the client tier alone.
enum class ServerPlacement { InProcess, OwnProcess };

struct ActionResult {
  double seconds = 0;    // the action alone, from the user's first input to the last answer
  long rssKb = 0;        // resident memory after the action
  long rssBeforeKb = 0;  // right before the action: the module open, the filter typed
  // At the run's start, before the module is loaded: the program and its libraries alone.
  long startKb = 0;
  // Of rssKb, the process's own data: no pages of code or files.
  long anonymousKb = 0;
  // The most the process held resident, the action's peak included.
  long peakKb = 0;
  // The server's process after the action, when it runs apart.
  long serverRssKb = 0;
  std::map<std::string, int> calls;  // remote calls the action made, by method
  std::string error;                 // empty when the run and its checks passed
};

// `clients` is the number of bound clients the database holds (and of bindable ones).
ActionResult runAction(Action action, const std::string& databasePath, int clients,
                       ServerPlacement placement = ServerPlacement::InProcess);

}  // namespace bench
