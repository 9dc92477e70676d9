// The real module in the desktop window: loaded by path as the host loads it, against an
// application server embedded in the test on a fresh demo database, driven only through Qt
// events. After every step the window and the model must agree on every control.
#include <QImage>
#include <QMdiSubWindow>
#include <QTableView>
#include <QTimer>
#include <QToolButton>
#include <functional>

#include "tests/unit/shell_qt/module_fixture.h"

namespace shell::testing {
namespace {

TEST_F(ModuleDesktopTest, TheFilterTypedThroughQtLoadsTheBranchsClientsAndTheWindowFollows) {
  ui::Form& form = openModule();
  auto* window = qobject_cast<QMdiSubWindow*>(renderer().windowOf(form));
  ASSERT_NE(window, nullptr);
  EXPECT_EQ(window->windowTitle(), "Clientes por Serviço");
  EXPECT_TRUE(window->isVisible());
  // In the filter only the client-service page is open and the record commands are off.
  auto& pages = control<ui::PageControl>(form, "pgcClientesServico");
  for (const char* button : {"sbtConfirmar", "sbtIncluir", "sbtEscolhido", "sbtVrServico"}) {
    EXPECT_FALSE(control<ui::Control>(form, button).usable()) << button;
    EXPECT_FALSE(widget(control<ui::Control>(form, button))->isEnabled()) << button;
  }
  expectInStep(form);

  pickBranchAndService(form, "0001", "00008");
  const auto& list = control<ui::ListBox>(form, "lsbPossiveis");
  EXPECT_TRUE(list.focused());
  EXPECT_EQ(control<ui::Edit>(form, "edtNmServico").text(), "Limpeza hospitalar");
  ASSERT_GT(list.count(), 100);
  auto* items = widgetAs<QListView>(list);
  ASSERT_EQ(items->model()->rowCount(), list.count());
  EXPECT_EQ(items->model()->index(0, 0).data().toString(),
            "70.002.320/0002-47 - Academia Laranjeiras Fitness Ltda");
  // The working state opens pages the filter kept closed, and the tab bar says so.
  QTabBar* tabs = tabBarOf(pages);
  const auto sheets = pages.pages();
  for (int tab = 0; tab < tabs->count(); ++tab) {
    EXPECT_EQ(tabs->isTabEnabled(tab), sheets[static_cast<size_t>(tab)]->enabled())
        << sheets[static_cast<size_t>(tab)]->name();
  }
  EXPECT_TRUE(messages.empty()) << messages.front();
  expectInStep(form);
}

TEST_F(ModuleDesktopTest, AClientMovedInThroughTheValidityDialogShowsInTheRefreshedGrid) {
  ui::Form& form = openModule();
  pickBranchAndService(form, "0001", "00008");
  const auto& list = control<ui::ListBox>(form, "lsbPossiveis");
  const int listed = list.count();
  clickListItem(list, 0);
  EXPECT_EQ(list.selectedIndexes(), std::vector<int>{0});
  auto& moveIn = control<ui::Control>(form, "sbtEscolhido");
  ASSERT_TRUE(moveIn.usable());
  ASSERT_TRUE(widget(moveIn)->isEnabled());

  // The dialog runs in a nested event loop; the user answers it through its widgets.
  bool answered = false;
  QTimer::singleShot(0, qApp, [&] {
    ui::Form* dialog = ui::application().findForm("frmDtValidade");
    ASSERT_NE(dialog, nullptr);
    settle();
    QWidget* window = renderer().windowOf(*dialog);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowModality(), Qt::ApplicationModal);
    EXPECT_EQ(window->windowTitle(), "Cadastramento Validade");
    expectInStep(*dialog);
    auto& date = control<ui::Edit>(*dialog, "depDataIni");
    auto& value = control<ui::Edit>(*dialog, "nedVrSevico");
    auto& reason = control<ui::Edit>(*dialog, "memMotivo");
    click(date);
    QTest::keyClicks(widget(date), "01/04/2026");
    click(value);
    QTest::keyClicks(widget(value), "1234,5");
    click(reason);
    QTest::keyClicks(widget(reason), "Contrato novo");
    expectInStep(*dialog);
    answered = true;
    click(control<ui::Control>(*dialog, "sbtConfirma"));
    // Whatever went wrong, the nested loop must end.
    if (ui::Form* still = ui::application().findForm("frmDtValidade"); still && still->visible())
      renderer().deliver([still] { still->close(); });
  });
  click(moveIn);
  settle();
  ASSERT_TRUE(answered);
  EXPECT_TRUE(messages.empty()) << messages.front();
  EXPECT_EQ(desktop->runner().depth(), 0);

  // Saved, reloaded from the server and shown.
  auto& grid = control<db::DBGrid>(form, "dbgPadrao");
  auto* table = widgetAs<QTableView>(grid);
  ASSERT_NE(table, nullptr);
  ASSERT_EQ(grid.rowCount(), 1);
  ASSERT_EQ(table->model()->rowCount(), 1);
  auto cellText = [&](const char* field) {
    return table->model()->index(0, grid.columnOf(field)).data().toString();
  };
  EXPECT_EQ(cellText("NMRAZSOCCLIE"), "Academia Laranjeiras Fitness Ltda");
  EXPECT_EQ(cellText("VRSERVFATU"), "1.234,50000");
  EXPECT_EQ(control<ui::Edit>(form, "dbdDtIniVig").text(), "01/04/2026");
  EXPECT_EQ(list.count(), listed - 1);
  EXPECT_EQ(widgetAs<QListView>(list)->model()->rowCount(), listed - 1);
  expectInStep(form);

  // Every page the working state opens, chosen on its tab, still agrees with the model.
  auto& pages = control<ui::PageControl>(form, "pgcClientesServico");
  QTabBar* tabs = tabBarOf(pages);
  for (int tab = tabs->count() - 1; tab >= 0; --tab) {
    if (!tabs->isTabEnabled(tab))
      continue;
    QTest::mouseClick(tabs, Qt::LeftButton, Qt::NoModifier, tabs->tabRect(tab).center());
    settle();
    EXPECT_EQ(pages.activePage(), pages.pages()[static_cast<size_t>(tab)]);
    expectInStep(form);
  }
  EXPECT_TRUE(messages.empty()) << messages.front();
}

TEST_F(ModuleDesktopTest, AScreenshotOfTheWorkingFormIsWrittenAndNotBlank) {
  ui::Form& form = openModule();
  pickBranchAndService(form, "0001", "00008");
  const QString path = QDir(folder_.path()).filePath("clientes.png");
  ASSERT_TRUE(desktop->screenshot(path.toStdString(), [] {}));
  const QImage image(path);
  ASSERT_FALSE(image.isNull());
  // The whole form is in the picture, and its list is not a flat area.
  const QRect list = widget(control<ui::Control>(form, "lsbPossiveis"))->rect();
  const QPoint origin =
      widget(control<ui::Control>(form, "lsbPossiveis"))->mapTo(&desktop->mainWindow(), QPoint());
  EXPECT_GE(image.width(), renderer().windowOf(form)->geometry().right());
  const QImage shown = image.copy(QRect(origin, list.size()));
  bool varied = false;
  for (int y = 0; y < shown.height() && !varied; ++y) {
    for (int x = 0; x < shown.width() && !varied; ++x)
      varied = shown.pixel(x, y) != shown.pixel(0, 0);
  }
  EXPECT_TRUE(varied);
}

}  // namespace
}  // namespace shell::testing
