#include "host/ui/application.h"

#include <algorithm>

#include "host/ui/errors.h"
#include "host/ui/menu.h"

namespace ui {

namespace {

std::unique_ptr<Application>& instance() {
  static std::unique_ptr<Application> app = std::make_unique<Application>();
  return app;
}

}  // namespace

Application& application() {
  return *instance();
}

void resetApplication() {
  instance() = std::make_unique<Application>();
}

void Screen::setSize(int width, int height) {
  width_ = width;
  height_ = height;
  changed(Property::Bounds);
}

void Screen::setCursor(Cursor cursor) {
  if (cursor_ == cursor)
    return;
  cursor_ = cursor;
  changed(Property::Cursor);
}

Application::Application() = default;

Application::~Application() {
  // Newest first: later forms may refer to earlier ones.
  while (!forms_.empty()) {
    formView_.pop_back();
    forms_.pop_back();
  }
}

void Application::adoptForm(std::unique_ptr<Form> form) {
  Form* raw = form.get();
  forms_.push_back(std::move(form));
  formView_.push_back(raw);
  try {
    if (raw->onCreate)
      raw->onCreate(*raw);
  } catch (...) {
    destroyForm(raw);
    throw;
  }
}

Form* Application::findForm(const std::string& name) const {
  for (Form* f : formView_) {
    if (f->name() == name && !released(f))
      return f;
  }
  return nullptr;
}

bool Application::released(const Form* form) const {
  return std::find(released_.begin(), released_.end(), form) != released_.end();
}

Runner& Application::runner() {
  if (runner_ == nullptr) {
    throw UiError("Nenhum executor de janelas modais foi instalado pela aplicação.");
  }
  return *runner_;
}

int Application::messageBox(MessageKind kind, const std::string& text, MessageButtons buttons) {
  return runner().messageBox(kind, text, buttons);
}

bool Application::dispatch(const std::function<void()>& action) {
  ++depth_;
  bool ok = true;
  try {
    action();
  } catch (const Abort&) {
    ok = false;
  } catch (const std::exception& e) {
    ok = false;
    try {
      messageBox(MessageKind::Error, e.what(), MessageButtons::Ok);
    } catch (...) {
      --depth_;
      throw;
    }
  }
  --depth_;
  if (depth_ == 0)
    flushReleases();
  return ok;
}

void Application::click(Control& control) {
  if (!control.showing() || !control.usable())
    return;
  if (control.acceptsFocus() && control.form() != nullptr) {
    if (control.form()->activeControl() != &control || control.form()->focusHolder() != &control) {
      control.setFocus();
    }
    if (control.form()->focusHolder() != &control)
      return;  // the move was taken elsewhere
  }
  control.clickDefault();
  if (control.onClick)
    control.onClick(control);
}

void Application::doubleClick(Control& control) {
  if (!control.showing() || !control.usable())
    return;
  if (control.acceptsFocus() && control.form() != nullptr &&
      control.form()->focusHolder() != &control) {
    control.setFocus();
    if (control.form()->focusHolder() != &control)
      return;
  }
  if (control.onDblClick)
    control.onDblClick(control);
}

void Application::clickMenuItem(MenuItem& item) {
  item.click();
}

void Application::keyDown(Control& target, Key key, ShiftState shift) {
  Form* form = target.form();
  if (form != nullptr && form->keyPreview() && form->onKeyDown && form != &target) {
    form->onKeyDown(*form, key, shift);
    if (key == 0)
      return;
  }
  if (target.onKeyDown)
    target.onKeyDown(target, key, shift);
  if (key == 0)
    return;
  const char32_t ch = keyCharacter(key, shift);
  target.keyDownDefault(key, shift);
  if (key != 0 && shift.alt && !shift.ctrl && form != nullptr && form->focusAccelerator(key))
    return;
  if (key == 0 || ch == 0)
    return;
  keyPress(target, ch);
}

void Application::keyPress(Control& target, char32_t ch) {
  Form* form = target.form();
  if (form != nullptr && form->keyPreview() && form->onKeyPress && form != &target) {
    form->onKeyPress(*form, ch);
    if (ch == 0)
      return;
  }
  if (target.onKeyPress)
    target.onKeyPress(target, ch);
  if (ch == 0)
    return;
  target.keyPressDefault(ch);
}

void Application::activateForm(Form* form) {
  if (active_ == form)
    return;
  Form* previous = active_;
  activation_.erase(std::remove(activation_.begin(), activation_.end(), form), activation_.end());
  activation_.push_back(form);
  active_ = form;
  if (previous != nullptr)
    previous->deactivated();
  form->activated();
}

void Application::formHidden(Form* form) {
  activation_.erase(std::remove(activation_.begin(), activation_.end(), form), activation_.end());
  if (active_ != form)
    return;
  active_ = nullptr;
  form->deactivated();
  for (auto it = activation_.rbegin(); it != activation_.rend(); ++it) {
    if ((*it)->visible()) {
      activateForm(*it);
      return;
    }
  }
}

void Application::releaseForm(Form* form) {
  if (std::find(released_.begin(), released_.end(), form) == released_.end()) {
    released_.push_back(form);
  }
}

void Application::flushReleases() {
  while (!released_.empty()) {
    Form* form = released_.front();
    released_.erase(released_.begin());
    if (form->visible())
      form->hide();
    destroyForm(form);
  }
}

void Application::destroyForm(Form* form) {
  activation_.erase(std::remove(activation_.begin(), activation_.end(), form), activation_.end());
  if (active_ == form)
    active_ = nullptr;
  if (mainForm_ == form)
    mainForm_ = nullptr;
  formView_.erase(std::remove(formView_.begin(), formView_.end(), form), formView_.end());
  for (Form* other : formView_)
    other->forgetForm(form);
  auto it = std::find_if(forms_.begin(), forms_.end(), [&](auto& f) { return f.get() == form; });
  if (it != forms_.end())
    forms_.erase(it);
}

}  // namespace ui
