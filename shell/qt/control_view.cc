#include "shell/qt/control_view.h"

#include <QEvent>
#include <QMouseEvent>

#include "host/ui/application.h"
#include "host/ui/form.h"
#include "shell/qt/color_names.h"
#include "shell/qt/qt_text.h"
#include "shell/qt/renderer.h"

namespace shell {

namespace {

// Every property a view may show, in the order a full refresh applies them (visibility last,
// so a widget appears with its final state).
constexpr ui::Property kAllProperties[] = {
    ui::Property::Caption,     ui::Property::Text,      ui::Property::Items,
    ui::Property::Selection,   ui::Property::ItemIndex, ui::Property::Checked,
    ui::Property::Columns,     ui::Property::Options,   ui::Property::Data,
    ui::Property::ActivePage,  ui::Property::Font,      ui::Property::Color,
    ui::Property::ReadOnly,    ui::Property::Hint,      ui::Property::Picture,
    ui::Property::Other,       ui::Property::Enabled,   ui::Property::Bounds,
    ui::Property::WindowState, ui::Property::Visible,
};

}  // namespace

ControlView::ControlView(Renderer& renderer, ui::Control& control)
    : renderer_(renderer), control_(&control) {
}

ControlView::~ControlView() = default;

void ControlView::build(ControlView* parent) {
  parent_ = parent;
  QWidget* widget = createWidget(parent != nullptr ? parent->childArea() : nullptr);
  widget_ = widget;
  tame(widget);
  widget->installEventFilter(this);
  if (parent != nullptr)
    parent->attachChild(*this);
  refresh();
}

void ControlView::tame(QWidget* widget) {
  widget->setFocusPolicy(Qt::NoFocus);
  widget->setContextMenuPolicy(Qt::NoContextMenu);
  widget->setAcceptDrops(false);
}

void ControlView::watchMouse(QObject* object) {
  if (auto* widget = qobject_cast<QWidget*>(object))
    tame(widget);
  object->installEventFilter(this);
}

void ControlView::attachChild(ControlView& child) {
  if (child.widget() != nullptr && child.widget()->parentWidget() != childArea())
    child.widget()->setParent(childArea());
}

void ControlView::update(ui::Property property) {
  if (control_ == nullptr || widget_ == nullptr)
    return;
  apply(property);
}

void ControlView::refresh() {
  for (ui::Property property : kAllProperties)
    update(property);
}

void ControlView::apply(ui::Property property) {
  QWidget* w = widget_;
  const ui::Control& c = *control_;
  switch (property) {
    case ui::Property::Enabled:
      w->setEnabled(c.enabled());
      break;
    case ui::Property::Visible:
      w->setVisible(c.visible());
      break;
    case ui::Property::Bounds:
      place();
      placeChildren();
      break;
    case ui::Property::Font: {
      QFont font = w->font();
      font.setBold(c.bold());
      w->setFont(font);
      break;
    }
    case ui::Property::Color: {
      const auto color = colorNamed(c.color());
      if (!color) {
        w->setPalette(QPalette());
        w->setAutoFillBackground(false);
        break;
      }
      QPalette palette = w->palette();
      palette.setColor(colorRole(), toQColor(*color));
      w->setPalette(palette);
      w->setAutoFillBackground(colorRole() == QPalette::Window);
      break;
    }
    case ui::Property::Hint:
      w->setToolTip(toolTip());
      break;
    default:
      break;
  }
}

QString ControlView::toolTip() const {
  if (!control_->showHint())
    return QString();
  // A hint may hold a short and a long text separated by '|'; the tooltip is the short one.
  const std::string& hint = control_->hint();
  return toQString(hint.substr(0, hint.find('|')));
}

QSize ControlView::modelSize() const {
  return QSize(control_->bounds().width, control_->bounds().height);
}

QSize ControlView::sizeDelta() const {
  const QWidget* area = childArea();
  if (area == nullptr || control_ == nullptr)
    return QSize(0, 0);
  return area->size() - modelSize();
}

void ControlView::place() {
  if (control_ == nullptr || widget_ == nullptr || parent_ == nullptr)
    return;
  QRect r = toQRect(control_->bounds());
  const QSize delta = parent_->sizeDelta();
  switch (control_->align()) {
    case ui::Align::Top:
      r.setWidth(r.width() + delta.width());
      break;
    case ui::Align::Bottom:
      r.translate(0, delta.height());
      r.setWidth(r.width() + delta.width());
      break;
    case ui::Align::Left:
      r.setHeight(r.height() + delta.height());
      break;
    case ui::Align::Right:
      r.translate(delta.width(), 0);
      r.setHeight(r.height() + delta.height());
      break;
    case ui::Align::Client:
      r.setSize(r.size() + delta);
      break;
    case ui::Align::None:
      break;
  }
  r.setSize(r.size().expandedTo(QSize(0, 0)));
  widget_->setGeometry(adjustGeometry(r));
}

void ControlView::placeChildren() {
  if (control_ == nullptr)
    return;
  for (ui::Control* child : control_->children()) {
    if (ControlView* view = renderer_.viewOf(*child))
      view->place();
  }
}

void ControlView::release() {
  if (parent_ != nullptr && parent_->control() != nullptr)
    parent_->detachChild(*this);
  control_ = nullptr;
  if (widget_ != nullptr) {
    widget_->removeEventFilter(this);
    widget_->hide();
    widget_->deleteLater();
  }
  deleteLater();
}

bool ControlView::eventFilter(QObject* watched, QEvent* event) {
  if (control_ == nullptr)
    return false;
  switch (event->type()) {
    case QEvent::Resize:
      if (watched == childArea())
        placeChildren();
      return false;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::MouseMove:
      return mouseInput(static_cast<QMouseEvent&>(*event));
    default:
      return false;
  }
}

bool ControlView::mouseInput(QMouseEvent& event) {
  if (event.button() != Qt::LeftButton && event.type() != QEvent::MouseMove)
    return true;
  ui::Control& control = *control_;
  if (event.type() == QEvent::MouseButtonPress)
    deliverUserEvent([&control] { ui::application().click(control); });
  else if (event.type() == QEvent::MouseButtonDblClick)
    deliverUserEvent([&control] { ui::application().doubleClick(control); });
  return true;
}

bool ControlView::takeFocus() {
  if (control_ == nullptr || control_->form() == nullptr)
    return false;
  ui::Form& form = *control_->form();
  if (form.focusHolder() != control_ || form.activeControl() != control_)
    control_->setFocus();
  return control_ != nullptr && form.focusHolder() == control_;
}

bool ControlView::deliverUserEvent(const std::function<void()>& action) {
  if (control_ == nullptr)
    return false;
  ui::Form* form = control_->form();
  QPointer<ControlView> self(this);
  const bool ok = renderer_.deliver([&] {
    if (form != nullptr && form->visible() && ui::application().activeForm() != form)
      form->show();
    if (self != nullptr && self->control_ != nullptr)
      action();
  });
  return ok && self != nullptr && self->control_ != nullptr;
}

}  // namespace shell
