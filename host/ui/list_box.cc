#include "host/ui/list_box.h"

#include <algorithm>
#include <limits>

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

std::string_view ListBox::text(std::size_t index) const {
  const std::size_t start = index == 0 ? 0 : ends_[index - 1];
  return std::string_view(texts_).substr(start, ends_[index] - start);
}

std::string ListBox::item(int index) const {
  checkIndex(index);
  return std::string(text(static_cast<size_t>(index)));
}

std::vector<std::string> ListBox::items() const {
  std::vector<std::string> out;
  out.reserve(ends_.size());
  for (std::size_t i = 0; i < ends_.size(); ++i)
    out.emplace_back(text(i));
  return out;
}

void ListBox::addItem(std::string_view text) {
  if (texts_.size() + text.size() > std::numeric_limits<std::uint32_t>::max())
    throw UiError("A lista não comporta mais itens.");
  texts_.append(text);
  ends_.push_back(static_cast<std::uint32_t>(texts_.size()));
  selected_.push_back(false);
  changed(Property::Items);
}

void ListBox::deleteItem(int index) {
  checkIndex(index);
  const auto at = static_cast<std::size_t>(index);
  const std::uint32_t start = at == 0 ? 0 : ends_[at - 1];
  const std::uint32_t length = ends_[at] - start;
  texts_.erase(start, length);
  ends_.erase(ends_.begin() + index);
  for (std::size_t i = at; i < ends_.size(); ++i)
    ends_[i] -= length;
  selected_.erase(selected_.begin() + index);
  if (itemIndex_ >= count())
    itemIndex_ = count() - 1;
  changed(Property::Items);
}

void ListBox::clear() {
  std::string().swap(texts_);
  std::vector<std::uint32_t>().swap(ends_);
  std::vector<bool>().swap(selected_);
  itemIndex_ = -1;
  changed(Property::Items);
}

void ListBox::reserve(int items) {
  if (items <= count())
    return;
  ends_.reserve(static_cast<std::size_t>(items));
  selected_.reserve(static_cast<std::size_t>(items));
}

void ListBox::shrinkToFit() {
  texts_.shrink_to_fit();
  ends_.shrink_to_fit();
  selected_.shrink_to_fit();
}

int ListBox::indexOf(const std::string& text) const {
  for (std::size_t i = 0; i < ends_.size(); ++i) {
    if (this->text(i) == text)
      return static_cast<int>(i);
  }
  return -1;
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
  if (ends_.empty())
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
