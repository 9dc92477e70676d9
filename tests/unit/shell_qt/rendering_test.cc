#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMdiSubWindow>
#include <QTableView>
#include <QToolButton>

#include "tests/unit/shell_qt/desktop_fixture.h"

namespace shell::testing {
namespace {

using RenderingTest = DesktopTest;

TEST_F(RenderingTest, EveryControlMirrorsTheModelWhenShown) {
  SampleForm& form = showSample();
  expectInStep(form);
  EXPECT_TRUE(qobject_cast<QMdiSubWindow*>(renderer().windowOf(form)) != nullptr);
  EXPECT_EQ(renderer().windowOf(form)->windowTitle(), "Amostra");
  EXPECT_TRUE(widget(*form.branchLabel)->font().bold());
  EXPECT_EQ(widget(*form.branch)->palette().color(QPalette::Base), QColor(255, 255, 225));
  EXPECT_EQ(widgetAs<QToolButton>(*form.search)->toolTip(), "Pesquisar");
  // Without a glyph of its own a button shows the one its hint names.
  EXPECT_FALSE(widgetAs<QToolButton>(*form.insert)->icon().isNull());
  EXPECT_EQ(widgetAs<QToolButton>(*form.insert)->text(), "");
}

TEST_F(RenderingTest, PropertyChangesReachTheWidgetsAtOnce) {
  SampleForm& form = showSample();
  form.filter->setEnabled(false);
  form.clients->setVisible(false);
  form.branchLabel->setCaption("&Unidade");
  form.branch->setText("AB");
  form.clients->setSelected(2, true);
  form.kind->setItemIndex(1);
  form.yearly->setChecked(true);
  form.lockedPage->setEnabled(true);
  form.pages->setActivePage(form.valuesPage);
  form.lockedPage->setCaption("Liberada");
  expectInStep(form);
  // The accelerator is underlined.
  EXPECT_EQ(widgetAs<QLabel>(*form.branchLabel)->text(), "<u>U</u>nidade");
  EXPECT_FALSE(widget(*form.branch)->isEnabled());

  form.filter->setEnabled(true);
  form.clients->setVisible(true);
  form.pages->setActivePage(form.gridPage);
  expectInStep(form);
}

TEST_F(RenderingTest, AListChangedItemByItemStaysInStepWithItsSelection) {
  SampleForm& form = showSample();
  ui::ListBox& list = *form.clients;
  list.clear();
  for (int i = 0; i < 3000; ++i)
    list.addItem("Cliente " + std::to_string(i));
  expectInStep(form);
  EXPECT_EQ(widgetAs<QListView>(list)->model()->index(2999, 0).data().toString(), "Cliente 2999");

  // Items added and deleted under a selection keep it on the same items.
  list.userSelect({10, 11, 12, 500});
  list.addItem("Cliente novo");
  list.deleteItem(0);
  EXPECT_EQ(list.selectedIndexes(), (std::vector<int>{9, 10, 11, 499}));
  expectInStep(form);
  QListView* view = widgetAs<QListView>(list);
  EXPECT_EQ(view->selectionModel()->currentIndex().row(), list.itemIndex());

  list.clear();
  expectInStep(form);
  EXPECT_FALSE(view->selectionModel()->hasSelection());
}

TEST_F(RenderingTest, ControlsAddedAfterShowingAreRenderedOnTheNextTurn) {
  SampleForm& form = showSample();
  ui::TabSheet* extra = form.pages->addPage("tshExtra", "Extra");
  auto* label = extra->add<ui::Label>("lblExtra");
  label->setCaption("Nova");
  settle();
  expectInStep(form);
  ASSERT_NE(widget(*label), nullptr);
  EXPECT_EQ(tabBarOf(*form.pages)->tabText(3), "Extra");
}

TEST_F(RenderingTest, ClientAreaHasTheModelSizeAndAlignedControlsFollowAMaximisedWindow) {
  SampleForm& form = showSample();
  const ui::Rect area = form.clientArea();
  EXPECT_EQ(widget(form)->size(), QSize(area.width, area.height));
  EXPECT_EQ(widget(*form.filter)->geometry(), QRect(0, 0, area.width, 40));
  EXPECT_EQ(widget(*form.branch)->geometry(), QRect(44, 8, 50, 21));

  form.setWindowState(ui::WindowState::Maximized);
  settle();
  const QSize grown = widget(form)->size();
  ASSERT_GT(grown.width(), area.width);
  EXPECT_EQ(widget(*form.filter)->width(), grown.width());
  EXPECT_EQ(widget(*form.pages)->geometry().right(), grown.width() - 1);
  EXPECT_EQ(widget(*form.pages)->geometry().bottom(), grown.height() - 1);
  // The grid fills its page as rendered, below the tab strip.
  const QWidget* page = widget(*form.gridPage);
  EXPECT_EQ(widget(*form.grid)->size(), page->size());
  EXPECT_EQ(widget(*form.branch)->geometry(), QRect(44, 8, 50, 21));
}

TEST_F(RenderingTest, FreedFormTakesItsWindowAlong) {
  SampleForm& form = showSample();
  QPointer<QWidget> window = renderer().windowOf(form);
  form.onClose = [](ui::Form&, ui::CloseAction& action) { action = ui::CloseAction::Free; };
  renderer().deliver([&form] { form.close(); });
  settle();
  EXPECT_EQ(ui::application().findForm("frmAmostra"), nullptr);
  QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
  EXPECT_TRUE(window.isNull());
}

TEST_F(RenderingTest, ScreenshotWritesAPictureOfTheWindow) {
  const QString path = QDir::temp().filePath("cps_shell_qt_screenshot.png");
  QFile::remove(path);
  const bool written = desktop->screenshot(
      path.toStdString(), [] { ui::application().createForm<SampleForm>()->show(); });
  ASSERT_TRUE(written);
  const QImage image(path);
  ASSERT_FALSE(image.isNull());
  // The whole MDI child fits in the picture.
  EXPECT_GE(image.width(), 10 + 640);
  EXPECT_GE(image.height(), 10 + 420);
  QFile::remove(path);
}

}  // namespace
}  // namespace shell::testing
