// One run of a scale action in the current process: the script driver's session over the
// module, the timed part between two marks on standard output (the transcript), and the
// figures of the run. Headless runs happen in the scale_client program, which links no part of
// the desktop; the window's runs add a RunWindow.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "bench/scale_actions.h"

namespace bench {

constexpr const char* kTimedMark = "@@ timed";
constexpr const char* kEndMark = "@@ end";

// What the desktop window adds to a run. Created before the session (it may start the
// toolkit's threads, so after the server's process is forked); shown once the session exists.
class RunWindow {
 public:
  virtual ~RunWindow() = default;
  virtual void show() = 0;
  // Lets the window catch up with what the forms changed.
  virtual void settle() = 0;
  // Runs right after the action's script, inside the timed part.
  virtual void afterAction(Action action) = 0;
};

// `makeWindow` (may be empty) creates the window of a run in the window.
ActionResult perform(Action action, const std::string& databasePath, int clients,
                     ServerPlacement placement,
                     const std::function<std::unique_ptr<RunWindow>()>& makeWindow);

// The figures of a run as one text and back, for a run in a process of its own.
std::string reportText(const ActionResult& result);
ActionResult parseReport(const std::string& text);

}  // namespace bench
