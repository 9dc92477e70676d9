#include "shell/qt/renderer.h"

#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <algorithm>
#include <exception>

#include "host/db/db_grid.h"
#include "host/ui/application.h"
#include "shell/qt/control_view.h"
#include "shell/qt/form_view.h"
#include "shell/qt/qt_text.h"
#include "shell/qt/view_factory.h"

namespace shell {

namespace {

// Tab moves the focus between controls, unless the control takes it itself.
bool takesTab(const ui::Control& control) {
  const auto* grid = dynamic_cast<const db::DBGrid*>(&control);
  return grid != nullptr && grid->hasOption(db::GridOption::Tabs);
}

// The control that receives the form's keys: its focused control, else the form itself.
ui::Control& keyTarget(ui::Form& form) {
  ui::Control* active = form.activeControl();
  return active != nullptr && active->canFocus() ? *active : form;
}

int popupChoice(QWidget* anchor, const QRect& cell, const std::vector<std::string>& items,
                int current) {
  QMenu menu(anchor);
  for (size_t i = 0; i < items.size(); ++i) {
    QString text = toQString(items[i]);
    text.replace(QLatin1Char('&'), QStringLiteral("&&"));
    QAction* action = menu.addAction(text);
    action->setData(static_cast<int>(i));
    if (static_cast<int>(i) == current)
      menu.setActiveAction(action);
  }
  menu.setMinimumWidth(cell.width());
  QAction* chosen = menu.exec(anchor->mapToGlobal(cell.bottomLeft()));
  return chosen != nullptr ? chosen->data().toInt() : -1;
}

}  // namespace

Renderer::Renderer() : Renderer(Hosting{}) {
}

Renderer::Renderer(Hosting hosting) : hosting_(hosting), pickChooser_(popupChoice) {
  ui::addChangeObserver(this);
  qApp->installEventFilter(this);
  // Window states are the model's: the MDI area must not maximise a child on its own.
  if (hosting_.mdiArea != nullptr)
    hosting_.mdiArea->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
}

Renderer::~Renderer() {
  ui::removeChangeObserver(this);
  if (qApp != nullptr)
    qApp->removeEventFilter(this);
  // Form windows take their widgets with them; the views go after.
  auto views = std::move(views_);
  for (auto& [component, view] : views) {
    if (auto* form = qobject_cast<FormView*>(view); form != nullptr && form->window() != nullptr)
      delete form->window();
  }
  for (auto& [component, view] : views)
    delete view;
}

ControlView* Renderer::viewOf(const ui::Control& control) const {
  auto it = views_.find(&control);
  return it == views_.end() ? nullptr : it->second;
}

QWidget* Renderer::widgetOf(const ui::Control& control) const {
  ControlView* view = viewOf(control);
  return view != nullptr ? view->widget() : nullptr;
}

FormView* Renderer::formViewOf(const ui::Form& form) const {
  return qobject_cast<FormView*>(viewOf(form));
}

QWidget* Renderer::windowOf(const ui::Form& form) const {
  FormView* view = formViewOf(form);
  return view != nullptr ? view->window() : nullptr;
}

void Renderer::addFormWidget(QWidget* widget, ui::Form& form) {
  formWidgets_.insert(widget, &form);
}

void Renderer::removeFormWidget(QWidget* widget) {
  formWidgets_.remove(widget);
}

int Renderer::choosePickItem(QWidget* anchor, const QRect& cell,
                             const std::vector<std::string>& items, int current) const {
  return pickChooser_ ? pickChooser_(anchor, cell, items, current) : -1;
}

void Renderer::scheduleSync() {
  if (syncPending_)
    return;
  syncPending_ = true;
  QTimer::singleShot(0, this, [this] { sync(); });
}

void Renderer::sync() {
  syncPending_ = false;
  // Copy: building may show a form whose show handler creates another.
  const std::vector<ui::Form*> forms = ui::application().forms();
  for (ui::Form* form : forms) {
    if (formViewOf(*form) == nullptr)
      buildForm(*form);
    else
      buildTree(*form, nullptr);
  }
  syncFocus();
}

void Renderer::buildForm(ui::Form& form) {
  buildTree(form, nullptr);
  if (FormView* view = formViewOf(form))
    view->finishBuild();
}

void Renderer::rebuildForm(ui::Form& form) {
  std::function<void(ui::Control&)> releaseTree = [&](ui::Control& control) {
    for (ui::Control* child : control.children())
      releaseTree(*child);
    if (auto it = views_.find(&control); it != views_.end()) {
      ControlView* view = it->second;
      views_.erase(it);
      view->release();
    }
  };
  releaseTree(form);
  buildForm(form);
}

void Renderer::buildTree(ui::Control& control, ControlView* parent) {
  ControlView* view = viewOf(control);
  if (view == nullptr) {
    view = makeView(*this, control);
    views_[&control] = view;
    view->build(parent);
  }
  // Copy: a child's view never changes the tree, but the model may while widgets are shown.
  const std::vector<ui::Control*> children = control.children();
  for (ui::Control* child : children)
    buildTree(*child, view);
}

void Renderer::syncFocus() {
  ui::Form* form = ui::application().activeForm();
  FormView* formView = form != nullptr ? formViewOf(*form) : nullptr;
  if (formView == nullptr || !form->visible())
    return;
  // A message box or an open drop-down list keeps the keyboard until it closes.
  QWidget* modal = QApplication::activeModalWidget();
  if (QApplication::activePopupWidget() != nullptr ||
      (modal != nullptr && modal != formView->window()))
    return;
  formView->activate();
  QWidget* target = nullptr;
  if (ui::Control* active = form->activeControl(); active != nullptr && active->canFocus()) {
    if (ControlView* view = viewOf(*active))
      target = view->focusWidget();
  }
  if (target == nullptr)
    target = formView->focusWidget();
  if (target != nullptr && target->window()->focusWidget() != target)
    target->setFocus(Qt::OtherFocusReason);
}

bool Renderer::deliver(const std::function<void()>& action) {
  bool ok = false;
  try {
    ok = ui::application().dispatch(action);
  } catch (const std::exception& e) {
    // Only showing the error itself can fail here (no runner): nothing more can be shown.
    qWarning("user event failed: %s", e.what());
  } catch (...) {
    // Nothing may unwind into Qt's event handling.
    qWarning("user event failed with an unknown exception");
  }
  sync();
  return ok;
}

void Renderer::propertyChanged(ui::Component& component, ui::Property property) {
  if (auto it = views_.find(&component); it != views_.end()) {
    if (auto* form = qobject_cast<FormView*>(it->second);
        form != nullptr && property == ui::Property::Other && !form->matchesStyle()) {
      rebuildForm(static_cast<ui::Form&>(component));
      scheduleSync();
      return;
    }
    it->second->update(property);
    switch (property) {
      case ui::Property::Focus:
      case ui::Property::Visible:
      case ui::Property::Enabled:
      case ui::Property::WindowState:
      case ui::Property::Items:
      case ui::Property::Other:
        // The focus or the tree may have changed with it (a page added, a child removed).
        scheduleSync();
        break;
      default:
        break;
    }
    return;
  }
  auto* control = dynamic_cast<ui::Control*>(&component);
  if (control == nullptr)
    return;
  // A form is complete once the application holds it; one being shown appears at once.
  auto* form = dynamic_cast<ui::Form*>(control);
  if (form != nullptr && property == ui::Property::Visible && form->visible()) {
    const auto& forms = ui::application().forms();
    if (std::find(forms.begin(), forms.end(), form) != forms.end())
      buildForm(*form);
  }
  scheduleSync();
}

void Renderer::componentDestroyed(ui::Component& component) {
  auto it = views_.find(&component);
  if (it == views_.end())
    return;
  ControlView* view = it->second;
  views_.erase(it);
  view->release();
}

ui::Form* Renderer::formOfWidget(QObject* object) const {
  auto* widget = qobject_cast<QWidget*>(object);
  for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
    if (auto it = formWidgets_.find(w); it != formWidgets_.end())
      return it.value();
    if (qobject_cast<QMenuBar*>(w) != nullptr || qobject_cast<QMenu*>(w) != nullptr)
      return nullptr;
    if (w == hosting_.mainWindow) {
      ui::Form* active = ui::application().activeForm();
      return active != nullptr && formViewOf(*active) != nullptr ? active : nullptr;
    }
    if (w->isWindow())
      return nullptr;
  }
  return nullptr;
}

