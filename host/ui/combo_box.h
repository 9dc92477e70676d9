// Combo box in drop-down-list style: the user picks one of its items. The user's choice runs
// onChange; setting the item index by code runs nothing.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/ui/control.h"

namespace ui {

class ComboBox : public Control {
 public:
  ComboBox(Control* parent, std::string name);
  bool acceptsFocus() const override { return true; }

  const std::vector<std::string>& items() const { return items_; }
  void setItems(std::vector<std::string> items);
  void addItem(std::string text);
  int itemIndex() const { return itemIndex_; }
  void setItemIndex(int index);
  // The chosen item's text, or empty.
  std::string text() const;
  int indexOf(const std::string& text) const;

  // The user picks item `index`: it becomes current and onChange runs.
  void userChoose(int index);

  std::function<void(Control&)> onChange;

  void keyDownDefault(Key& key, ShiftState shift) override;

 private:
  std::vector<std::string> items_;
  int itemIndex_ = -1;
};

}  // namespace ui
