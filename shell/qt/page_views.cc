#include "shell/qt/page_views.h"

#include <QMouseEvent>
#include <QPainter>
#include <QProxyStyle>
#include <QStyleOptionTabWidgetFrame>
#include <QTabBar>
#include <algorithm>

#include "host/ui/page_control.h"
#include "shell/qt/qt_text.h"
#include "shell/qt/renderer.h"

namespace shell {

namespace {

constexpr int kStrip = ui::PageControl::kTabStripHeight;

// The tab bar's height; the tabs stand on the frame's top line, so the current one joins the
// page below it.
constexpr int kTabBarHeight = kStrip + 2;

// Tabs as tall as the model's tab strip, whatever the style would make of the font.
class StripTabs : public QProxyStyle {
 public:
  QSize sizeFromContents(ContentsType type, const QStyleOption* option, const QSize& size,
                         const QWidget* widget) const override {
    QSize wanted = QProxyStyle::sizeFromContents(type, option, size, widget);
    if (type == CT_TabBarTab)
      wanted.setHeight(kTabBarHeight);
    return wanted;
  }
};

// The page control's widget: the frame around the pages below the tab strip. The tab bar and
// the sheets are its children.
class PageFrame : public QWidget {
 public:
  explicit PageFrame(QWidget* parent) : QWidget(parent), tabs_(new QTabBar(this)) {
    auto* style = new StripTabs;
    style->setParent(tabs_);
    tabs_->setStyle(style);
    tabs_->setDrawBase(false);
    tabs_->setExpanding(false);
    tabs_->setUsesScrollButtons(true);
  }
  QTabBar* tabBar() const { return tabs_; }

 protected:
  void paintEvent(QPaintEvent*) override {
    QPainter painter(this);
    QStyleOptionTabWidgetFrame frame;
    frame.initFrom(this);
    frame.rect = QRect(0, kStrip, width(), std::max(0, height() - kStrip));
    frame.shape = QTabBar::RoundedNorth;
    frame.tabBarSize = tabs_->sizeHint();
    frame.tabBarRect = tabs_->geometry();
    frame.selectedTabRect = tabs_->tabRect(tabs_->currentIndex()).translated(tabs_->pos());
    style()->drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, this);
  }

 private:
  QTabBar* tabs_;
};

}  // namespace

QWidget* PageControlView::createWidget(QWidget* parentArea) {
  auto* frame = new PageFrame(parentArea);
  watchMouse(frame->tabBar());
  return frame;
}

QTabBar* PageControlView::tabBar() const {
  return widget() != nullptr ? static_cast<PageFrame*>(widget())->tabBar() : nullptr;
}

void PageControlView::placeTabBar() {
  QTabBar* bar = tabBar();
  bar->setGeometry(2, 0, std::max(0, widget()->width() - 4), kTabBarHeight);
  bar->raise();
}

int PageControlView::tabOf(const ControlView& sheet) const {
  const auto it = std::find(tabs_.begin(), tabs_.end(), &sheet);
  return it == tabs_.end() ? -1 : static_cast<int>(it - tabs_.begin());
}

void PageControlView::attachChild(ControlView& child) {
  ControlView::attachChild(child);
  auto* sheet = dynamic_cast<TabSheetView*>(&child);
  if (sheet == nullptr)
    return;
  // Tabs stand in the order of the model's pages.
  int at = 0;
  for (ui::TabSheet* page : model<ui::PageControl>().pages()) {
    if (page == sheet->control())
      break;
    if (ControlView* view = renderer().viewOf(*page); view != nullptr && tabOf(*view) >= 0)
      ++at;
  }
  tabs_.insert(tabs_.begin() + at, sheet);
  tabBar()->insertTab(at, QString());
  showSheet(*sheet);
  update(ui::Property::ActivePage);
}

void PageControlView::detachChild(ControlView& child) {
  const int tab = tabOf(child);
  if (tab < 0)
    return;
  tabs_.erase(tabs_.begin() + tab);
  tabBar()->removeTab(tab);
}

void PageControlView::showSheet(TabSheetView& sheet) {
  const int tab = tabOf(sheet);
  if (tab < 0 || sheet.control() == nullptr || sheet.widget() == nullptr)
    return;
  const auto& page = static_cast<const ui::TabSheet&>(*sheet.control());
  QTabBar* bar = tabBar();
  bar->setTabText(tab, plainCaption(page.caption()));
  bar->setTabEnabled(tab, page.enabled());
  bar->setTabVisible(tab, page.tabVisible() && page.visible());
  sheet.widget()->setVisible(page.visible() && model<ui::PageControl>().activePage() == &page);
  // Qt moves the current tab off a tab it disables or hides; the model's page stays current.
  showActiveTab();
}

void PageControlView::showActiveTab() {
  const ui::TabSheet* active = model<ui::PageControl>().activePage();
  for (size_t tab = 0; tab < tabs_.size(); ++tab) {
    if (tabs_[tab]->control() == active && tabBar()->currentIndex() != static_cast<int>(tab))
      tabBar()->setCurrentIndex(static_cast<int>(tab));
  }
}

void PageControlView::apply(ui::Property property) {
  switch (property) {
    case ui::Property::ActivePage:
      for (ControlView* sheet : tabs_)
        showSheet(static_cast<TabSheetView&>(*sheet));
      showActiveTab();
      widget()->update();
      break;
    case ui::Property::Bounds:
      ControlView::apply(property);
      placeTabBar();
      break;
    default:
      ControlView::apply(property);
      break;
  }
}

bool PageControlView::mouseInput(QMouseEvent& event) {
  if (event.type() != QEvent::MouseButtonPress || event.button() != Qt::LeftButton)
    return true;
  const int tab = tabBar()->tabAt(event.position().toPoint());
  if (tab >= 0 && tabs_[static_cast<size_t>(tab)]->control() != nullptr) {
    auto& pages = model<ui::PageControl>();
    auto* chosen = static_cast<ui::TabSheet*>(tabs_[static_cast<size_t>(tab)]->control());
    deliverUserEvent([&pages, chosen] { pages.userSelect(chosen); });
  }
  if (control() != nullptr)
    update(ui::Property::ActivePage);
  return true;
}

bool PageControlView::eventFilter(QObject* watched, QEvent* event) {
  if (control() != nullptr && watched == tabBar() && event->type() == QEvent::Wheel)
    return true;  // the wheel would turn pages without the model
  if (control() != nullptr && watched == widget() && event->type() == QEvent::Resize)
    placeTabBar();
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
      if (property == ui::Property::Enabled)
        ControlView::apply(property);
      if (auto* pages = dynamic_cast<PageControlView*>(parentView()))
        pages->showSheet(*this);
      break;
    default:
      ControlView::apply(property);
      break;
  }
}

}  // namespace shell
