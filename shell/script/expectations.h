// The expectations of a script (`expect enabled NAME`, `expect call METHOD ...`, ...), one
// small handler per kind, each comparing what the user would see, or what the transcript
// recorded, with what the script says.
//
// docs/scripts.md says what each expectation compares; scripts nobody here sees are written
// from it, so a handler changes only together with that text.
#pragma once

#include "shell/script/script.h"
#include "shell/script/transcript.h"

namespace script {

// Checks `expect KIND ...`; a mismatch raises ScriptFailure ("FILE:LINE: expected ..., got
// ..."), an unknown kind ScriptSyntaxError. Reading a call, wait or message moves the
// transcript's cursor past it.
void runExpectation(const Command& command, Transcript& transcript);

}  // namespace script