bool Renderer::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (type != QEvent::KeyPress && type != QEvent::KeyRelease && type != QEvent::ShortcutOverride &&
      type != QEvent::InputMethod)
    return false;
  ui::Form* form = formOfWidget(watched);
  if (form == nullptr)
    return false;
  switch (type) {
    case QEvent::ShortcutOverride: {
      // Alt chords stay shortcuts (menus, button accelerators); every other key is the form's.
      auto* key = static_cast<QKeyEvent*>(event);
      const Qt::KeyboardModifiers modifiers = key->modifiers();
      if (modifiers.testFlag(Qt::AltModifier) && !modifiers.testFlag(Qt::ControlModifier))
        return false;
      key->accept();
      return true;
    }
    case QEvent::KeyPress:
      routeKey(*form, translateKey(*static_cast<QKeyEvent*>(event)));
      return true;
    case QEvent::InputMethod: {
      KeyStroke stroke;
      stroke.delivery = KeyStroke::Delivery::KeyPress;
      stroke.text = static_cast<QInputMethodEvent*>(event)->commitString().toStdU32String();
      if (!stroke.text.empty())
        routeKey(*form, stroke);
      return true;
    }
    default:
      return true;
  }
}

void Renderer::routeKey(ui::Form& form, const KeyStroke& stroke) {
  if (stroke.delivery == KeyStroke::Delivery::Nothing)
    return;
  ui::Control& target = keyTarget(form);
  if (ControlView* view = viewOf(target); view != nullptr && view->handleKeyLocally(stroke))
    return;
  deliver([&form, &stroke] {
    if (stroke.delivery == KeyStroke::Delivery::KeyDown) {
      ui::Control& to = keyTarget(form);
      if (stroke.key == ui::keys::Tab && !stroke.shift.ctrl && !takesTab(to)) {
        form.selectNext(!stroke.shift.shift);
        return;
      }
      ui::application().keyDown(to, stroke.key, stroke.shift);
      return;
    }
    // A handler may move the focus while the text is typed: each character goes to the
    // control focused at that moment.
    for (char32_t ch : stroke.text)
      ui::application().keyPress(keyTarget(form), ch);
  });
}

}  // namespace shell
