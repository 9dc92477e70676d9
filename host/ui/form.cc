#include "host/ui/form.h"

#include <algorithm>

#include "host/ui/application.h"
#include "host/ui/errors.h"
#include "host/ui/static_controls.h"

namespace ui {

namespace {

// The frame a window manager adds around the client area.
constexpr int kFrameWidth = 16;
constexpr int kFrameHeight = 39;

}  // namespace

Form::Form(std::string name) : Control(nullptr, std::move(name)) {
  form_ = this;
  registerComponent(*this);
  setVisible(false);
}

Form::~Form() {
  // Controls go first, while the registry and the non-visual components they may be bound to
  // still exist; then the components, newest first.
  destroyChildren();
  while (!components_.empty())
    components_.pop_back();
  registry_.erase(name());
  ownerForm_ = nullptr;
}

void Form::registerComponent(Component& component) {
  if (component.name().empty())
    return;
  auto [it, inserted] = registry_.emplace(component.name(), &component);
  if (!inserted && it->second != &component) {
    throw UiError("Componente duplicado no formulário " + name() + ": " + component.name());
  }
  component.ownerForm_ = this;
}

void Form::unregisterComponent(Component& component) {
  auto it = registry_.find(component.name());
  if (it != registry_.end() && it->second == &component)
    registry_.erase(it);
  component.ownerForm_ = nullptr;
}

Component* Form::findComponent(const std::string& name) const {
  auto it = registry_.find(name);
  return it == registry_.end() ? nullptr : it->second;
}

void Form::forgetControl(Control* control) {
  if (active_ != nullptr && control->contains(active_))
    active_ = nullptr;
  if (holder_ != nullptr && control->contains(holder_))
    holder_ = nullptr;
  exiting_.erase(std::remove_if(exiting_.begin(), exiting_.end(),
                                [&](Control* c) { return control->contains(c); }),
                 exiting_.end());
}

void Form::forgetForm(const Form* form) {
  if (caller_ == form)
    caller_ = nullptr;
}

void Form::setWindowState(WindowState state) {
  if (windowState_ == state)
    return;
  windowState_ = state;
  changed(Property::WindowState);
}

void Form::setFormStyle(FormStyle style) {
  if (formStyle_ == style)
    return;
  formStyle_ = style;
  changed(Property::Other);
}

void Form::setMenu(MainMenu* menu) {
  if (menu_ == menu)
    return;
  menu_ = menu;
  changed(Property::Items);
}

void Form::setClientSize(int width, int height) {
  setBounds(bounds().left, bounds().top, width + kFrameWidth, height + kFrameHeight);
}

Rect Form::clientArea() const {
  return Rect{0, 0, std::max(0, bounds().width - kFrameWidth),
              std::max(0, bounds().height - kFrameHeight)};
}

bool Form::isActiveForm() const {
  return application().activeForm() == this;
}

void Form::show() {
  const bool wasVisible = visible();
  if (!wasVisible) {
    Form* active = application().activeForm();
    caller_ = active != this ? active : nullptr;
  }
  setVisible(true);
  if (!wasVisible && onShow)
    onShow(*this);
  application().activateForm(this);
  if (active_ == nullptr || !active_->canFocus())
    selectFirst(this);
}

void Form::hide() {
  if (!visible())
    return;
  setVisible(false);
  application().formHidden(this);
}

int Form::showModal() {
  if (visible() && modal_)
    throw UiError("O formulário já está aberto em modo modal.");
  modalResult_ = mrNone;
  modal_ = true;
  show();
  CloseAction action = CloseAction::Hide;
  try {
    for (;;) {
      application().runner().runModal(*this);
      if (modalResult_ == mrNone)
        modalResult_ = mrCancel;
      action = CloseAction::Hide;
      if (onClose)
        onClose(*this, action);
      if (action != CloseAction::None)
        break;
      modalResult_ = mrNone;
    }
  } catch (...) {
    modal_ = false;
    hide();
    throw;
  }
  modal_ = false;
  const int result = modalResult_;
  hide();
  if (action == CloseAction::Free)
    release();
  return result;
}

void Form::setModalResult(int result) {
  modalResult_ = result;
  changed(Property::Other);
}

void Form::close() {
  if (modal_) {
    setModalResult(mrCancel);
    return;
  }
  CloseAction action =
      formStyle_ == FormStyle::MdiChild ? CloseAction::Minimize : CloseAction::Hide;
  if (onClose)
    onClose(*this, action);
  finishClose(action);
}

void Form::finishClose(CloseAction action) {
  switch (action) {
    case CloseAction::None:
      break;
    case CloseAction::Hide:
      hide();
      break;
    case CloseAction::Minimize:
      setWindowState(WindowState::Minimized);
      break;
    case CloseAction::Free:
      hide();
      release();
      break;
  }
}

void Form::release() {
  application().releaseForm(this);
}

void Form::activated() {
  changed(Property::Focus);
  if (onActivate)
    onActivate(*this);
}

void Form::deactivated() {
  changed(Property::Focus);
  if (onDeactivate)
    onDeactivate(*this);
}

void Form::focusControl(Control* target) {
  if (target != nullptr && target->form() != this) {
    throw UiError("O controle " + target->name() + " não pertence ao formulário " + name() + ".");
  }
  const unsigned move = ++focusMoves_;
  Control* const old = holder_;
  Control* const previousActive = active_;
  if (old == target) {
    active_ = target;
    return;
  }

  // Exits: the control left and each container that does not hold the target, innermost
  // first; controls already being left by an interrupted move are not left twice.
  std::vector<Control*> exits;
  for (Control* c = old; c != nullptr && c != this && !c->contains(target); c = c->parent()) {
    if (std::find(exiting_.begin(), exiting_.end(), c) == exiting_.end())
      exits.push_back(c);
  }
  active_ = target;
  const size_t exitingMark = exiting_.size();
  try {
    for (Control* c : exits) {
      exiting_.push_back(c);
      c->doExit();
      if (focusMoves_ != move) {
        exiting_.resize(std::min(exiting_.size(), exitingMark));
        return;  // a handler moved the focus itself
      }
    }
  } catch (...) {
    exiting_.resize(std::min(exiting_.size(), exitingMark));
    if (focusMoves_ == move)
      active_ = previousActive;
    throw;
  }
  exiting_.resize(std::min(exiting_.size(), exitingMark));

  // Enters: each container of the target that did not hold the old control, outermost first,
  // then the target.
  std::vector<Control*> enters;
  for (Control* c = target; c != nullptr && c != this; c = c->parent()) {
    if (old != nullptr && c->contains(old))
      break;
    enters.push_back(c);
  }
  std::reverse(enters.begin(), enters.end());
  holder_ = target;
  if (old != nullptr)
    old->changed(Property::Focus);
  if (target != nullptr)
    target->changed(Property::Focus);
  for (Control* c : enters) {
    c->doEnter();
    if (focusMoves_ != move)
      return;
  }
}

bool Form::focusAccelerator(Key key) {
  std::function<Label*(Control&)> find = [&](Control& container) -> Label* {
    for (Control* child : container.children()) {
      auto* label = dynamic_cast<Label*>(child);
      if (label != nullptr && label->showAccelChar() && label->showing() && label->usable() &&
          label->focusControl() != nullptr && label->focusControl()->canFocus() &&
          acceleratorOf(label->caption()) == key) {
        return label;
      }
      if (Label* inside = find(*child))
        return inside;
    }
    return nullptr;
  };
  Label* label = find(*this);
  if (label == nullptr)
    return false;
  label->focusControl()->setFocus();
  return true;
}

std::vector<Control*> Form::tabOrderList(Control* container, bool tabStopsOnly) const {
  std::vector<Control*> out;
  std::function<void(Control*)> walk = [&](Control* parent) {
    std::vector<Control*> kids = parent->children();
    std::stable_sort(kids.begin(), kids.end(),
                     [](Control* a, Control* b) { return a->tabOrder() < b->tabOrder(); });
    for (Control* c : kids) {
      if (!c->showing() || !c->usable())
        continue;
      if (c->acceptsFocus() && (!tabStopsOnly || c->tabStop()))
        out.push_back(c);
      walk(c);
    }
  };
  walk(container);
  return out;
}

bool Form::selectFirst(Control* container) {
  // Containers that take the focus themselves (page controls) come before their contents;
  // when selecting inside a container, prefer a control that really edits something.
  for (Control* c : tabOrderList(container, true)) {
    if (c->canFocus() && c->children().empty()) {
      focusControl(c);
      return true;
    }
  }
  for (Control* c : tabOrderList(container, false)) {
    if (c->canFocus()) {
      focusControl(c);
      return true;
    }
  }
  return false;
}

void Form::selectNext(bool forward) {
  const auto list = tabOrderList(this, true);
  if (list.empty())
    return;
  auto it = std::find(list.begin(), list.end(), active_);
  size_t index = 0;
  if (it != list.end()) {
    const size_t at = static_cast<size_t>(it - list.begin());
    index = forward ? (at + 1) % list.size() : (at + list.size() - 1) % list.size();
  } else if (!forward) {
    index = list.size() - 1;
  }
  focusControl(list[index]);
}

}  // namespace ui
