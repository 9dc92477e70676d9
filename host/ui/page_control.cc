#include "host/ui/page_control.h"

#include <algorithm>

#include "host/ui/errors.h"
#include "host/ui/form.h"

namespace ui {

TabSheet::TabSheet(Control* parent, std::string name) : Control(parent, std::move(name)) {
  setAlign(Align::Client);
}

PageControl* TabSheet::pageControl() const {
  return dynamic_cast<PageControl*>(parent());
}

void TabSheet::setTabVisible(bool visible) {
  if (tabVisible_ == visible)
    return;
  tabVisible_ = visible;
  changed(Property::Visible);
}

PageControl::PageControl(Control* parent, std::string name) : Control(parent, std::move(name)) {
  setTabStop(true);
}

TabSheet* PageControl::addPage(std::string name, std::string caption) {
  TabSheet* page = add<TabSheet>(std::move(name));
  page->setCaption(std::move(caption));
  if (active_ == nullptr)
    active_ = page;
  changed(Property::Items);
  return page;
}

std::vector<TabSheet*> PageControl::pages() const {
  std::vector<TabSheet*> out;
  for (Control* c : children()) {
    if (auto* page = dynamic_cast<TabSheet*>(c))
      out.push_back(page);
  }
  return out;
}

Rect PageControl::clientArea() const {
  const int top = kTabStripHeight + kFrameWidth;
  return Rect{kFrameWidth, top, std::max(0, bounds().width - 2 * kFrameWidth),
              std::max(0, bounds().height - top - kFrameWidth)};
}

bool PageControl::showsChild(const Control* child) const {
  if (dynamic_cast<const TabSheet*>(child) == nullptr)
    return true;
  return child == active_;
}

void PageControl::changeActivePage(TabSheet* page) {
  if (page == active_)
    return;
  if (page != nullptr && page->parent() != this) {
    throw UiError("A página " + page->name() + " não pertence a " + name() + ".");
  }
  Form* f = form();
  const bool focusOnOldPage = f != nullptr && active_ != nullptr && f->focusHolder() != nullptr &&
                              active_->contains(f->focusHolder());
  if (focusOnOldPage && canFocus()) {
    f->focusControl(this);
    if (f->focusHolder() != this)
      return;
  }
  active_ = page;
  changed(Property::ActivePage);
  if (focusOnOldPage && page != nullptr && f->focusHolder() == this)
    f->selectFirst(page);
}

void PageControl::setActivePage(TabSheet* page) {
  changeActivePage(page);
}

bool PageControl::userSelect(TabSheet* page) {
  if (page == nullptr || page == active_)
    return false;
  if (!usable() || !showing() || !page->enabled() || !page->tabVisible())
    return false;
  bool allow = true;
  if (onChanging)
    onChanging(*this, allow);
  if (!allow)
    return false;
  changeActivePage(page);
  if (active_ != page)
    return false;
  if (onChange)
    onChange(*this);
  return true;
}

void PageControl::keyDownDefault(Key& key, ShiftState shift) {
  const bool next = key == keys::Right || (key == keys::Tab && shift.ctrl && !shift.shift);
  const bool prior = key == keys::Left || (key == keys::Tab && shift.ctrl && shift.shift);
  if (!next && !prior)
    return;
  const auto list = pages();
  for (size_t i = 0; i < list.size(); ++i) {
    if (list[i] != active_)
      continue;
    for (size_t step = 1; step < list.size(); ++step) {
      const size_t j = next ? (i + step) % list.size() : (i + list.size() - step) % list.size();
      if (list[j]->enabled() && list[j]->tabVisible()) {
        userSelect(list[j]);
        return;
      }
    }
  }
}

}  // namespace ui
