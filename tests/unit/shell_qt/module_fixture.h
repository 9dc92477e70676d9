// The real module in the desktop window, for the desktop tests: loaded by path as the host
// loads it, against an application server embedded in the test on a fresh demo database.
#pragma once

#include <QDir>
#include <QListView>
#include <QTemporaryDir>
#include <memory>
#include <stdexcept>
#include <string>

#include "host/process_state.h"
#include "host/ui/regional.h"
#include "server/app_server.h"
#include "shell/host_startup.h"
#include "tests/unit/shell_qt/desktop_fixture.h"

namespace shell::testing {

class ModuleDesktopTest : public DesktopTest {
 protected:
  void SetUp() override {
    DesktopTest::SetUp();
    ASSERT_TRUE(folder_.isValid());
    HostOptions options;
    options.database = QDir(folder_.path()).filePath("cps.db").toStdString();
    options.modulePath = defaultModulePath();
    server_ = startHost(options);
    entry_ = loadModule(options.modulePath);
    // Starts of validity are checked against today.
    ui::regional::setClockForTesting(ui::regional::encodeDate(2026, 3, 15) + 0.5);
  }

  void TearDown() override {
    // Closing the form through the model resets the module's state for the next test.
    if (ui::Form* main = mainForm())
      renderer().deliver([main] { main->close(); });
    settle();
    DesktopTest::TearDown();
    if (server_)
      server_->stop();
    host::processState().reset();
  }

  static ui::Form* mainForm() { return ui::application().findForm("frmClientesServico"); }

  template <class T>
  static T& control(const ui::Form& form, const std::string& name) {
    T* found = form.find<T>(name);
    if (found == nullptr)
      throw std::runtime_error("no control " + name);
    return *found;
  }

  ui::Form& openModule() {
    renderer().deliver([this] { entry_(); });
    settle();
    ui::Form* form = mainForm();
    if (form == nullptr)
      throw std::runtime_error("the main form did not open");
    return *form;
  }

  // Types a branch and a service into the filter and leaves it for the client list, all
  // with real mouse and key events.
  void pickBranchAndService(ui::Form& form, const char* branch, const char* service) {
    auto& branchEdit = control<ui::Edit>(form, "medCdFilial");
    auto& serviceEdit = control<ui::Edit>(form, "medCdServico");
    click(branchEdit);
    QTest::keyClicks(widget(branchEdit), branch);
    QTest::keyClick(widget(branchEdit), Qt::Key_Tab);
    settle();
    EXPECT_TRUE(serviceEdit.focused());
    QTest::keyClicks(widget(serviceEdit), service);
    click(control<ui::Control>(form, "lsbPossiveis"));
  }

  void clickListItem(const ui::ListBox& list, int index) {
    auto* items = widgetAs<QListView>(list);
    ASSERT_NE(items, nullptr);
    click(list, items->visualRect(items->model()->index(index, 0)).center());
  }

  QTemporaryDir folder_;
  std::unique_ptr<server::AppServer> server_;
  EntryPoint entry_ = nullptr;
};

}  // namespace shell::testing
