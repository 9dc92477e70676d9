// Where finished reports go: the system's print command and the report folder.
//
// The report engine writes a PDF and either hands it to a print command (a program and its
// leading arguments; the file's path is added as the last argument, and the program is run
// directly, never through a shell) or keeps it in the report folder under a name of its own.
#pragma once

#include <string>
#include <vector>

namespace host {

// "lp" or "lpr", whichever is found first in PATH; empty when the system has neither.
std::vector<std::string> findPrintCommand();

// Runs `command` with `file` added and waits for it. Returns an empty text when it ended with
// status 0, otherwise what went wrong, in Portuguese.
std::string runPrintCommand(const std::vector<std::string>& command, const std::string& file);

// A path in `folder` (created when missing) for the report `code` emitted now:
// "<code>-<yyyymmdd>-<hhmmss>.pdf", with "-2", "-3"... when that name is taken.
// Throws std::runtime_error when the folder cannot be created.
std::string newReportPath(const std::string& folder, const std::string& code);

// A new, empty temporary file for a PDF that is printed and then removed.
std::string temporaryReportPath(const std::string& code);

}  // namespace host
