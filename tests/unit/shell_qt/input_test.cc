#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QListView>
#include <QMdiSubWindow>
#include <QRadioButton>
#include <QTabBar>
#include <QToolButton>

#include <QMenuBar>
#include "shell/qt/menu_bar.h"

#include "host/frm_principal.h"
#include "tests/unit/shell_qt/desktop_fixture.h"

namespace shell::testing {
namespace {

using InputTest = DesktopTest;

TEST_F(InputTest, TypedKeysReachTheModelWhichDecidesTheText) {
  SampleForm& form = showSample();
  std::vector<ui::Key> keysDown;
  form.setKeyPreview(true);
  form.onKeyDown = [&](ui::Control&, ui::Key& key, ui::ShiftState) { keysDown.push_back(key); };
  form.branch->onKeyPress = [](ui::Control&, char32_t& ch) {
    if (ch == U'x')
      ch = 0;  // a handler swallows the character
  };
  click(*form.branch);
  ASSERT_TRUE(form.branch->focused());

  QTest::keyClicks(widget(*form.branch), "axb1cd");
  EXPECT_EQ(form.branch->text(), "AB1C");  // upper case by the mask, four at most
  EXPECT_EQ(widgetAs<QLineEdit>(*form.branch)->text(), "AB1C");
  QTest::keyClick(widget(*form.branch), Qt::Key_Backspace);
  EXPECT_EQ(form.branch->text(), "AB1");
  QTest::keyClick(widget(*form.branch), Qt::Key_F12);
  EXPECT_EQ(keysDown.back(), ui::keys::F12);
  QTest::keyClicks(widget(*form.branch), ".");  // no slot takes it: refused by the mask
  EXPECT_EQ(widgetAs<QLineEdit>(*form.branch)->text(), "AB1");
}

TEST_F(InputTest, TabMovesTheFocusInTheModelsOrder) {
  SampleForm& form = showSample();
  click(*form.branch);
  QTest::keyClick(widget(*form.branch), Qt::Key_Tab);
  EXPECT_EQ(form.activeControl(), form.clients);
  EXPECT_EQ(qtFocus(*form.clients), widget(*form.clients));
  QTest::keyClick(widget(*form.clients), Qt::Key_Backtab, Qt::ShiftModifier);
  EXPECT_EQ(form.activeControl(), form.branch);
  EXPECT_EQ(qtFocus(*form.branch), widget(*form.branch));
}

TEST_F(InputTest, RefusedExitKeepsTheQtFocusOnTheModelsControl) {
  SampleForm& form = showSample();
  form.branch->onExit = [&form](ui::Control&) {
    if (form.branch->text() == "ZZ")
      throw ui::Abort();
  };
  click(*form.branch);
  QTest::keyClicks(widget(*form.branch), "zz");
  click(*form.clients);
  EXPECT_EQ(form.activeControl(), form.branch);
  EXPECT_EQ(qtFocus(*form.branch), widget(*form.branch));
  EXPECT_TRUE(form.clients->selectedIndexes().empty());

  QTest::keyClicks(widget(*form.branch), "a");
  click(*form.clients);
  EXPECT_EQ(form.activeControl(), form.clients);
  EXPECT_EQ(qtFocus(*form.clients), widget(*form.clients));
}

TEST_F(InputTest, ListClicksSelectThroughTheModelWithCtrlForMore) {
  SampleForm& form = showSample();
  int clicks = 0;
  form.clients->onClick = [&clicks](ui::Control&) { ++clicks; };
  auto* list = widgetAs<QListView>(*form.clients);
  auto itemAt = [list](int row) { return list->visualRect(list->model()->index(row, 0)).center(); };

  click(*form.clients, itemAt(0));
  click(*form.clients, itemAt(2), Qt::ControlModifier);
  EXPECT_EQ(form.clients->selectedIndexes(), (std::vector<int>{0, 2}));
  click(*form.clients, itemAt(0), Qt::ControlModifier);
  EXPECT_EQ(form.clients->selectedIndexes(), (std::vector<int>{2}));
  click(*form.clients, itemAt(1));
  EXPECT_EQ(form.clients->selectedIndexes(), (std::vector<int>{1}));
  EXPECT_EQ(clicks, 4);
  expectInStep(form);
}

TEST_F(InputTest, DisabledTabIsRefusedAndTheTabBarShowsTheModelsPage) {
  SampleForm& form = showSample();
  QTabBar* tabs = tabBarOf(*form.pages);
  auto clickTab = [&](int tab) {
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(tab).center());
    settle();
  };
  EXPECT_FALSE(tabs->isTabEnabled(2));
  clickTab(2);
  EXPECT_EQ(form.pages->activePage(), form.gridPage);
  EXPECT_EQ(tabs->currentIndex(), 0);

  bool allow = false;
  form.pages->onChanging = [&allow](ui::Control&, bool& ok) { ok = allow; };
  clickTab(1);
  EXPECT_EQ(form.pages->activePage(), form.gridPage);
  EXPECT_EQ(tabs->currentIndex(), 0);

