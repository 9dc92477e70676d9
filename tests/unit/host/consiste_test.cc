// Consistency routines: code adjusting, inscription masks, dates typed into fields and the
// grid helpers.
#include "host/consiste.h"

#include <gtest/gtest.h>

#include "host/db/data_set.h"
#include "host/ui/application.h"
#include "host/ui/edit_mask.h"
#include "host/ui/errors.h"
#include "host/ui/regional.h"

namespace Consiste {
namespace {

TEST(ConsisteTest, AjustaPadsShortCodesWithZerosAndLeavesTheRest) {
  struct Case {
    const char* code;
    int width;
    const char* expected;
  };
  const Case cases[] = {
      {"1", 4, "0001"},    {"12", 4, "0012"}, {"0001", 4, "0001"}, {"12345", 4, "12345"},
      {" 7 ", 5, "00007"}, {"AB", 4, "00AB"}, {"4", 2, "04"},      {"10", 2, "10"},
      {"", 4, ""},         {"   ", 4, ""},    {"ÁB", 3, "0ÁB"},    {"1", 0, "1"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(Ajusta(c.code, c.width), c.expected) << "'" << c.code << "' to " << c.width;
}

TEST(ConsisteTest, PictPessFormatsBothInscriptionsAndNothingElse) {
  EXPECT_EQ(ui::formatMaskText(PictPess("F"), "12345678901"), "123.456.789-01");
  EXPECT_EQ(ui::formatMaskText(PictPess("J"), "12345678000195"), "12.345.678/0001-95");
  EXPECT_EQ(ui::formatMaskText(PictPess(" j "), "12345678000195"), "12.345.678/0001-95");
  // Formatting an already formatted inscription changes nothing.
  EXPECT_EQ(ui::formatMaskText(PictPess("F"), "123.456.789-01"), "123.456.789-01");
  EXPECT_EQ(PictPess("X"), "");
  EXPECT_EQ(PictPess(""), "");
  EXPECT_EQ(ui::formatMaskText(PictPess(""), "ABC-1"), "ABC-1");
}

TEST(ConsisteTest, EmptyStringAndRounding) {
  EXPECT_TRUE(EmptyString(""));
  EXPECT_TRUE(EmptyString("   "));
  EXPECT_TRUE(EmptyString(" \t "));
  EXPECT_FALSE(EmptyString(" 0 "));
  EXPECT_DOUBLE_EQ(RoundDec(2.675, 2), 2.68);
  EXPECT_DOUBLE_EQ(RoundDec(1234.567891, 5), 1234.56789);
  EXPECT_DOUBLE_EQ(RoundDec(-0.000005, 5), -0.00001);
}

class DateSetTextTest : public ::testing::Test {
 protected:
  DateSetTextTest() {
    dataSet.addField("DTSRVFATUHIS", packet::FieldType::DateTime);
    packet::Packet rows;
    rows.fields = {{"DTSRVFATUHIS", packet::FieldType::DateTime, 0}};
    rows.rows = {{ui::regional::encodeDate(2024, 3, 1)}};
    dataSet.loadPacket(rows);
    dataSet.edit();
  }
  db::Field& field() { return dataSet.fieldByName("DTSRVFATUHIS"); }

  db::DataSet dataSet{"cdsHistServFatu"};
};

TEST_F(DateSetTextTest, StoresTypedDatesAndNullForAnEmptyText) {
  EXPECT_EQ(DateMask(), "!99/99/9999;1;_");
  DateSetText(field(), "15/04/2024");
  EXPECT_DOUBLE_EQ(field().asDateTime(), ui::regional::encodeDate(2024, 4, 15));
  DateSetText(field(), "  /  /    ");
  EXPECT_TRUE(field().isNull());
  DateSetText(field(), "1/5/24");
  EXPECT_DOUBLE_EQ(field().asDateTime(), ui::regional::encodeDate(2024, 5, 1));
  DateSetText(field(), "__/__/____");
  EXPECT_TRUE(field().isNull());
}

TEST_F(DateSetTextTest, ABadDateIsRefusedWithTheRegionalMessageAndChangesNothing) {
  try {
    DateSetText(field(), "31/02/2024");
    FAIL() << "an impossible date must be refused";
  } catch (const ui::UiError& e) {
    EXPECT_EQ(e.what(), ui::regional::invalidDateMessage("31/02/2024"));
  }
  EXPECT_THROW(DateSetText(field(), "12/__/____"), ui::UiError);
  EXPECT_DOUBLE_EQ(field().asDateTime(), ui::regional::encodeDate(2024, 3, 1));
}

TEST(GridHelpersTest, IndiceColFindsTheColumnAndGridTextFollowsTheTyping) {
  ui::Form form("frmGrade");
  auto* dataSet = form.make<db::DataSet>("cdsServClie");
  dataSet->addField("NMRAZSOCCLIE", packet::FieldType::Text, 50);
  dataSet->addField("DSEMISSERCLI", packet::FieldType::Text, 40);
  packet::Packet rows;
  rows.fields = dataSet->fieldDefs();
  rows.rows = {{std::string("Alfa"), std::string("Mensal")}};
  dataSet->loadPacket(rows);
  auto* source = form.make<db::DataSource>("dtsPadrao", dataSet);
  auto* grid = form.add<db::DBGrid>("dbgPadrao");
  grid->setDataSource(source);
  grid->setOption(db::GridOption::Editing, true);
  grid->addColumn("NMRAZSOCCLIE");
  grid->addColumn("DSEMISSERCLI");

  EXPECT_EQ(IndiceCol(*grid, "DSEMISSERCLI"), 1);
  EXPECT_EQ(IndiceCol(*grid, "dsemisserCLI"), 1);
  EXPECT_EQ(IndiceCol(*grid, "IDEXVLRVENDA"), -1);

  grid->setSelectedIndex(1);
  EXPECT_EQ(GridText(*grid), "Mensal");
  ui::application().keyPress(*grid, U'Q');
  EXPECT_EQ(GridText(*grid), "Q");
  // The field keeps its value until the editor's text is written.
  EXPECT_EQ(dataSet->fieldByName("DSEMISSERCLI").asString(), "Mensal");
}

}  // namespace
}  // namespace Consiste
