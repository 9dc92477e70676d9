// Page control and its tab sheets.
//
// The user's choice of a tab (userSelect) is refused when the sheet is disabled or the page
// control is not usable; otherwise onChanging may still refuse it, then the page changes and
// onChange runs. Setting the active page from code never runs either handler. Whichever way the
// page changes, when the focus was on the old page it first moves to the page control (the
// exit events run and may refuse the change) and then to the first control of the new page.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/ui/control.h"

namespace ui {

class PageControl;

class TabSheet : public Control {
 public:
  TabSheet(Control* parent, std::string name);
  PageControl* pageControl() const;
  // Whether the tab shows in the tab strip at all.
  bool tabVisible() const { return tabVisible_; }
  void setTabVisible(bool visible);

 private:
  bool tabVisible_ = true;
};

class PageControl : public Control {
 public:
  PageControl(Control* parent, std::string name);
  bool acceptsFocus() const override { return true; }

  TabSheet* addPage(std::string name, std::string caption);
  std::vector<TabSheet*> pages() const;
  TabSheet* activePage() const { return active_; }
  // From code: no change handlers run.
  void setActivePage(TabSheet* page);
  // The user picks a tab; returns whether the page changed.
  bool userSelect(TabSheet* page);

  // Height of the tab strip and width of the frame around the pages.
  static constexpr int kTabStripHeight = 20;
  static constexpr int kFrameWidth = 4;
  Rect clientArea() const override;

  bool showsChild(const Control* child) const override;
  void keyDownDefault(Key& key, ShiftState shift) override;

  std::function<void(Control&, bool& allow)> onChanging;
  std::function<void(Control&)> onChange;

 private:
  void changeActivePage(TabSheet* page);

  TabSheet* active_ = nullptr;
};

}  // namespace ui
