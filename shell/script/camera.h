// Camera: what takes the pictures of a script's `screenshot` command.
//
// The script driver has no renderer of its own and stays free of Qt; the host application
// hands the session a camera made by the desktop shell (shell::DesktopCamera), which renders
// the forms as they are at that moment.
#pragma once

#include <string>

namespace script {

class Camera {
 public:
  virtual ~Camera() = default;
  // Writes a PNG of the host window with the open forms to `path`; returns an error text, or
  // an empty one when the picture was written.
  virtual std::string capture(const std::string& path) = 0;
};

}  // namespace script
