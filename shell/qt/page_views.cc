#include "shell/qt/page_views.h"

#include <QMouseEvent>
#include <QTabBar>
#include <QTabWidget>

#include "host/ui/page_control.h"
#include "shell/qt/qt_text.h"
#include "shell/qt/renderer.h"

namespace shell {

QWidget* PageControlView::createWidget(QWidget* parentArea) {
  auto* tabs = new QTabWidget(parentArea);
  watchMouse(tabs->tabBar());
  return tabs;
}

int PageControlView::tabOf(const ControlView& sheet) const {
  auto* tabs = static_cast<QTabWidget*>(widget());
  return sheet.widget() != nullptr ? tabs->indexOf(sheet.widget()) : -1;
}

void PageControlView::attachChild(ControlView& child) {
  auto* sheet = dynamic_cast<TabSheetView*>(&child);
  if (sheet == nullptr) {
    ControlView::attachChild(child);
    return;
  }
  // Tabs stand in the order of the model's pages.
  auto* tabs = static_cast<QTabWidget*>(widget());
  int at = 0;
  for (ui::TabSheet* page : model<ui::PageControl>().pages()) {
    if (page == sheet->control())
      break;
    if (ControlView* view = renderer().viewOf(*page); view != nullptr && tabOf(*view) >= 0)
      ++at;
  }
  tabs->insertTab(at, sheet->widget(), QString());
  showSheet(*sheet);
  update(ui::Property::ActivePage);
}

void PageControlView::detachChild(ControlView& child) {
  const int tab = tabOf(child);
  if (tab >= 0)
    static_cast<QTabWidget*>(widget())->removeTab(tab);
}

void PageControlView::showSheet(TabSheetView& sheet) {
  const int tab = tabOf(sheet);
  if (tab < 0 || sheet.control() == nullptr)
    return;
  auto* tabs = static_cast<QTabWidget*>(widget());
  const auto& page = static_cast<const ui::TabSheet&>(*sheet.control());
  tabs->setTabText(tab, plainCaption(page.caption()));
  tabs->setTabEnabled(tab, page.enabled());
  tabs->setTabVisible(tab, page.tabVisible() && page.visible());
}

void PageControlView::apply(ui::Property property) {
  if (property != ui::Property::ActivePage) {
    ControlView::apply(property);
    return;
  }
  auto* tabs = static_cast<QTabWidget*>(widget());
  if (ui::TabSheet* active = model<ui::PageControl>().activePage()) {
    ControlView* view = renderer().viewOf(*active);
    if (view != nullptr && tabOf(*view) >= 0)
      tabs->setCurrentIndex(tabOf(*view));
  }
}

bool PageControlView::mouseInput(QMouseEvent& event) {
  auto* tabs = static_cast<QTabWidget*>(widget());
  if (event.type() != QEvent::MouseButtonPress || event.button() != Qt::LeftButton)
    return true;
  const int tab = tabs->tabBar()->tabAt(event.position().toPoint());
  ui::TabSheet* chosen = nullptr;
  for (ui::TabSheet* page : model<ui::PageControl>().pages()) {
    if (ControlView* view = renderer().viewOf(*page); view != nullptr && tabOf(*view) == tab)
      chosen = page;
  }
  if (chosen != nullptr) {
    auto& pages = model<ui::PageControl>();
    deliverUserEvent([&pages, chosen] { pages.userSelect(chosen); });
  }
  update(ui::Property::ActivePage);
  return true;
}

bool PageControlView::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::Wheel && watched == static_cast<QTabWidget*>(widget())->tabBar())
    return true;  // the wheel would turn pages without the model
  return ControlView::eventFilter(watched, event);
}

QWidget* TabSheetView::createWidget(QWidget* parentArea) {
  return new QWidget(parentArea);
}

void TabSheetView::apply(ui::Property property) {
  switch (property) {
    case ui::Property::Caption:
    case ui::Property::Enabled:
    case ui::Property::Visible:
      if (auto* pages = dynamic_cast<PageControlView*>(parentView()))
        pages->showSheet(*this);
      break;
    case ui::Property::Bounds:
      placeChildren();
      break;
    default:
      ControlView::apply(property);
      break;
  }
}

}  // namespace shell
