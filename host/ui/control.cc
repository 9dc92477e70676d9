#include "host/ui/control.h"

#include <algorithm>

#include "host/ui/errors.h"
#include "host/ui/form.h"

namespace ui {

Control::Control(Control* parent, std::string name) : Component(std::move(name)), parent_(parent) {
  if (parent_ != nullptr) {
    form_ = parent_->form_;
    if (form_ != nullptr)
      form_->registerComponent(*this);
  }
}

Control::~Control() {
  destroyChildren();
}

void Control::destroyChildren() {
  // Children go in reverse creation order, so later controls (which may refer to earlier
  // ones) go first.
  while (!children_.empty()) {
    children_.pop_back();
    childView_.pop_back();
  }
}

bool Control::contains(const Control* other) const {
  for (const Control* c = other; c != nullptr; c = c->parent_) {
    if (c == this)
      return true;
  }
  return false;
}

void Control::adopt(std::unique_ptr<Control> child) {
  childView_.push_back(child.get());
  children_.push_back(std::move(child));
  realign();
}

void Control::removeChild(Control* child) {
  for (size_t i = 0; i < children_.size(); ++i) {
    if (children_[i].get() == child) {
      if (form_ != nullptr)
        form_->forgetControl(child);
      children_.erase(children_.begin() + static_cast<std::ptrdiff_t>(i));
      childView_.erase(childView_.begin() + static_cast<std::ptrdiff_t>(i));
      realign();
      changed(Property::Other);
      return;
    }
  }
}

void Control::setBounds(int left, int top, int width, int height) {
  const Rect next{left, top, std::max(0, width), std::max(0, height)};
  if (next == bounds_)
    return;
  const bool resized = next.width != bounds_.width || next.height != bounds_.height;
  bounds_ = next;
  changed(Property::Bounds);
  if (resized)
    realign();
  if (parent_ != nullptr && align_ != Align::None)
    parent_->realign();
}

void Control::setAlign(Align align) {
  if (align_ == align)
    return;
  align_ = align;
  if (parent_ != nullptr)
    parent_->realign();
}

Rect Control::clientArea() const {
  return Rect{0, 0, bounds_.width, bounds_.height};
}

void Control::realign() {
  if (realigning_)
    return;
  realigning_ = true;
  Rect free = clientArea();
  auto place = [&](Control* c, Align which) {
    if (c->align_ != which || !c->visible_)
      return;
    const Rect b = c->bounds_;
    switch (which) {
      case Align::Top:
        c->setBounds(free.left, free.top, free.width, b.height);
        free.top += b.height;
        free.height -= b.height;
        break;
      case Align::Bottom:
        c->setBounds(free.left, free.bottom() - b.height, free.width, b.height);
        free.height -= b.height;
        break;
      case Align::Left:
        c->setBounds(free.left, free.top, b.width, free.height);
        free.left += b.width;
        free.width -= b.width;
        break;
      case Align::Right:
        c->setBounds(free.right() - b.width, free.top, b.width, free.height);
        free.width -= b.width;
        break;
      case Align::Client:
        c->setBounds(free.left, free.top, free.width, free.height);
        break;
      case Align::None:
        break;
    }
    free.width = std::max(0, free.width);
    free.height = std::max(0, free.height);
  };
  for (Align which : {Align::Top, Align::Bottom, Align::Left, Align::Right, Align::Client}) {
    for (Control* c : childView_)
      place(c, which);
  }
  realigning_ = false;
}

void Control::setCaption(std::string caption) {
  if (caption_ == caption)
    return;
  caption_ = std::move(caption);
  changed(Property::Caption);
}

void Control::setVisible(bool visible) {
  if (visible_ == visible)
    return;
  visible_ = visible;
  changed(Property::Visible);
  if (parent_ != nullptr && align_ != Align::None)
    parent_->realign();
}

void Control::setEnabled(bool enabled) {
  if (enabled_ == enabled)
    return;
  enabled_ = enabled;
  changed(Property::Enabled);
}

void Control::setHint(std::string hint) {
  if (hint_ == hint)
    return;
  hint_ = std::move(hint);
  changed(Property::Hint);
}

void Control::setShowHint(bool show) {
  if (showHint_ == show)
    return;
  showHint_ = show;
  changed(Property::Hint);
}

void Control::setBold(bool bold) {
  if (bold_ == bold)
    return;
  bold_ = bold;
  changed(Property::Font);
}

void Control::setColor(std::string color) {
  if (color_ == color)
    return;
  color_ = std::move(color);
  changed(Property::Color);
}

void Control::setTabStop(bool tabStop) {
  if (tabStop_ == tabStop)
    return;
  tabStop_ = tabStop;
  changed(Property::TabOrder);
}

void Control::setTabOrder(int order) {
  if (tabOrder_ == order)
    return;
  tabOrder_ = order;
  changed(Property::TabOrder);
}

bool Control::showing() const {
  for (const Control* c = this; c != nullptr; c = c->parent_) {
    if (!c->visible_)
      return false;
    if (c->parent_ != nullptr && !c->parent_->showsChild(c))
      return false;
  }
  return true;
}

bool Control::usable() const {
  for (const Control* c = this; c != nullptr; c = c->parent_) {
    if (!c->enabled_)
      return false;
  }
  return true;
}

bool Control::focused() const {
  return form_ != nullptr && form_->isActiveForm() && form_->activeControl() == this && canFocus();
}

void Control::setFocus() {
  if (form_ == nullptr)
    throw UiError("Controle sem formulário não pode receber o foco.");
  if (!canFocus()) {
    throw UiError("Não é possível mover o foco para um controle desabilitado ou invisível (" +
                  name() + ").");
  }
  form_->focusControl(this);
}

void Control::doEnter() {
  if (onEnter)
    onEnter(*this);
}

void Control::doExit() {
  if (onExit)
    onExit(*this);
}

}  // namespace ui
