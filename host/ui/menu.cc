#include "host/ui/menu.h"

#include <algorithm>

#include "host/ui/form.h"

namespace ui {

MenuItem::MenuItem(MenuItem* parent, std::string name, std::string caption)
    : Component(std::move(name)), parent_(parent), caption_(std::move(caption)) {
}

MenuItem* MenuItem::add(Form* form, std::string name, std::string caption, MenuItem* before) {
  auto item = std::make_unique<MenuItem>(this, std::move(name), std::move(caption));
  MenuItem* raw = item.get();
  if (form != nullptr)
    form->registerComponent(*raw);
  auto at = std::find(view_.begin(), view_.end(), before);
  const auto offset = at - view_.begin();
  view_.insert(at, raw);
  items_.insert(items_.begin() + offset, std::move(item));
  changed(Property::Items);
  return raw;
}

void MenuItem::setCaption(std::string caption) {
  if (caption_ == caption)
    return;
  caption_ = std::move(caption);
  changed(Property::Caption);
}

void MenuItem::setEnabled(bool enabled) {
  if (enabled_ == enabled)
    return;
  enabled_ = enabled;
  changed(Property::Enabled);
}

void MenuItem::setChecked(bool checked) {
  if (checked_ == checked)
    return;
  checked_ = checked;
  changed(Property::Checked);
}

void MenuItem::setVisible(bool visible) {
  if (visible_ == visible)
    return;
  visible_ = visible;
  changed(Property::Visible);
}

bool MenuItem::usable() const {
  for (const MenuItem* m = this; m != nullptr; m = m->parent_) {
    if (!m->enabled_ || !m->visible_)
      return false;
  }
  return true;
}

void MenuItem::click() {
  if (!usable() || isSeparator())
    return;
  if (onClick)
    onClick(*this);
}

}  // namespace ui
