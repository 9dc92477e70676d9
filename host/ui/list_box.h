// List box: a list of texts with a current item and, when multi-select is on, any number of
// selected items. The user's selection (a click, Ctrl+click, arrow keys) runs onClick; changes
// made by code run nothing.
//
// A list box may hold every client of a large branch, so its texts are kept one after the other
// in one buffer with the end of each, not as one string object per item: about a third of the
// memory at 10,000 clients. Items are given out as copies.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "host/ui/control.h"

namespace ui {

class ListBox : public Control {
 public:
  ListBox(Control* parent, std::string name);
  bool acceptsFocus() const override { return true; }

  std::vector<std::string> items() const;
  int count() const { return static_cast<int>(ends_.size()); }
  std::string item(int index) const;
  void addItem(std::string_view text);
  void deleteItem(int index);
  // Empties the list and gives its memory back.
  void clear();
  // Room for `items` items, so that filling a list whose length is known allocates its index
  // once; after such a fill, shrinkToFit gives back what the texts' buffer has to spare.
  void reserve(int items);
  void shrinkToFit();
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
  std::string_view text(std::size_t index) const;

  std::string texts_;                // every item's text, one after the other
  std::vector<std::uint32_t> ends_;  // where each item's text ends in texts_
  std::vector<bool> selected_;
  int itemIndex_ = -1;
  bool multiSelect_ = false;
};

}  // namespace ui
