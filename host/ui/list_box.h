// List box: a list of texts with a current item and, when multi-select is on, any number of
// selected items. The user's selection (a click, Ctrl+click, arrow keys) runs onClick; changes
// made by code run nothing.
#pragma once

#include <string>
#include <vector>

#include "host/ui/control.h"

namespace ui {

class ListBox : public Control {
 public:
  ListBox(Control* parent, std::string name);
  bool acceptsFocus() const override { return true; }

  const std::vector<std::string>& items() const { return items_; }
  int count() const { return static_cast<int>(items_.size()); }
  const std::string& item(int index) const;
  void addItem(std::string text);
  void deleteItem(int index);
  void clear();
  // Index of the first item equal to `text`, or -1.
  int indexOf(const std::string& text) const;

  bool multiSelect() const { return multiSelect_; }
  void setMultiSelect(bool multi) { multiSelect_ = multi; }
  bool selected(int index) const;
  void setSelected(int index, bool selected);
  void clearSelection();
  std::vector<int> selectedIndexes() const;
  int itemIndex() const { return itemIndex_; }
  void setItemIndex(int index);

  // The user's choice of items (a click, then Ctrl+clicks): the given items become the
  // selection, the last one the current item; runs onClick.
  void userSelect(const std::vector<int>& indexes);

  void keyDownDefault(Key& key, ShiftState shift) override;

 private:
  void checkIndex(int index) const;

  std::vector<std::string> items_;
  std::vector<bool> selected_;
  int itemIndex_ = -1;
  bool multiSelect_ = false;
};

}  // namespace ui
