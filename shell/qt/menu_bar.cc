#include "shell/qt/menu_bar.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>

#include "host/ui/application.h"
#include "shell/qt/qt_text.h"
#include "shell/qt/renderer.h"

namespace shell {

MenuBarMirror::MenuBarMirror(QMenuBar& bar, Renderer& renderer) : bar_(bar), renderer_(renderer) {
  ui::addChangeObserver(this);
}

MenuBarMirror::~MenuBarMirror() {
  ui::removeChangeObserver(this);
}

QAction* MenuBarMirror::actionOf(const ui::MenuItem& item) const {
  return actions_.value(&item, nullptr);
}

ui::Form* MenuBarMirror::chooseForm() const {
  auto& app = ui::application();
  auto shows = [&app](const ui::Form* form) {
    return form != nullptr && form->visible() && form->menu() != nullptr &&
           (form->formStyle() == ui::FormStyle::MdiChild || form == app.mainForm());
  };
  if (shows(app.activeForm()))
    return app.activeForm();
  if (shows(shownForm_))
    return shownForm_;
  ui::Form* main = app.mainForm();
  return main != nullptr && main->menu() != nullptr ? main : nullptr;
}

void MenuBarMirror::refresh() {
  refreshPending_ = false;
  ui::Form* form = chooseForm();
  ui::MainMenu* menu = form != nullptr ? form->menu() : nullptr;
  ui::Form* main = ui::application().mainForm();
  ui::MainMenu* host = main != nullptr && main != form ? main->menu() : nullptr;
  shownForm_ = form;
  if (menu == shown_ && host == host_ && !rebuildPending_)
    return;
  shown_ = menu;
  host_ = host;
  rebuild();
}

void MenuBarMirror::clear() {
  actions_.clear();
  items_.clear();
  bar_.clear();
  for (const QPointer<QObject>& object : built_) {
    if (object != nullptr)
      object->deleteLater();
  }
  built_.clear();
}

void MenuBarMirror::rebuild() {
  rebuildPending_ = false;
  clear();
  // The host's own menu comes first, as a main window's menus come before its child's.
  std::vector<ui::MenuItem*> items;
  for (ui::MainMenu* menu : {host_, shown_}) {
    if (menu != nullptr)
      items.insert(items.end(), menu->items().begin(), menu->items().end());
  }
  for (ui::MenuItem* item : items) {
    if (item->isSeparator()) {
      built_.emplace_back(bar_.addSeparator());
      continue;
    }
    if (item->items().empty()) {
      built_.emplace_back(makeAction(*item, nullptr));
      continue;
    }
    auto* menu = new QMenu(toQString(item->caption()), &bar_);
    built_.emplace_back(menu);
    bar_.addMenu(menu);
    actions_.insert(item, menu->menuAction());
    showItem(*item, menu->menuAction());
    addItems(*item, menu);
  }
}

void MenuBarMirror::addItems(const ui::MenuItem& parent, QMenu* menu) {
  for (ui::MenuItem* item : parent.items()) {
    if (item->isSeparator()) {
      QAction* separator = menu->addSeparator();
      actions_.insert(item, separator);
      separator->setVisible(item->visible());
      continue;
    }
    if (item->items().empty()) {
      makeAction(*item, menu);
      continue;
    }
    QMenu* sub = menu->addMenu(toQString(item->caption()));
    actions_.insert(item, sub->menuAction());
    showItem(*item, sub->menuAction());
    addItems(*item, sub);
  }
}

QAction* MenuBarMirror::makeAction(ui::MenuItem& item, QMenu* menu) {
  QAction* action = menu != nullptr ? menu->addAction(toQString(item.caption()))
                                    : bar_.addAction(toQString(item.caption()));
  actions_.insert(&item, action);
  items_.insert(action, &item);
  showItem(item, action);
  connect(action, &QAction::triggered, this, [this, action] { trigger(action); });
  return action;
}

void MenuBarMirror::showItem(const ui::MenuItem& item, QAction* action) const {
  if (!item.isSeparator())
    action->setText(toQString(item.caption()));
  action->setEnabled(item.enabled());
  action->setVisible(item.visible());
  action->setCheckable(item.checked());
  action->setChecked(item.checked());
}

void MenuBarMirror::trigger(QAction* action) {
  ui::MenuItem* item = items_.value(action, nullptr);
  if (item == nullptr)
    return;
  renderer_.deliver([item] { ui::application().clickMenuItem(*item); });
  // Qt flips a checkable action on its own; the model's flag wins.
  if (ui::MenuItem* still = items_.value(action, nullptr))
    showItem(*still, action);
}

void MenuBarMirror::scheduleRefresh(bool rebuild) {
  rebuildPending_ = rebuildPending_ || rebuild;
  if (refreshPending_)
    return;
  refreshPending_ = true;
  QTimer::singleShot(0, this, [this] { refresh(); });
}

void MenuBarMirror::propertyChanged(ui::Component& component, ui::Property property) {
  if (auto* item = dynamic_cast<ui::MenuItem*>(&component)) {
    if (property == ui::Property::Items) {
      if (actions_.contains(item) || item == shown_ || item == host_)
        scheduleRefresh(true);
      return;
    }
    if (QAction* action = actions_.value(item, nullptr))
      showItem(*item, action);
    return;
  }
  // A form shown, activated or given another main menu may change what the bar shows.
  if (property == ui::Property::Focus || property == ui::Property::Visible ||
      property == ui::Property::Items) {
    if (dynamic_cast<ui::Form*>(&component) != nullptr)
      scheduleRefresh(false);
  }
}

void MenuBarMirror::componentDestroyed(ui::Component& component) {
  if (&component == shownForm_)
    shownForm_ = nullptr;
  if (&component == shown_ || &component == host_) {
    (&component == shown_ ? shown_ : host_) = nullptr;
    clear();
    scheduleRefresh(false);
    return;
  }
  if (QAction* action = actions_.take(&component))
    items_.remove(action);
}

}  // namespace shell
