// `host NAME VALUE`: what a script may set of the host before or while it drives the module
// (the working context, today's date, the screen), one small handler per setting.
//
// docs/scripts.md lists the settings; scripts nobody here sees are written from it.
#pragma once

#include <functional>
#include <string>

#include "shell/script/script.h"

namespace script {

// Applies `host NAME VALUE`; `signIn` signs an operator in at the script's server (Operador).
// A value of the wrong form or an unknown NAME raises ScriptFailure.
void applyHostSetting(const Command& command,
                      const std::function<void(const std::string& operatorCode)>& signIn);

}  // namespace script
