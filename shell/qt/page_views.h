// Views of page controls and their tab sheets: a frame with a tab bar on top, and the sheets
// placed inside it where the model lays them out (below the tab strip, inside the frame).
//
// Tabs show the sheets' captions, are disabled while the sheet is, and hidden while the sheet's
// tab is; the current tab is always the model's active page, and only that sheet shows. A
// click on a tab is the user's choice of that page (PageControl::userSelect); when the model
// refuses it (a disabled page, a refusing handler) the tab bar goes back to the model's page.
#pragma once

#include <vector>

#include "shell/qt/control_view.h"

class QTabBar;

namespace shell {

class TabSheetView;

class PageControlView : public ControlView {
  Q_OBJECT
 public:
  using ControlView::ControlView;

  QTabBar* tabBar() const;
  void attachChild(ControlView& child) override;
  void detachChild(ControlView& child) override;
  // Shows a sheet's caption, enabling and tab visibility on its tab, and the sheet itself
  // while it is the active page.
  void showSheet(TabSheetView& sheet);

 protected:
  QWidget* createWidget(QWidget* parentArea) override;
  void apply(ui::Property property) override;
  bool mouseInput(QMouseEvent& event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int tabOf(const ControlView& sheet) const;
  void placeTabBar();
  void showActiveTab();

  std::vector<ControlView*> tabs_;  // the sheet of each tab, in tab order
};

class TabSheetView : public ControlView {
  Q_OBJECT
 public:
  using ControlView::ControlView;

 protected:
  QWidget* createWidget(QWidget* parentArea) override;
  void apply(ui::Property property) override;
};

}  // namespace shell
