#include "shell/qt/desktop.h"

#include <QApplication>
#include <QCloseEvent>
#include <QImage>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>

#include "host/ui/application.h"
#include "shell/qt/desktop_runner.h"
#include "shell/qt/menu_bar.h"
#include "shell/qt/qt_text.h"
#include "shell/qt/renderer.h"
#include "shell/qt/wait_feedback.h"

namespace shell {

namespace {

// The main window: closing it ends the event loop.
class HostWindow : public QMainWindow {
 protected:
  void closeEvent(QCloseEvent* event) override {
    event->accept();
    QCoreApplication::quit();
  }
};

bool blank(const QImage& image) {
  if (image.isNull())
    return true;
  const QRgb first = image.pixel(0, 0);
  for (int y = 0; y < image.height(); ++y) {
    for (int x = 0; x < image.width(); ++x) {
      if (image.pixel(x, y) != first)
        return false;
    }
  }
  return true;
}

}  // namespace

Desktop::Desktop(QApplication& app) : app_(app), window_(std::make_unique<HostWindow>()) {
  mdi_ = new QMdiArea(window_.get());
  mdi_->setFocusPolicy(Qt::NoFocus);
  window_->setCentralWidget(mdi_);
  window_->statusBar();
  window_->resize(1280, 800);
  setTitle("Faturamento");
  renderer_ = std::make_unique<Renderer>(Renderer::Hosting{mdi_, window_.get()});
  runner_ = std::make_unique<DesktopRunner>(*renderer_);
  menus_ = std::make_unique<MenuBarMirror>(*window_->menuBar(), *renderer_);
  wait_ = std::make_unique<WaitFeedback>(window_->statusBar());
  ui::application().setRunner(runner_.get());
}

Desktop::~Desktop() {
  ui::application().setRunner(nullptr);
  wait_.reset();
  menus_.reset();
  runner_.reset();
  renderer_.reset();
  window_.reset();
}

QMainWindow& Desktop::mainWindow() const {
  return *window_;
}

QMdiArea& Desktop::mdiArea() const {
  return *mdi_;
}

void Desktop::setTitle(const std::string& title) {
  window_->setWindowTitle(toQString(title));
}

int Desktop::run(const std::function<void()>& start) {
  window_->show();
  renderer_->deliver(start);
  return app_.exec();
}

void Desktop::settle() {
  for (int round = 0; round < 3; ++round) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
  renderer_->sync();
  menus_->refresh();
  QCoreApplication::processEvents();
}

void Desktop::fitWindowToForms() {
  QRect needed;
  for (QMdiSubWindow* sub : mdi_->subWindowList()) {
    if (sub->isVisible())
      needed = needed.united(sub->geometry());
  }
  if (needed.isEmpty())
    return;
  const QSize chrome = window_->size() - mdi_->viewport()->size();
  const QSize wanted = QSize(needed.right() + 1, needed.bottom() + 1) + chrome;
  window_->resize(window_->size().expandedTo(wanted));
}

bool Desktop::screenshot(const std::string& pngPath, const std::function<void()>& start) {
  window_->show();
  renderer_->deliver(start);
  settle();
  fitWindowToForms();
  settle();
  const QImage image = window_->grab().toImage();
  if (blank(image))
    return false;
  return image.save(toQString(pngPath), "PNG");
}

}  // namespace shell
