// MenuBarMirror: the host window's menu bar as the active form's main menu.
//
// The bar shows the menu of the active MDI child form (or of the application's main form when
// no such child is active; while a dialog is active the last child's menu stays), after the
// application's main form's own menu, as a main window merges its menus with its child's. Items
// become menus and actions with their captions ('&' accelerators kept), separators, enabled,
// checked and visible flags, kept in step with the model; choosing an action is the model's menu
// click, delivered as a user event.
#pragma once

#include <QHash>
#include <QObject>
#include <QPointer>
#include <vector>

#include "host/ui/component.h"
#include "host/ui/menu.h"

class QAction;
class QMenu;
class QMenuBar;

namespace shell {

class Renderer;

class MenuBarMirror : public QObject, public ui::ChangeObserver {
  Q_OBJECT

 public:
  MenuBarMirror(QMenuBar& bar, Renderer& renderer);
  ~MenuBarMirror() override;

  // The menu shown now, or null.
  ui::MainMenu* shownMenu() const { return shown_; }
  // The action of a shown item, or null.
  QAction* actionOf(const ui::MenuItem& item) const;
  // Chooses the menu to show and rebuilds the bar when it changed.
  void refresh();

  void propertyChanged(ui::Component& component, ui::Property property) override;
  void componentDestroyed(ui::Component& component) override;

 private:
  ui::Form* chooseForm() const;
  void rebuild();
  void clear();
  void addItems(const ui::MenuItem& parent, QMenu* menu);
  QAction* makeAction(ui::MenuItem& item, QMenu* menu);
  void showItem(const ui::MenuItem& item, QAction* action) const;
  void scheduleRefresh(bool rebuild);
  void trigger(QAction* action);

  QMenuBar& bar_;
  Renderer& renderer_;
  ui::Form* shownForm_ = nullptr;
  ui::MainMenu* shown_ = nullptr;
  ui::MainMenu* host_ = nullptr;
  QHash<const ui::Component*, QAction*> actions_;
  QHash<QAction*, ui::MenuItem*> items_;
  std::vector<QPointer<QObject>> built_;
  bool refreshPending_ = false;
  bool rebuildPending_ = false;
};

}  // namespace shell
