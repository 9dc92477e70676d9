// The user's actions of a script (`open`, `type`, `click`, `page`, ...), one small handler per
// verb, each passing through the toolkit's event dispatcher as a user's action would.
//
// docs/scripts.md says what each verb does; scripts nobody here sees are written from it, so a
// handler changes only together with that text.
#pragma once

#include <string>

#include "shell/script/script.h"

namespace script {

// What the actions ask of the session that runs them.
class ActionDelegate {
 public:
  virtual ~ActionDelegate() = default;
  // `open`: the host calls the module's IniProc.
  virtual void openModule() = 0;
  // `screenshot "FILE"`.
  virtual void screenshot(const Command& command) = 0;
  // A transcript line.
  virtual void print(const std::string& line) = 0;
};

// Prints the command as typed, then runs it. Throws ScriptSyntaxError for a verb that is no
// action and ScriptFailure for a control that is not there.
void runAction(const Command& command, ActionDelegate& session);

}  // namespace script
