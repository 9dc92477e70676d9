#include "host/ui/list_box.h"

#include <algorithm>

#include "host/ui/errors.h"

namespace ui {

ListBox::ListBox(Control* parent, std::string name) : Control(parent, std::move(name)) {
  setTabStop(true);
}

void ListBox::checkIndex(int index) const {
  if (index < 0 || index >= count()) {
    throw UiError("Índice de lista fora dos limites (" + std::to_string(index) + ").");
  }
}

const std::string& ListBox::item(int index) const {
  checkIndex(index);
  return items_[static_cast<size_t>(index)];
}

void ListBox::addItem(std::string text) {
  items_.push_back(std::move(text));
  selected_.push_back(false);
  changed(Property::Items);
}

void ListBox::deleteItem(int index) {
  checkIndex(index);
  items_.erase(items_.begin() + index);
  selected_.erase(selected_.begin() + index);
  if (itemIndex_ >= count())
    itemIndex_ = count() - 1;
  changed(Property::Items);
}

void ListBox::clear() {
  items_.clear();
  selected_.clear();
  itemIndex_ = -1;
  changed(Property::Items);
}

int ListBox::indexOf(const std::string& text) const {
  auto it = std::find(items_.begin(), items_.end(), text);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

bool ListBox::selected(int index) const {
  checkIndex(index);
  return selected_[static_cast<size_t>(index)];
}

void ListBox::setSelected(int index, bool selected) {
  checkIndex(index);
  if (!multiSelect_ && selected) {
    std::fill(selected_.begin(), selected_.end(), false);
    itemIndex_ = index;
  }
  selected_[static_cast<size_t>(index)] = selected;
  changed(Property::Selection);
}

void ListBox::clearSelection() {
  std::fill(selected_.begin(), selected_.end(), false);
  changed(Property::Selection);
}

std::vector<int> ListBox::selectedIndexes() const {
  std::vector<int> out;
  for (int i = 0; i < count(); ++i) {
    if (selected_[static_cast<size_t>(i)])
      out.push_back(i);
  }
  return out;
}

void ListBox::setItemIndex(int index) {
  if (index != -1)
    checkIndex(index);
  itemIndex_ = index;
  if (!multiSelect_) {
    std::fill(selected_.begin(), selected_.end(), false);
    if (index >= 0)
      selected_[static_cast<size_t>(index)] = true;
  }
  changed(Property::ItemIndex);
}

void ListBox::userSelect(const std::vector<int>& indexes) {
  for (int i : indexes)
    checkIndex(i);
  std::fill(selected_.begin(), selected_.end(), false);
  for (int i : indexes) {
    if (!multiSelect_)
      std::fill(selected_.begin(), selected_.end(), false);
    selected_[static_cast<size_t>(i)] = true;
  }
  if (!indexes.empty())
    itemIndex_ = indexes.back();
  changed(Property::Selection);
  if (onClick)
    onClick(*this);
}

void ListBox::keyDownDefault(Key& key, ShiftState shift) {
  if (key != keys::Up && key != keys::Down)
    return;
  if (items_.empty())
    return;
  const int next = std::clamp(itemIndex_ + (key == keys::Down ? 1 : -1), 0, count() - 1);
  if (shift.ctrl) {
    itemIndex_ = next;
    changed(Property::ItemIndex);
    return;
  }
  userSelect({next});
}

}  // namespace ui
