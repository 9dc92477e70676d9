// Menus: a form's main menu and its items.
//
// A menu item has a caption ("-" makes a separator), enabled and checked flags, visibility,
// sub-items and a click event. Menu items never take the focus: a click leaves the form's
// active control where it is. A click on a disabled item, or on an item under a disabled item,
// does nothing.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "host/ui/component.h"

namespace ui {

class MenuItem : public Component {
 public:
  MenuItem(MenuItem* parent, std::string name, std::string caption);

  MenuItem* parent() const { return parent_; }
  const std::vector<MenuItem*>& items() const { return view_; }
  // Adds a sub-item (registered in `form` when given), before `before` or at the end.
  MenuItem* add(Form* form, std::string name, std::string caption, MenuItem* before = nullptr);

  const std::string& caption() const { return caption_; }
  void setCaption(std::string caption);
  bool isSeparator() const { return caption_ == "-"; }
  bool enabled() const { return enabled_; }
  void setEnabled(bool enabled);
  bool checked() const { return checked_; }
  void setChecked(bool checked);
  bool visible() const { return visible_; }
  void setVisible(bool visible);
  // Enabled here and on every parent item.
  bool usable() const;

  std::function<void(MenuItem&)> onClick;
  // Runs the click event as a user click would (nothing when not usable).
  void click();

 private:
  MenuItem* parent_;
  std::vector<std::unique_ptr<MenuItem>> items_;
  std::vector<MenuItem*> view_;
  std::string caption_;
  bool enabled_ = true;
  bool checked_ = false;
  bool visible_ = true;
};

// The menu bar of a form: its top-level items.
class MainMenu : public MenuItem {
 public:
  explicit MainMenu(std::string name) : MenuItem(nullptr, std::move(name), {}) {}
};

}  // namespace ui
