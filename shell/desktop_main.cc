#include "shell/desktop_main.h"

#include <QApplication>
#include <cstdlib>
#include <iostream>

#include "host/frm_login.h"
#include "host/frm_principal.h"
#include "host/net_connection.h"
#include "host/ui/application.h"
#include "shell/qt/desktop.h"
#include "shell/qt/desktop_camera.h"
#include "shell/qt/desktop_runner.h"

namespace shell {

namespace {

// The camera with the offscreen application it renders in.
class OffscreenCamera : public script::Camera {
 public:
  OffscreenCamera() : app_(makeApplication()), camera_(*app_) {}
  std::string capture(const std::string& path) override { return camera_.capture(path); }

 private:
  static std::unique_ptr<QApplication> makeApplication() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "clientes-servico";
    static char* argv[] = {name, nullptr};
    return std::make_unique<QApplication>(argc, argv);
  }

  std::unique_ptr<QApplication> app_;
  DesktopCamera camera_;
};

}  // namespace

int runDesktop(int argc, char** argv, EntryPoint entry, bool askSignIn) {
  QApplication app(argc, argv);
  Desktop desktop(app);
  host::CriaPrincipal();
  if (askSignIn)
    host::TNetConnection::setSessionRenewer([] { return host::AskSignIn(true); });
  const int status = desktop.run([entry, askSignIn] {
    if (askSignIn && !host::AskSignIn()) {
      QMetaObject::invokeMethod(QCoreApplication::instance(), &QCoreApplication::quit,
                                Qt::QueuedConnection);
      return;
    }
    entry();
  });
  host::TNetConnection::setSessionRenewer(nullptr);
  return status;
}

bool renderScreenshot(int argc, char** argv, const std::string& path, EntryPoint entry) {
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  QApplication app(argc, argv);
  Desktop desktop(app);
  // Nobody is there to answer: a message during start-up is printed and answered with OK.
  desktop.runner().setMessageHook([](ui::MessageKind, const std::string& text, ui::MessageButtons) {
    std::cerr << text << '\n';
    return static_cast<int>(ui::mrOk);
  });
  const bool written = desktop.screenshot(path, [entry] { entry(); });
  if (!written)
    std::cerr << "Não foi possível gravar a captura em " << path << '\n';
  return written;
}

std::unique_ptr<script::Camera> makeOffscreenCamera() {
  return std::make_unique<OffscreenCamera>();
}

}  // namespace shell
