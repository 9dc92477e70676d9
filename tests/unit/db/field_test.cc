// Field values, conversions and texts with the Brazilian formats.
#include <gtest/gtest.h>

#include <limits>

#include "host/ui/regional.h"
#include "tests/unit/db/test_data.h"

namespace db {
namespace {

using packet::Value;

class FieldTest : public ::testing::Test {
 protected:
  FieldTest() {
    testing::defineFields(ds);
    ds.loadPacket(testing::packetOf(
        {{std::string("A"), std::string("Ana"), 1234.5, ui::regional::encodeDate(2024, 3, 1)}}));
  }
  Field& code() { return ds.fieldByName("CODE"); }
  Field& name() { return ds.fieldByName("NAME"); }
  Field& value() { return ds.fieldByName("VALUE"); }
  Field& day() { return ds.fieldByName("DAY"); }

  DataSet ds{"cds"};
};

TEST_F(FieldTest, NumberTextsFollowDisplayAndEditFormats) {
  EXPECT_EQ(value().text(), "1234,5");
  EXPECT_EQ(value().displayText(), "1234,5");
  value().setDisplayFormat("#,##0.00000");
  EXPECT_EQ(value().displayText(), "1.234,50000");
  EXPECT_EQ(value().text(), "1.234,50000");
  value().setEditFormat("0.00000");
  EXPECT_EQ(value().text(), "1234,50000");
  EXPECT_EQ(value().asString(), "1234,5");
  EXPECT_EQ(day().text(), "01/03/2024");
  EXPECT_EQ(name().text(), "Ana");
}

TEST_F(FieldTest, SetTextParsesAndReportsBadTypingInPortuguese) {
  ds.edit();
  value().setText("1.234,56");
  EXPECT_DOUBLE_EQ(value().asFloat(), 1234.56);
  value().setText("");
  EXPECT_TRUE(value().isNull());
  EXPECT_DOUBLE_EQ(value().asFloat(), 0);
  try {
    value().setText("12a");
    FAIL();
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "'12a' não é um valor numérico válido.");
  }
  try {
    day().setText("31/02/2024");
    FAIL();
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "'31/02/2024' não é uma data válida.");
  }
  day().setText("15/08/2023 10:30");
  EXPECT_EQ(day().text(), "15/08/2023 10:30:00");
  EXPECT_TRUE(value().isNull());  // the failed typing changed nothing
}

TEST_F(FieldTest, TextsAreCutToTheSizeInCharacters) {
  ds.edit();
  code().setText("ÁÉÍÓÚ");
  EXPECT_EQ(code().asString(), "ÁÉÍÓ");
  name().setValue(std::string("exatamente dez"));
  EXPECT_EQ(name().asString(), "exatamente");
}

TEST_F(FieldTest, WritingNeedsEditingAWritableFieldAndAValueOfTheRightKind) {
  try {
    name().setAsString("x");
    FAIL();
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "Conjunto de dados não está em modo de edição ou inclusão.");
  }
  ds.edit();
  EXPECT_THROW(value().setValue(std::string("1")), DataError);
  EXPECT_THROW(name().setValue(1.0), DataError);
  EXPECT_THROW(value().setValue(std::numeric_limits<double>::infinity()), DataError);
  name().setReadOnly(true);
  EXPECT_THROW(name().setAsString("x"), DataError);
  EXPECT_FALSE(ds.modified());
}

TEST_F(FieldTest, ConversionsBetweenKinds) {
  ds.edit();
  name().setAsFloat(2.5);
  EXPECT_EQ(name().asString(), "2,5");
  EXPECT_DOUBLE_EQ(name().asFloat(), 2.5);
  name().setAsString("abc");
  EXPECT_THROW(name().asFloat(), DataError);
  day().setAsString("02/01/1900");
  EXPECT_DOUBLE_EQ(day().asFloat(), 3);
  // A typed date outside 01/01/1900..31/12/9999 is refused and the field keeps its value.
  EXPECT_THROW(day().setAsString("31/12/1899"), DataError);
  EXPECT_DOUBLE_EQ(day().asFloat(), 3);
  name().setAsDateTime(ui::regional::encodeDate(2020, 2, 29));
  EXPECT_EQ(name().asString(), "29/02/2020");
  EXPECT_DOUBLE_EQ(name().asDateTime(), ui::regional::encodeDate(2020, 2, 29));
}

TEST_F(FieldTest, TextHandlersReplaceTheDefaultConversions) {
  std::string seen;
  code().onGetText = [&](Field& f, std::string& text, bool display) {
    seen += display ? "D" : "E";
    text = f.asString() == "A" ? "Alfa" : "";
  };
  code().onSetText = [](Field& f, const std::string& text) {
    if (text == "Bravo")
      f.setAsString("B");
  };
  EXPECT_EQ(code().displayText(), "Alfa");
  EXPECT_EQ(code().text(), "Alfa");
  EXPECT_EQ(seen, "DE");
  ds.edit();
  code().setText("Bravo");
  EXPECT_EQ(code().asString(), "B");
  code().setText("outro");  // the handler leaves the field unchanged
  EXPECT_EQ(code().asString(), "B");
}

TEST_F(FieldTest, DisplayTextOfTextFieldsGoesThroughTheEditMask) {
  ds.edit();
  name().setAsString("1234567890");
  name().setEditMask("999.999.999-9;0;_");
  EXPECT_EQ(name().displayText(), "123.456.789-0");
  EXPECT_EQ(name().text(), "1234567890");
}

TEST_F(FieldTest, DisplayTextAtReadsAnotherRowForHandlersToo) {
  ds.loadPacket(testing::threeRows());
  ds.fieldByName("NAME").onGetText = [](Field& f, std::string& text, bool) {
    text = f.dataSet().fieldByName("CODE").asString() + "-" + f.asString();
  };
  EXPECT_EQ(name().displayTextAt(2), "C-Caio");
  EXPECT_EQ(name().displayText(), "A-Ana");
  ds.last();
  ds.insert();
  code().setAsString("N");
  EXPECT_EQ(name().displayTextAt(2), "N-");
  EXPECT_EQ(name().displayTextAt(3), "C-Caio");
}

}  // namespace
}  // namespace db