  allow = true;
  clickTab(1);
  EXPECT_EQ(form.pages->activePage(), form.valuesPage);
  EXPECT_EQ(tabs->currentIndex(), 1);
  expectInStep(form);
}

TEST_F(InputTest, ComboRadioAndSpeedButtonActThroughTheModel) {
  SampleForm& form = showSample();
  form.pages->setActivePage(form.valuesPage);
  int changes = 0;
  form.kind->onChange = [&changes](ui::Control&) { ++changes; };
  renderer().deliver([&form] { form.kind->setFocus(); });
  QTest::keyClick(widget(*form.kind), Qt::Key_Down);
  EXPECT_EQ(form.kind->itemIndex(), 0);
  emit widgetAs<QComboBox>(*form.kind)->activated(1);
  EXPECT_EQ(form.kind->itemIndex(), 1);
  EXPECT_EQ(changes, 2);

  click(*form.yearly);
  EXPECT_TRUE(form.yearly->checked());
  click(*form.monthly);
  EXPECT_TRUE(form.monthly->checked());
  EXPECT_FALSE(form.yearly->checked());

  int searches = 0;
  form.search->onClick = [&searches](ui::Control&) { ++searches; };
  ui::Control* before = form.activeControl();
  click(*form.search);
  EXPECT_EQ(searches, 1);
  EXPECT_EQ(form.activeControl(), before);  // a speed button never takes the focus
  expectInStep(form);
}

TEST_F(InputTest, CloseBoxAsksTheModelWhichDecidesWhetherTheWindowGoes) {
  SampleForm& form = showSample();
  auto action = ui::CloseAction::None;
  int asked = 0;
  form.onClose = [&](ui::Form&, ui::CloseAction& chosen) {
    ++asked;
    chosen = action;
  };
  auto* window = qobject_cast<QMdiSubWindow*>(renderer().windowOf(form));
  window->close();
  settle();
  EXPECT_EQ(asked, 1);
  EXPECT_TRUE(window->isVisible());

  action = ui::CloseAction::Hide;
  window->close();
  settle();
  EXPECT_FALSE(form.visible());
  EXPECT_FALSE(window->isVisible());
}

TEST_F(InputTest, MaximisingOrRestoringTheWindowSetsTheModelsWindowState) {
  SampleForm& form = showSample();
  QWidget* window = renderer().windowOf(form);
  window->showMaximized();
  settle();
  EXPECT_EQ(form.windowState(), ui::WindowState::Maximized);
  window->showNormal();
  settle();
  EXPECT_EQ(form.windowState(), ui::WindowState::Normal);
  form.setWindowState(ui::WindowState::Maximized);
  settle();
  EXPECT_TRUE(window->isMaximized());
}

TEST_F(InputTest, MenuBarShowsTheActiveFormsMenuAndClicksGoToTheModel) {
  SampleForm& form = showSample();
  desktop->menus().refresh();
  ASSERT_EQ(desktop->menus().shownMenu(), form.menu);
  QAction* grid = desktop->menus().actionOf(*form.gridItem);
  QAction* locked = desktop->menus().actionOf(*form.lockedItem);
  ASSERT_NE(grid, nullptr);
  EXPECT_EQ(grid->text(), "&Grade");
  EXPECT_TRUE(grid->isChecked());
  EXPECT_FALSE(locked->isEnabled());

  int clicks = 0;
  form.gridItem->onClick = [&clicks](ui::MenuItem&) { ++clicks; };
  grid->trigger();
  EXPECT_EQ(clicks, 1);
  EXPECT_TRUE(grid->isChecked());  // the model's flag, not Qt's toggle

  form.gridItem->setChecked(false);
  form.gridItem->setCaption("&Tabela");
  form.lockedItem->setEnabled(true);
  EXPECT_FALSE(grid->isChecked());
  EXPECT_EQ(grid->text(), "&Tabela");
  EXPECT_TRUE(locked->isEnabled());
}

// The host's own menu (its main form's, never shown itself) stands before the active child
// form's, and its items reach the model like any other.
TEST_F(InputTest, MenuBarShowsTheHostsMenuBeforeTheActiveFormsMenu) {
  host::CriaPrincipal();
  SampleForm& form = showSample();
  desktop->menus().refresh();
  auto* main = dynamic_cast<host::TfrmPrincipal*>(ui::application().mainForm());
  ASSERT_NE(main, nullptr);
  QMenuBar* bar = desktop->mainWindow().menuBar();
  ASSERT_GE(bar->actions().size(), 2);
  EXPECT_EQ(bar->actions()[0]->text(), "&Sistema");
  EXPECT_EQ(bar->actions()[1]->text(), "&Operação");
  EXPECT_EQ(desktop->menus().shownMenu(), form.menu);

  int opened = 0;
  main->mnuHistoricoAlteracoes->onClick = [&opened](ui::MenuItem&) { ++opened; };
  QAction* history = desktop->menus().actionOf(*main->mnuHistoricoAlteracoes);
  ASSERT_NE(history, nullptr);
  history->trigger();
  EXPECT_EQ(opened, 1);
}

}  // namespace
}  // namespace shell::testing
