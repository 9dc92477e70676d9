#include <gtest/gtest.h>

#include "forms/dialogs/frm_vigencia_turno.h"
#include "host/ui/application.h"
#include "host/ui/regional.h"
#include "module/module_state.h"
#include "tests/unit/forms/forms_test_support.h"
#include "tests/unit/ui/test_runner.h"

namespace {

double date(int y, int m, int d) {
  return ui::regional::encodeDate(y, m, d);
}

class VigenciaTurnoTest : public ::testing::Test {
 protected:
  void SetUp() override {
    forms_test::resetProcess();
    runner = std::make_unique<ui::testing::TestRunner>();
  }
  void TearDown() override {
    runner.reset();
    forms_test::resetProcess();
  }
  // Runs the dialog inside a user event, as the post of a shift row does.
  bool ask(double& proposed, double current) {
    bool confirmed = false;
    ui::application().dispatch(
        [&] { confirmed = Cli_zev00605::CriaVigenciaTurno(proposed, current); });
    return confirmed;
  }
  static void typeDate(ui::Form& form, const std::string& text) {
    auto& dialog = static_cast<TfrmVigenciaTurno&>(form);
    dialog.depVigencia->setText(text);
  }
  static void confirm(ui::Form& form) {
    auto& dialog = static_cast<TfrmVigenciaTurno&>(form);
    ui::application().dispatch([&] { ui::application().click(*dialog.sbtConfirma); });
  }
  std::unique_ptr<ui::testing::TestRunner> runner;
};

TEST_F(VigenciaTurnoTest, ConfirmingTheProposedDateReturnsItAndTheDialogGoes) {
  double proposed = date(2026, 3, 1);
  runner->modalActions.push_back([](ui::Form& form) { confirm(form); });
  EXPECT_TRUE(ask(proposed, date(2026, 3, 1)));
  EXPECT_EQ(proposed, date(2026, 3, 1));
  EXPECT_TRUE(runner->messages.empty());
  EXPECT_EQ(ui::application().findForm("frmVigenciaTurno"), nullptr);
}

TEST_F(VigenciaTurnoTest, AnEarlierDateAsksAndNoKeepsTheDialogOpen) {
  double proposed = date(2026, 3, 1);
  runner->answers = {ui::mrNo, ui::mrYes};
  runner->modalActions.push_back([](ui::Form& form) {
    typeDate(form, "01/02/2026");
    confirm(form);
    EXPECT_EQ(form.modalResult(), ui::mrNone);
    confirm(form);
  });
  EXPECT_TRUE(ask(proposed, date(2026, 2, 15)));
  EXPECT_EQ(proposed, date(2026, 2, 1));
  ASSERT_EQ(runner->messages.size(), 2u);
  EXPECT_EQ(runner->messages[0],
            "question: Data de vigência menor que a última data de vigência cadastrada. "
            "Confirma a operação?");
}

TEST_F(VigenciaTurnoTest, EmptyAndImpossibleDatesAreRefusedAndCancelKeepsTheProposal) {
  double proposed = date(2026, 3, 1);
  runner->modalActions.push_back([](ui::Form& form) {
    typeDate(form, "");
    confirm(form);
    typeDate(form, "31/02/2026");
    confirm(form);
    form.close();
  });
  EXPECT_FALSE(ask(proposed, 0));
  EXPECT_EQ(proposed, date(2026, 3, 1));
  EXPECT_EQ(runner->messages,
            (std::vector<std::string>{"error: Data de início da vigência deve ser informada.",
                                      "error: '31/02/2026' não é uma data válida."}));
}

TEST_F(VigenciaTurnoTest, WithoutAStartOfValidityNoQuestionIsAsked) {
  double proposed = date(1990, 1, 1);
  runner->modalActions.push_back([](ui::Form& form) { confirm(form); });
  EXPECT_TRUE(ask(proposed, 0));
  EXPECT_TRUE(runner->messages.empty());
}

}  // namespace
