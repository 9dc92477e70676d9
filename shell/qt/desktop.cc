#include "shell/qt/desktop.h"

#include <QApplication>
#include <QCloseEvent>
#include <QImage>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStatusBar>
#include <QStyle>
#include <QStyleOptionTitleBar>

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

// Draws a top-level window as a window manager would frame it: a title bar over its picture.
void drawFramedWindow(QPainter& painter, QWidget& window, const QPoint& at) {
  const QImage client = window.grab().toImage();
  QStyleOptionTitleBar title;
  title.initFrom(&window);
  title.text = window.windowTitle();
  title.titleBarState = Qt::WindowActive;
  title.titleBarFlags = Qt::Dialog | Qt::WindowTitleHint;
  title.state |= QStyle::State_Active;
  const int height = window.style()->pixelMetric(QStyle::PM_TitleBarHeight, &title, &window);
  title.rect = QRect(at.x(), at.y() - height, client.width(), height);
  window.style()->drawComplexControl(QStyle::CC_TitleBar, &title, &painter, &window);
  painter.drawImage(at, client);
  painter.setPen(Qt::darkGray);
  painter.drawRect(
      QRect(at.x() - 1, at.y() - height - 1, client.width() + 1, client.height() + height + 1));
}

}  // namespace

QFont formFont() {
  // Liberation Sans (package fonts-liberation2) has the narrow letters the forms' pixel widths
  // were designed for; where it is missing, fontconfig puts the nearest sans-serif font.
  QFont font(QStringLiteral("Liberation Sans"));
  font.setStyleHint(QFont::SansSerif);
  font.setPointSize(8);
  return font;
}

Desktop::Desktop(QApplication& app, Options options)
    : app_(app), options_(options), window_(std::make_unique<HostWindow>()) {
  QApplication::setFont(formFont());
  // A neutral icon for the host's windows (MDI sub-windows show it in their title bars).
  QApplication::setWindowIcon(QApplication::style()->standardIcon(QStyle::SP_ComputerIcon));
  mdi_ = new QMdiArea(window_.get());
  mdi_->setFocusPolicy(Qt::NoFocus);
  // A form placed beyond the visible area can still be reached.
  mdi_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  mdi_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  window_->setCentralWidget(mdi_);
  window_->statusBar();
  window_->resize(1280, 800);
  setTitle("Faturamento");
  renderer_ = std::make_unique<Renderer>(Renderer::Hosting{mdi_, window_.get()});
  runner_ = std::make_unique<DesktopRunner>(*renderer_);
  menus_ = std::make_unique<MenuBarMirror>(*window_->menuBar(), *renderer_);
  wait_ = std::make_unique<WaitFeedback>(window_->statusBar());
  if (options_.installRunner)
    ui::application().setRunner(runner_.get());
}

Desktop::~Desktop() {
  if (options_.installRunner)
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
  settle();
  // The window grows to show the forms the start-up opened, as far as the screen allows.
  const QScreen* screen = window_->screen();
  fitWindowToForms(screen != nullptr ? screen->availableSize() : QSize());
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

void Desktop::fitWindowToForms(const QSize& limit) {
  QRect needed;
  for (QMdiSubWindow* sub : mdi_->subWindowList()) {
    if (sub->isVisible())
      needed = needed.united(sub->geometry());
  }
  if (needed.isEmpty())
    return;
  const QSize chrome = window_->size() - mdi_->viewport()->size();
  QSize wanted =
      window_->size().expandedTo(QSize(needed.right() + 1, needed.bottom() + 1) + chrome);
  if (limit.isValid())
    wanted = wanted.boundedTo(limit);
  window_->resize(wanted);
}

QImage Desktop::picture() {
  QImage image = window_->grab().toImage();
  // Top-level form windows (dialogs) stand where the model put them, over the main window.
  std::vector<QWidget*> dialogs;
  for (ui::Form* form : ui::application().forms()) {
    QWidget* window = renderer_->windowOf(*form);
    if (window != nullptr && window->isWindow() && window->isVisible())
      dialogs.push_back(window);
  }
  if (dialogs.empty())
    return image;
  QRect area = image.rect();
  for (QWidget* dialog : dialogs) {
    const QPoint at = dialog->pos() - window_->pos();
    area = area.united(QRect(at - QPoint(1, 40), dialog->size() + QSize(2, 42)));
  }
  QImage framed(area.size(), QImage::Format_RGB32);
  framed.fill(Qt::white);
  QPainter painter(&framed);
  painter.translate(-area.topLeft());
  painter.drawImage(QPoint(0, 0), image);
  for (QWidget* dialog : dialogs)
    drawFramedWindow(painter, *dialog, dialog->pos() - window_->pos());
  painter.end();
  return framed;
}

bool Desktop::screenshot(const std::string& pngPath, const std::function<void()>& start) {
  window_->show();
  renderer_->deliver(start);
  settle();
  fitWindowToForms(QSize());
  settle();
  const QImage image = picture();
  if (blank(image))
    return false;
  return image.save(toQString(pngPath), "PNG");
}

}  // namespace shell
