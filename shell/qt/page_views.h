// Views of page controls and their tab sheets: a QTabWidget whose tabs are the sheets.
//
// Tabs show the sheets' captions, are disabled while the sheet is, and hidden while the sheet's
// tab is; the current tab is always the model's active page. A click on a tab is the user's
// choice of that page (PageControl::userSelect); when the model refuses it (a disabled page,
// a refusing handler) the tab bar goes back to the model's page.
#pragma once

#include "shell/qt/control_view.h"

namespace shell {

class TabSheetView;

class PageControlView : public ControlView {
  Q_OBJECT
 public:
  using ControlView::ControlView;

  void attachChild(ControlView& child) override;
  void detachChild(ControlView& child) override;
  // Shows a sheet's caption, enabling and tab visibility on its tab.
  void showSheet(TabSheetView& sheet);

 protected:
  QWidget* createWidget(QWidget* parentArea) override;
  void apply(ui::Property property) override;
  bool mouseInput(QMouseEvent& event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  int tabOf(const ControlView& sheet) const;
};

class TabSheetView : public ControlView {
  Q_OBJECT
 public:
  using ControlView::ControlView;
  // The tab widget places its pages.
  void place() override {}

 protected:
  QWidget* createWidget(QWidget* parentArea) override;
  void apply(ui::Property property) override;
};

}  // namespace shell
