#include "host/ui/combo_box.h"

#include <algorithm>

#include "host/ui/errors.h"

namespace ui {

ComboBox::ComboBox(Control* parent, std::string name) : Control(parent, std::move(name)) {
  setTabStop(true);
}

void ComboBox::setItems(std::vector<std::string> items) {
  items_ = std::move(items);
  itemIndex_ = -1;
  changed(Property::Items);
}

void ComboBox::addItem(std::string text) {
  items_.push_back(std::move(text));
  changed(Property::Items);
}

void ComboBox::setItemIndex(int index) {
  if (index < -1 || index >= static_cast<int>(items_.size())) {
    throw UiError("Índice de lista fora dos limites (" + std::to_string(index) + ").");
  }
  if (index == itemIndex_)
    return;
  itemIndex_ = index;
  changed(Property::ItemIndex);
}

std::string ComboBox::text() const {
  return itemIndex_ < 0 ? std::string() : items_[static_cast<size_t>(itemIndex_)];
}

int ComboBox::indexOf(const std::string& text) const {
  auto it = std::find(items_.begin(), items_.end(), text);
  return it == items_.end() ? -1 : static_cast<int>(it - items_.begin());
}

void ComboBox::userChoose(int index) {
  setItemIndex(index);
  if (onChange)
    onChange(*this);
}

void ComboBox::keyDownDefault(Key& key, ShiftState /*shift*/) {
  if (items_.empty())
    return;
  if (key == keys::Down && itemIndex_ + 1 < static_cast<int>(items_.size())) {
    userChoose(itemIndex_ + 1);
  } else if (key == keys::Up && itemIndex_ > 0) {
    userChoose(itemIndex_ - 1);
  }
}

}  // namespace ui
