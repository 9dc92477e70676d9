#include "host/ui/typed_edits.h"

#include <gtest/gtest.h>

#include "host/ui/application.h"
#include "host/ui/errors.h"
#include "host/ui/regional.h"

namespace ui {
namespace {

class TypedEditsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    resetApplication();
    form = application().createForm<Form>("frmTeste");
    form->setBounds(0, 0, 300, 200);
  }
  void TearDown() override { resetApplication(); }
  void type(Edit& edit, const std::string& text) {
    edit.selectAll();
    for (size_t i = 0; i < text.size(); ++i) {
      application().keyPress(edit, static_cast<unsigned char>(text[i]));
    }
  }
  Form* form = nullptr;
};

TEST_F(TypedEditsTest, BranchMaskTakesFourLettersOrDigitsInUpperCase) {
  auto* edit = form->add<MaskEdit>("medCdFilial");
  edit->setEditMask(">aaaa;0; ");
  type(*edit, "a1-b2c");
  EXPECT_EQ(edit->text(), "A1B2");
  EXPECT_EQ(edit->value(), "A1B2");
  application().keyPress(*edit, U'\b');
  EXPECT_EQ(edit->text(), "A1B");
}

TEST_F(TypedEditsTest, ServiceMaskTakesFiveOfAnyCharacter) {
  auto* edit = form->add<MaskEdit>("medCdServico");
  edit->setEditMask("ccccc;0; ");
  type(*edit, "a-b.cde");
  EXPECT_EQ(edit->text(), "a-b.c");
}

TEST_F(TypedEditsTest, DateEditReadsTypedDatesAndRefusesImpossibleOnes) {
  auto* edit = form->add<DateEdit>("depDataIni");
  type(*edit, "0102");
  EXPECT_EQ(edit->textColor(), "");  // not a date yet
  type(*edit, "01022026");
  EXPECT_EQ(edit->text(), "01/02/2026");
  EXPECT_EQ(edit->date(), regional::encodeDate(2026, 2, 1));
  EXPECT_EQ(edit->textColor(), "clBlue");
  type(*edit, "31/02/2026");
  EXPECT_EQ(edit->text(), "31/02/2026");
  EXPECT_EQ(edit->date(), 0);
  EXPECT_EQ(edit->textColor(), "");
  EXPECT_THROW(edit->checkValidDate(), UiError);
  edit->setText("");
  EXPECT_TRUE(edit->isEmpty());
  EXPECT_EQ(edit->textColor(), "");
  EXPECT_NO_THROW(edit->checkValidDate());
  edit->setDate(regional::encodeDate(2025, 12, 31) + 0.75);
  EXPECT_EQ(edit->text(), "31/12/2025");
  EXPECT_EQ(edit->date(), regional::encodeDate(2025, 12, 31));
}

TEST_F(TypedEditsTest, NumberEditTakesDigitsOneCommaAndFormatsWhenLeft) {
  auto* edit = form->add<NumberEdit>("nedVrSevico");
  edit->setDecimals(5);
  type(*edit, "12a34,5,6");
  EXPECT_EQ(edit->text(), "1234,56");
  EXPECT_DOUBLE_EQ(edit->value(), 1234.56);
  edit->doExit();
  EXPECT_EQ(edit->text(), "1.234,56000");
  edit->setText("");
  EXPECT_EQ(edit->value(), 0);
  edit->setValue(0.5);
  EXPECT_EQ(edit->text(), "0,50000");
}

}  // namespace
}  // namespace ui
