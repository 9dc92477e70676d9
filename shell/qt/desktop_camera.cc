#include "shell/qt/desktop_camera.h"

namespace shell {

DesktopCamera::DesktopCamera(QApplication& app) : desktop_(app, Desktop::Options{false}) {
}

std::string DesktopCamera::capture(const std::string& path) {
  if (!desktop_.screenshot(path, [] {}))
    return "no picture (blank, or the file cannot be written)";
  return {};
}

}  // namespace shell
