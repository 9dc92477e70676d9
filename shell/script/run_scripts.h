// Runs script files, each in a process of its own with a fresh database and server, so that no
// state of the module or the toolkit passes from one script to the next.
#pragma once

#include <string>
#include <vector>

#include "shell/script/session.h"

namespace script {

// Returns 0 when every script passes; prints one line per script.
int runScriptFiles(const std::vector<std::string>& files, const SessionOptions& options);

}  // namespace script
