#include <gtest/gtest.h>

#include <string>

#include "host/ui/application.h"
#include "host/ui/containers.h"
#include "host/ui/edit.h"
#include "host/ui/errors.h"
#include "tests/unit/ui/test_runner.h"

namespace ui {
namespace {

// A form with two panels of two edits each; every enter and exit is logged.
class FocusForm : public Form {
 public:
  FocusForm() : Form("frmFocus") {
    setBounds(0, 0, 400, 300);
    left = add<Panel>("panLeft");
    right = add<Panel>("panRight");
    a = left->add<Edit>("edtA");
    b = left->add<Edit>("edtB");
    c = right->add<Edit>("edtC");
    d = right->add<Edit>("edtD");
    left->setTabOrder(0);
    right->setTabOrder(1);
    a->setTabOrder(0);
    b->setTabOrder(1);
    c->setTabOrder(0);
    d->setTabOrder(1);
    for (Control* ctl : std::initializer_list<Control*>{left, right, a, b, c, d}) {
      ctl->onEnter = [this](Control& x) { log += "enter " + x.name() + ";"; };
      ctl->onExit = [this](Control& x) { log += "exit " + x.name() + ";"; };
    }
  }
  Panel* left;
  Panel* right;
  Edit* a;
  Edit* b;
  Edit* c;
  Edit* d;
  std::string log;
};

class FocusTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetApplication();
    form = application().createForm<FocusForm>();
    form->show();
    form->log.clear();
  }
  void TearDown() override { resetApplication(); }
  FocusForm* form = nullptr;
};

TEST_F(FocusTest, ShowFocusesTheFirstControlAndMovesFireExitsInnermostFirstThenEnters) {
  EXPECT_EQ(form->activeControl(), form->a);
  form->c->setFocus();
  EXPECT_EQ(form->log, "exit edtA;exit panLeft;enter panRight;enter edtC;");
  form->log.clear();
  form->d->setFocus();
  EXPECT_EQ(form->log, "exit edtC;enter edtD;");
  EXPECT_TRUE(form->d->focused());
  EXPECT_FALSE(form->c->focused());
}

TEST_F(FocusTest, RaiseFromAnExitHandlerKeepsTheFocus) {
  form->left->onExit = [this](Control&) {
    form->log += "exit panLeft;";
    throw Abort();
  };
  EXPECT_THROW(form->c->setFocus(), Abort);
  EXPECT_EQ(form->activeControl(), form->a);
  EXPECT_EQ(form->focusHolder(), form->a);
  EXPECT_EQ(form->log, "exit edtA;exit panLeft;");
}

TEST_F(FocusTest, DuringExitsTheTargetIsAlreadyTheActiveControl) {
  Control* seen = nullptr;
  bool leavingStillFocused = true;
  form->a->onExit = [&](Control&) {
    seen = form->activeControl();
    leavingStillFocused = form->a->focused();
  };
  form->c->setFocus();
  EXPECT_EQ(seen, form->c);
  EXPECT_FALSE(leavingStillFocused);
}

TEST_F(FocusTest, AHandlerThatMovesTheFocusWinsAndContainersAreNotLeftTwice) {
  // Leaving the left panel sends the focus to edtD instead of the clicked edtC.
  form->left->onExit = [this](Control&) {
    form->log += "exit panLeft;";
    form->d->setFocus();
  };
  form->c->setFocus();
  EXPECT_EQ(form->activeControl(), form->d);
  EXPECT_EQ(form->log, "exit edtA;exit panLeft;enter panRight;enter edtD;");
}

TEST_F(FocusTest, AHandlerThatRefocusesTheLeftControlAndRaisesKeepsIt) {
  form->left->onExit = [this](Control&) {
    form->log += "exit panLeft;";
    form->b->setFocus();
    throw Abort();
  };
  EXPECT_THROW(form->c->setFocus(), Abort);
  EXPECT_EQ(form->activeControl(), form->b);
  EXPECT_EQ(form->log, "exit edtA;exit panLeft;enter edtB;");
}

TEST_F(FocusTest, DisabledOrHiddenControlsAndContainersRefuseFocusAndClicks) {
  form->right->setEnabled(false);
  EXPECT_FALSE(form->c->canFocus());
  EXPECT_THROW(form->c->setFocus(), UiError);
  int clicks = 0;
  form->c->onClick = [&](Control&) { ++clicks; };
  application().click(*form->c);
  EXPECT_EQ(clicks, 0);
  form->right->setEnabled(true);
  form->right->setVisible(false);
  EXPECT_FALSE(form->d->canFocus());
  form->right->setVisible(true);
  application().click(*form->c);
  EXPECT_EQ(clicks, 1);
  EXPECT_EQ(form->activeControl(), form->c);
}

TEST_F(FocusTest, TabFollowsTabOrderAcrossContainersAndWraps) {
  form->a->setTabStop(true);
  form->selectNext(true);
  EXPECT_EQ(form->activeControl(), form->b);
  form->selectNext(true);
  EXPECT_EQ(form->activeControl(), form->c);
  form->selectNext(true);
  form->selectNext(true);
  EXPECT_EQ(form->activeControl(), form->a);
  form->selectNext(false);
  EXPECT_EQ(form->activeControl(), form->d);
}

}  // namespace
}  // namespace ui
