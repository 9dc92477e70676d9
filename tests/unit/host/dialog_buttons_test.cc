// The confirm-or-cancel ending of the host's dialogs: what the buttons and the keys do, and
// that a closed dialog goes.
#include "host/dialog_buttons.h"

#include <gtest/gtest.h>

#include "host/ui/application.h"
#include "tests/unit/ui/test_runner.h"

namespace host {
namespace {

class AskingDialog : public ui::Form {
 public:
  AskingDialog() : Form("frmPergunta") {
    buttons = addDialogButtons(*this, {"sbtSim", "&Sim"}, {"sbtNao", "&Não"}, 10, 20,
                               [this] { ++confirmations; });
  }
  DialogButtons buttons{};
  int confirmations = 0;
};

class DialogButtonsTest : public ::testing::Test {
 protected:
  ~DialogButtonsTest() override { ui::resetApplication(); }

  // What one key or click did: "confirm", "cancel" or "none".
  std::string outcome(const std::function<void()>& input) {
    dialog->setModalResult(ui::mrNone);
    const int before = dialog->confirmations;
    ui::application().dispatch(input);
    if (dialog->confirmations != before)
      return "confirm";
    return dialog->modalResult() == ui::mrCancel ? "cancel" : "none";
  }
  std::string key(ui::Key key, ui::ShiftState shift = {}) {
    return outcome([&] { ui::application().keyDown(*dialog, key, shift); });
  }

  ui::testing::TestRunner runner;
  AskingDialog* dialog = ui::application().createForm<AskingDialog>();
};

TEST_F(DialogButtonsTest, ButtonsAndUnmodifiedKeysConfirmOrCancel) {
  dialog->show();
  EXPECT_EQ(dialog->buttons.cancel->bounds().left, 10 + 75 + 6);
  EXPECT_EQ(key(ui::keys::Enter), "confirm");
  EXPECT_EQ(key(ui::keys::Escape), "cancel");
  EXPECT_EQ(key(ui::keys::Enter, {.shift = true}), "none");
  EXPECT_EQ(key(ui::keys::Escape, {.ctrl = true}), "none");
  EXPECT_EQ(outcome([&] { ui::application().click(*dialog->buttons.confirm); }), "confirm");
  EXPECT_EQ(outcome([&] { ui::application().click(*dialog->buttons.cancel); }), "cancel");
}

TEST_F(DialogButtonsTest, AClosedDialogIsFreed) {
  runner.modalActions.push_back(
      [](ui::Form& form) { ui::application().keyDown(form, ui::keys::Escape, {}); });
  EXPECT_EQ(dialog->showModal(), ui::mrCancel);
  ui::application().flushReleases();
  EXPECT_EQ(ui::application().findForm("frmPergunta"), nullptr);
}

}  // namespace
}  // namespace host
