#include "shell/qt/form_view.h"

#include <QCloseEvent>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <algorithm>

#include "host/ui/application.h"
#include "shell/qt/qt_text.h"
#include "shell/qt/renderer.h"

namespace shell {

// The client area of a form: it asks for the model's client size, so a sub-window sized by
// its hint shows exactly that area.
class FormClient : public QWidget {
 public:
  using QWidget::QWidget;
  QSize sizeHint() const override { return modelSize_; }
  void setModelSize(QSize size) {
    if (size == modelSize_)
      return;
    modelSize_ = size;
    updateGeometry();
  }

 private:
  QSize modelSize_;
};

QWidget* FormView::createWidget(QWidget* /*parentArea*/) {
  ui::Form& f = form();
  client_ = new FormClient();
  QMdiArea* mdi = renderer().hosting().mdiArea;
  if (f.formStyle() == ui::FormStyle::MdiChild && mdi != nullptr) {
    auto* sub = new QMdiSubWindow();
    sub->setWidget(client_);
    mdi->addSubWindow(sub);
    sub->hide();
    window_ = sub;
    tame(sub);
    sub->installEventFilter(this);
    renderer().addFormWidget(sub, f);
  } else {
    const Qt::WindowFlags flags =
        f.borderStyle() == ui::BorderStyle::Dialog ? Qt::Dialog : Qt::Window;
    client_->setParent(renderer().hosting().mainWindow, flags);
    window_ = client_;
  }
  renderer().addFormWidget(client_, f);
  return client_;
}

bool FormView::matchesStyle() const {
  const bool mdi =
      form().formStyle() == ui::FormStyle::MdiChild && renderer().hosting().mdiArea != nullptr;
  return mdi == (window_ != client_);
}

void FormView::finishBuild() {
  built_ = true;
  update(ui::Property::Visible);
}

QSize FormView::modelSize() const {
  const ui::Rect area = form().clientArea();
  return QSize(area.width, area.height);
}

void FormView::apply(ui::Property property) {
  switch (property) {
    case ui::Property::Caption:
      window_->setWindowTitle(toQString(form().caption()));
      break;
    case ui::Property::Visible:
      if (!built_)
        break;
      if (form().visible())
        showWindow();
      else
        window_->hide();
      break;
    case ui::Property::WindowState:
      if (built_ && !following_ && form().visible())
        showWindow();
      break;
    case ui::Property::Bounds:
      placeWindow();
      placeChildren();
      break;
    case ui::Property::Other:
    case ui::Property::Focus:
      // Repainted on activation too: grids highlight their cell only in the active form.
      client_->update();
      break;
    case ui::Property::Enabled:
      client_->setEnabled(form().enabled());
      break;
    default:
      ControlView::apply(property);
      break;
  }
}

void FormView::placeWindow() {
  const ui::Form& f = form();
  const ui::Rect area = f.clientArea();
  client_->setModelSize(QSize(area.width, area.height));
  if (f.windowState() != ui::WindowState::Normal)
    return;
  if (window_ != client_) {
    window_->move(f.bounds().left, f.bounds().top);
    window_->resize(window_->sizeHint());
    return;
  }
  if (f.borderStyle() == ui::BorderStyle::Sizeable)
    client_->resize(area.width, area.height);
  else
    client_->setFixedSize(area.width, area.height);
  client_->move(topLevelPosition());
}

QPoint FormView::topLevelPosition() const {
  const ui::Form& f = form();
  const QPoint designed(f.bounds().left, f.bounds().top);
  const QWidget* over = f.caller() != nullptr ? renderer().windowOf(*f.caller()) : nullptr;
  if (over == nullptr || !over->isVisible())
    return designed;
  // A dialog opens centred over the window it was called from, whole on that screen (or
  // within the host window, where that stands beyond the screen).
  const QRect caller(over->mapToGlobal(QPoint(0, 0)), over->size());
  QPoint at = caller.center() - QPoint(client_->width() / 2, client_->height() / 2);
  if (const QScreen* screen = over->screen()) {
    const QRect room = screen->availableGeometry().united(over->window()->frameGeometry());
    at.setX(
        std::clamp(at.x(), room.left(), std::max(room.left(), room.right() - client_->width())));
    at.setY(
        std::clamp(at.y(), room.top(), std::max(room.top(), room.bottom() - client_->height())));
  }
  return at;
}

void FormView::showWindow() {
  if (window_ == client_ && !client_->isVisible())
    client_->setWindowModality(form().modal() ? Qt::ApplicationModal : Qt::NonModal);
  placeWindow();
  showing_ = true;
  switch (form().windowState()) {
    case ui::WindowState::Maximized:
      window_->showMaximized();
      break;
    case ui::WindowState::Minimized:
      window_->showMinimized();
      break;
    case ui::WindowState::Normal:
      if (window_->isMaximized() || window_->isMinimized())
        window_->showNormal();
      else
        window_->show();
      break;
  }
  showing_ = false;
}

void FormView::setModal(bool modal) {
  if (window_ != client_ || client_ == nullptr)
    return;
  const Qt::WindowModality wanted = modal ? Qt::ApplicationModal : Qt::NonModal;
  if (client_->windowModality() == wanted)
    return;
  const bool shown = client_->isVisible();
  client_->hide();
  client_->setWindowModality(wanted);
  if (shown)
    client_->show();
}

void FormView::activate() {
  if (window_ == nullptr || !window_->isVisible())
    return;
  if (auto* sub = qobject_cast<QMdiSubWindow*>(window_.data())) {
    QMdiArea* mdi = sub->mdiArea();
    if (mdi != nullptr && mdi->activeSubWindow() != sub)
      mdi->setActiveSubWindow(sub);
    if (!sub->window()->isActiveWindow())
      sub->window()->activateWindow();
    return;
  }
  if (!window_->isActiveWindow()) {
    window_->raise();
    window_->activateWindow();
  }
}

bool FormView::eventFilter(QObject* watched, QEvent* event) {
  if (control() == nullptr || watched != window_)
    return ControlView::eventFilter(watched, event);
  ui::Form& f = form();
  switch (event->type()) {
    case QEvent::Close:
      // The model decides: the window goes when the form is hidden or freed.
      event->ignore();
      deliverUserEvent([&f] { f.close(); });
      return true;
    case QEvent::MouseButtonPress:
      if (ui::application().activeForm() != &f)
        deliverUserEvent([] {});
      return window_ != client_ ? false : ControlView::eventFilter(watched, event);
    case QEvent::WindowStateChange: {
      const Qt::WindowStates state = window_->windowState();
      const ui::WindowState wanted =
          state.testFlag(Qt::WindowMinimized)   ? ui::WindowState::Minimized
          : state.testFlag(Qt::WindowMaximized) ? ui::WindowState::Maximized
                                                : ui::WindowState::Normal;
      if (!showing_ && f.visible() && wanted != f.windowState()) {
        // Qt is still changing the window: the model follows without touching it again.
        following_ = true;
        deliverUserEvent([&f, wanted] { f.setWindowState(wanted); });
        following_ = false;
      }
      return false;
    }
    case QEvent::WindowActivate:
      if (window_ == client_ && f.visible() && ui::application().activeForm() != &f)
        deliverUserEvent([] {});
      return false;
    default:
      return ControlView::eventFilter(watched, event);
  }
}

void FormView::release() {
  renderer().removeFormWidget(client_);
  if (window_ != nullptr && window_ != client_) {
    renderer().removeFormWidget(window_);
    window_->removeEventFilter(this);
    window_->hide();
    window_->deleteLater();
  }
  ControlView::release();
}

}  // namespace shell
