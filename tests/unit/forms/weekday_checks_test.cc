// The weekday value checks of "Exceções por Dia" when they fail.
#include "tests/unit/forms/main_form_fixture.h"

namespace {

using forms_test::MainFormTest;
using forms_test::textRows;

class WeekdayChecksTest : public MainFormTest {
 protected:
  void SetUp() override {
    MainFormTest::SetUp();
    server.answer("GetServClie",
                  textRows({"CDFILIAL", "CDSERVFILI", "CDCLIENTE"}, {{"0002", "00002", "100034"}}));
    leaveFilter("0002", "00002");
    ui::application().dispatch([&] { form->cdsServClie->edit(); });
    runner->messages.clear();
  }
};

// A failed check brings its page forward and focuses its edit; when the edit cannot take the
// focus the check still ends with its own message alone.
TEST_F(WeekdayChecksTest, AFailedCheckWhoseEditCannotTakeTheFocusShowsOnlyItsMessage) {
  EXPECT_FALSE(ui::application().dispatch([&] { form->Valida_Vr_Serv(form->dbeVrServFer, true); }));
  EXPECT_EQ(runner->messages,
            (std::vector<std::string>{"error: Valor do serviço deve ser informado."}));
  EXPECT_EQ(form->pgcValorServ->activePage(), form->tshExcecao);
  EXPECT_TRUE(form->dbeVrServFer->focused());

  runner->messages.clear();
  form->dbeMinEfetSeg->setEnabled(false);
  EXPECT_FALSE(
      ui::application().dispatch([&] { form->Valida_Min_Efet(form->dbeMinEfetSeg, true); }));
  EXPECT_EQ(runner->messages,
            (std::vector<std::string>{"error: Mínimo efetivos deve ser informado."}));
  EXPECT_EQ(form->pgcClientesServico->activePage(), form->tshValorServ);
  EXPECT_EQ(form->cdsServClie->state(), db::DataSetState::Edit);
}

}  // namespace
