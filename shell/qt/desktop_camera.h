// DesktopCamera: the desktop shell's camera for the script driver's `screenshot`.
//
// It makes a Desktop that only renders (the session stays the runner, so the script still
// answers modal runs and questions) and mirrors the forms from the moment it is made; each
// capture settles the windows and writes Desktop::picture() to a PNG. The host makes one, with
// its QApplication, when a script first asks for a screenshot (shell/desktop_main.h).
#pragma once

#include <string>

#include "shell/qt/desktop.h"
#include "shell/script/camera.h"

class QApplication;

namespace shell {

class DesktopCamera : public script::Camera {
 public:
  explicit DesktopCamera(QApplication& app);
  std::string capture(const std::string& path) override;
  Desktop& desktop() { return desktop_; }

 private:
  Desktop desktop_;
};

}  // namespace shell
