// Loading, navigation, indexes and locate of the client data set.
#include <gtest/gtest.h>

#include <cmath>

#include "host/db/freed_memory.h"
#include "host/ui/regional.h"
#include "tests/unit/db/test_data.h"

namespace db {
namespace {

using packet::FieldType;
using packet::Value;

class DataSetTest : public ::testing::Test {
 protected:
  DataSetTest() { testing::defineFields(ds); }
  DataSet ds{"cds"};
};

TEST_F(DataSetTest, LoadReplacesEveryRowAndLandsOnTheFirst) {
  ds.loadPacket(testing::threeRows());
  ds.last();
  ds.loadPacket(testing::packetOf(
      {{std::string("X"), Value{}, 9.0, Value{}}, {std::string("Y"), Value{}, 8.0, Value{}}}));
  EXPECT_EQ(testing::codes(ds), "X,Y");
  ds.first();
  ds.loadPacket(testing::packetOf({{std::string("Z"), Value{}, 1.0, Value{}}}));
  EXPECT_EQ(ds.recNo(), 1);
  EXPECT_EQ(ds.fieldByName("CODE").asString(), "Z");
  EXPECT_TRUE(ds.bof());
}

TEST_F(DataSetTest, LoadMatchesFieldsByNameIgnoringCaseExtrasAndMissingOnes) {
  packet::Packet p;
  p.fields = {
      {"extra", FieldType::Text, 3}, {"value", FieldType::Double, 0}, {"code", FieldType::Text, 4}};
  p.rows = {{std::string("zzz"), 2.5, std::string("K")}};
  ds.loadPacket(p);
  EXPECT_EQ(ds.fieldByName("CODE").asString(), "K");
  EXPECT_DOUBLE_EQ(ds.fieldByName("VALUE").asFloat(), 2.5);
  EXPECT_TRUE(ds.fieldByName("NAME").isNull());
  EXPECT_EQ(ds.findField("EXTRA"), nullptr);
}

TEST_F(DataSetTest, BadPacketIsRefusedAndNothingIsReplaced) {
  ds.loadPacket(testing::threeRows());
  auto wrongType = testing::threeRows();
  wrongType.rows[2][2] = std::string("três");
  try {
    ds.loadPacket(wrongType);
    FAIL() << "wrong type accepted";
  } catch (const DataError& e) {
    EXPECT_NE(std::string(e.what()).find("VALUE"), std::string::npos) << e.what();
    EXPECT_NE(std::string(e.what()).find("linha 3"), std::string::npos) << e.what();
  }
  auto shortRow = testing::threeRows();
  shortRow.rows[0].pop_back();
  EXPECT_THROW(ds.loadPacket(shortRow), DataError);
  EXPECT_EQ(ds.state(), DataSetState::Browse);
  EXPECT_EQ(testing::codes(ds), "A,B,C");
}

TEST_F(DataSetTest, AHandedOverPacketIsTakenWholeOrLeftWhole) {
  // Large enough for the load to hand the freed memory back afterwards.
  const int rows = static_cast<int>(kLargeLoadValues / 4) + 1;
  packet::Packet large = testing::packetOf({});
  for (int i = 0; i < rows; ++i)
    large.rows.push_back(
        {std::to_string(i % 10000), std::string("Cliente"), static_cast<double>(i), 46096.5});
  packet::Packet refused = large;
  refused.rows.back()[2] = std::string("muito");

  ds.loadPacket(testing::threeRows());
  EXPECT_THROW(ds.loadPacket(std::move(refused)), DataError);
  EXPECT_EQ(testing::codes(ds), "A,B,C");
  // Nothing of a refused packet is taken.
  ASSERT_EQ(refused.rows.size(), static_cast<size_t>(rows));
  EXPECT_EQ(refused.rows.front(), large.rows.front());

  ds.loadPacket(std::move(large));
  EXPECT_TRUE(large.rows.empty());
  ASSERT_EQ(ds.recordCount(), rows);
  ds.last();
  EXPECT_EQ(ds.fieldByName("CODE").asString(), std::to_string((rows - 1) % 10000));
  EXPECT_EQ(ds.fieldByName("VALUE").asFloat(), rows - 1);
  EXPECT_EQ(ds.fieldByName("DAY").asFloat(), 46096.5);
}

packet::Packet packed(packet::Packet p) {
  for (const packet::Row& row : p.rows)
    p.packedRows.emplace_back(row);
  p.rows.clear();
  return p;
}

// Rows read packed from an answer load as the same rows would, fields matched by name, and a bad
// one refuses the load before anything is replaced or taken.
TEST_F(DataSetTest, PackedRowsLoadAsTheirValuesAndABadOneLeavesEverythingAsItWas) {
  ds.loadPacket(packed(testing::threeRows()));
  const std::string loaded = testing::contents(ds);
  ds.loadPacket(testing::threeRows());
  EXPECT_EQ(testing::contents(ds), loaded);

  packet::Packet other;
  other.fields = {
      {"extra", FieldType::Text, 3}, {"value", FieldType::Double, 0}, {"code", FieldType::Text, 4}};
  other.rows = {{std::string("zzz"), 2.5, std::string("K")}};
  ds.loadPacket(packed(other));
  EXPECT_EQ(ds.fieldByName("CODE").asString(), "K");
  EXPECT_DOUBLE_EQ(ds.fieldByName("VALUE").asFloat(), 2.5);
  EXPECT_TRUE(ds.fieldByName("NAME").isNull());

  ds.loadPacket(testing::threeRows());
  auto wrongType = testing::threeRows();
  wrongType.rows[2][2] = std::string("três");
  packet::Packet refused = packed(wrongType);
  try {
    ds.loadPacket(std::move(refused));
    FAIL() << "wrong type accepted";
  } catch (const DataError& e) {
    EXPECT_NE(std::string(e.what()).find("linha 3"), std::string::npos) << e.what();
  }
  ASSERT_EQ(refused.packedRows.size(), 3u);
  EXPECT_EQ(refused.packedRows[0].toRow(), wrongType.rows[0]);
  auto nan = testing::threeRows();
  nan.rows[1][2] = std::nan("");
  EXPECT_THROW(ds.loadPacket(packed(nan)), DataError);
  auto shortRow = testing::threeRows();
  shortRow.rows[0].pop_back();
  EXPECT_THROW(ds.loadPacket(packed(shortRow)), DataError);
  EXPECT_EQ(ds.state(), DataSetState::Browse);
  EXPECT_EQ(testing::contents(ds), loaded);
}

TEST_F(DataSetTest, NavigationBoundsAndRecNo) {
  ds.loadPacket(testing::threeRows());
  EXPECT_TRUE(ds.bof());
  EXPECT_FALSE(ds.eof());
  EXPECT_EQ(ds.moveBy(5), 2);
  EXPECT_TRUE(ds.eof());
  EXPECT_EQ(ds.recNo(), 3);
  ds.prior();
  EXPECT_FALSE(ds.eof());
  EXPECT_EQ(ds.moveBy(-9), -1);
  EXPECT_TRUE(ds.bof());
  ds.setRecNo(2);
  EXPECT_EQ(ds.fieldByName("CODE").asString(), "B");

  ds.loadPacket(testing::packetOf({}));
  EXPECT_TRUE(ds.isEmpty());
  EXPECT_TRUE(ds.bof() && ds.eof());
  EXPECT_EQ(ds.recNo(), 0);
  EXPECT_TRUE(ds.fieldByName("CODE").isNull());
  EXPECT_THROW(ds.deleteRecord(), DataError);
  ds.close();
  EXPECT_THROW(ds.first(), DataError);
  EXPECT_THROW(ds.edit(), DataError);
}

TEST_F(DataSetTest, InsertPutsTheRowAtTheCursorAndAppendAtTheEnd) {
  ds.loadPacket(testing::threeRows());
  ds.next();
  ds.insert();
  EXPECT_EQ(ds.recNo(), 2);
  ds.fieldByName("CODE").setAsString("N");
  EXPECT_EQ(testing::codes(ds), "A,N,B,C");
  ds.post();
  EXPECT_EQ(ds.fieldByName("CODE").asString(), "N");
  ds.first();
  ds.append();
  ds.fieldByName("CODE").setAsString("Z");
  ds.post();
  EXPECT_EQ(testing::codes(ds), "A,N,B,C,Z");
  EXPECT_EQ(ds.recNo(), 5);
}

TEST_F(DataSetTest, IndexOrdersRowsKeepsTiesInPacketOrderAndResortsAfterPost) {
  ds.addIndex("idxValueName", "VALUE;NAME", true);
  ds.setIndexName("idxValueName");
  ds.loadPacket(testing::packetOf({{std::string("A"), std::string("x"), 1.0, Value{}},
                                   {std::string("B"), std::string("y"), 2.0, Value{}},
                                   {std::string("C"), std::string("y"), 2.0, Value{}},
                                   {std::string("D"), std::string("z"), 2.0, Value{}},
                                   {std::string("E"), Value{}, Value{}, Value{}}}));
  EXPECT_EQ(testing::codes(ds), "D,B,C,A,E");
  ASSERT_TRUE(ds.locate("CODE", {std::string("A")}));
  ds.edit();
  ds.fieldByName("VALUE").setAsFloat(5);
  ds.post();
  EXPECT_EQ(testing::codes(ds), "A,D,B,C,E");
  ds.first();
  EXPECT_EQ(ds.fieldByName("CODE").asString(), "A");

  ds.setIndexName("");
  EXPECT_EQ(testing::codes(ds), "A,B,C,D,E");
  EXPECT_THROW(ds.setIndexName("nope"), DataError);
}

TEST_F(DataSetTest, AscendingIndexPutsNullsFirstAndKeepsCursorOnItsRow) {
  ds.addIndex("byName", "NAME");
  ds.loadPacket(testing::packetOf({{std::string("A"), std::string("b"), 1.0, Value{}},
                                   {std::string("B"), Value{}, 2.0, Value{}},
                                   {std::string("C"), std::string("a"), 3.0, Value{}}}));
  ds.setRecNo(3);
  ds.setIndexName("byName");
  EXPECT_EQ(ds.fieldByName("CODE").asString(), "C");
  EXPECT_EQ(ds.recNo(), 2);
  EXPECT_EQ(testing::codes(ds), "B,C,A");
}

TEST_F(DataSetTest, LocateOnSeveralFieldsCaseInsensitiveAndPartial) {
  ds.loadPacket(testing::packetOf({{std::string("0001"), std::string("Óscar"), 1.0, Value{}},
                                   {std::string("0001"), std::string("Érica"), 2.0, Value{}},
                                   {std::string("0002"), std::string("érica"), 3.0, Value{}}}));
  EXPECT_FALSE(ds.locate("CODE;NAME", {std::string("0002"), std::string("ÉRICA")}));
  EXPECT_EQ(ds.recNo(), 1);
  EXPECT_TRUE(ds.locate("code; name", {std::string("0002"), std::string("ÉRICA")},
                        {.caseInsensitive = true}));
  EXPECT_EQ(ds.recNo(), 3);
  EXPECT_TRUE(ds.locate("NAME", {std::string("ér")}, {true, true}));
  EXPECT_EQ(ds.recNo(), 2);
  EXPECT_TRUE(ds.locate("VALUE", {std::string("3")}));
  EXPECT_EQ(ds.recNo(), 3);
  EXPECT_TRUE(ds.locate("VALUE", {1.0}));
  EXPECT_EQ(ds.recNo(), 1);
  EXPECT_THROW(ds.locate("NOPE", {1.0}), DataError);
  EXPECT_THROW(ds.locate("CODE;NAME", {1.0}), DataError);
}

TEST_F(DataSetTest, RequiredFieldsAreCheckedAfterBeforePost) {
  ds.fieldByName("NAME").setRequired(true);
  ds.fieldByName("NAME").setDisplayLabel("Nome");
  ds.loadPacket(testing::packetOf({}));
  ds.insert();
  try {
    ds.post();
    FAIL() << "required field accepted empty";
  } catch (const DataError& e) {
    EXPECT_STREQ(e.what(), "O campo 'Nome' deve ser informado.");
  }
  EXPECT_EQ(ds.state(), DataSetState::Insert);
  ds.beforePost = [](DataSet& d) { d.fieldByName("NAME").setAsString("preenchido"); };
  ds.post();
  EXPECT_EQ(ds.recordCount(), 1);
}

TEST_F(DataSetTest, PostInBrowseIsRefusedAndCancelIsHarmless) {
  ds.loadPacket(testing::threeRows());
  EXPECT_THROW(ds.post(), DataError);
  ds.cancel();
  EXPECT_EQ(ds.state(), DataSetState::Browse);
}

TEST_F(DataSetTest, ReadOnlyDataSetRefusesChanges) {
  ds.loadPacket(testing::threeRows());
  ds.setReadOnly(true);
  EXPECT_THROW(ds.edit(), DataError);
  EXPECT_THROW(ds.insert(), DataError);
  EXPECT_THROW(ds.deleteRecord(), DataError);
  EXPECT_EQ(ds.state(), DataSetState::Browse);
}

TEST_F(DataSetTest, FieldsAreDefinedOnlyWhileClosedAndOnce) {
  EXPECT_THROW(ds.addField("code", FieldType::Text, 4), DataError);
  ds.loadPacket(testing::threeRows());
  EXPECT_THROW(ds.addField("OTHER", FieldType::Text, 4), DataError);
  EXPECT_THROW(ds.fieldByName("OTHER"), DataError);
}

}  // namespace
}  // namespace db
