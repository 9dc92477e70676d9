// The desktop side of the host application: the window, or a screenshot of it.
#pragma once

#include <memory>
#include <string>

#include "shell/host_startup.h"
#include "shell/script/camera.h"

namespace shell {

// Opens the host's main window, calls the module's entry point and runs until the window is
// closed. Returns the process exit status. With `askSignIn` (a server not embedded in this
// process) the operator signs in through the login dialog first (cancelling it ends the
// program) and again whenever the server ends the session.
int runDesktop(int argc, char** argv, EntryPoint entry, bool askSignIn);

// Renders the main window after the module's start-up to a PNG without a display. Returns
// whether a non-blank image was written.
bool renderScreenshot(int argc, char** argv, const std::string& path, EntryPoint entry);

// The camera of the script driver's `screenshot`: a DesktopCamera in an offscreen application
// made for it (no display needed).
std::unique_ptr<script::Camera> makeOffscreenCamera();

}  // namespace shell
