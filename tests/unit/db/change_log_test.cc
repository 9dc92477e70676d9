// The change log: what edits record, the delta built from it, merging and cancelling.
#include <gtest/gtest.h>

#include "packet/json_codec.h"
#include "tests/unit/db/test_data.h"

namespace db {
namespace {

// One line per change: "insert [new]", "modify [old] -> [new]", "delete [old]".
std::string describe(const packet::Delta& delta) {
  std::string out;
  for (const auto& change : delta.changes) {
    switch (change.kind) {
      case packet::ChangeKind::Insert:
        out += "insert " + packet::valueToJson(change.newValues[0]).dump() + " " +
               packet::valueToJson(change.newValues[1]).dump();
        break;
      case packet::ChangeKind::Modify:
        out += "modify " + packet::valueToJson(change.oldValues[1]).dump() + "->" +
               packet::valueToJson(change.newValues[1]).dump();
        break;
      case packet::ChangeKind::Delete:
        out += "delete " + packet::valueToJson(change.oldValues[0]).dump();
        break;
    }
    out += "; ";
  }
  return out;
}

class ChangeLogTest : public ::testing::Test {
 protected:
  ChangeLogTest() {
    testing::defineFields(ds);
    ds.loadPacket(testing::threeRows());
  }

  void rename(const std::string& code, const std::string& name) {
    ASSERT_TRUE(ds.locate("CODE", {code}));
    ds.edit();
    ds.fieldByName("NAME").setAsString(name);
    ds.post();
  }

  DataSet ds{"cds"};
};

TEST_F(ChangeLogTest, LoadingIsNotAChangeAndCancelledEditsLeaveNoTrace) {
  EXPECT_EQ(ds.changeCount(), 0);
  ds.edit();
  ds.fieldByName("NAME").setAsString("X");
  ds.cancel();
  ds.edit();
  ds.post();  // nothing written: nothing to record
  EXPECT_EQ(ds.changeCount(), 0);
  EXPECT_EQ(ds.fieldByName("NAME").asString(), "Ana");
}

TEST_F(ChangeLogTest, DeltaListsChangesInTheOrderMadeWithOldAndNewValues) {
  rename("B", "Bea");
  ds.append();
  ds.fieldByName("CODE").setAsString("D");
  ds.fieldByName("NAME").setAsString("Davi");
  ds.post();
  ASSERT_TRUE(ds.locate("CODE", {std::string("A")}));
  ds.deleteRecord();
  rename("B", "Beatriz");  // a second edit of the same row stays one modification
  const auto delta = ds.delta();
  EXPECT_EQ(delta.fields, ds.fieldDefs());
  EXPECT_EQ(describe(delta), "modify \"Bia\"->\"Beatriz\"; insert \"D\" \"Davi\"; delete \"A\"; ");
  EXPECT_EQ(ds.changeCount(), 3);
}

TEST_F(ChangeLogTest, InsertedRowsStayInsertsAndVanishWhenDeleted) {
  ds.insert();
  ds.fieldByName("CODE").setAsString("N");
  ds.post();
  ds.edit();
  ds.fieldByName("NAME").setAsString("Nina");
  ds.post();
  EXPECT_EQ(describe(ds.delta()), "insert \"N\" \"Nina\"; ");
  ds.deleteRecord();
  EXPECT_EQ(ds.changeCount(), 0);
  EXPECT_EQ(testing::codes(ds), "A,B,C");
}

TEST_F(ChangeLogTest, OldValueIsTheLastMergedValue) {
  ASSERT_TRUE(ds.locate("CODE", {std::string("B")}));
  auto& name = ds.fieldByName("NAME");
  ds.edit();
  name.setAsString("Bea");
  EXPECT_EQ(std::get<std::string>(name.oldValue()), "Bia");
  ds.post();
  EXPECT_EQ(std::get<std::string>(name.oldValue()), "Bia");
  ds.mergeChangeLog();
  EXPECT_EQ(std::get<std::string>(name.oldValue()), "Bea");
  ds.insert();
  name.setAsString("x");
  EXPECT_TRUE(packet::isNull(name.oldValue()));
}

TEST_F(ChangeLogTest, MergeAcceptsEverythingAndEmptiesTheLog) {
  rename("B", "Bea");
  ds.deleteRecord();
  ds.mergeChangeLog();
  EXPECT_EQ(ds.changeCount(), 0);
  ds.cancelUpdates();
  EXPECT_EQ(testing::codes(ds), "A,C");
}

TEST_F(ChangeLogTest, CancelUpdatesRestoresTheLastMergedStateInPlace) {
  rename("A", "Alice");
  ASSERT_TRUE(ds.locate("CODE", {std::string("B")}));
  ds.deleteRecord();
  ds.append();
  ds.fieldByName("CODE").setAsString("D");
  ds.post();
  ds.edit();
  ds.fieldByName("CODE").setAsString("E");  // pending edit: cancelled too
  ds.cancelUpdates();
  EXPECT_EQ(ds.state(), DataSetState::Browse);
  EXPECT_EQ(ds.changeCount(), 0);
  EXPECT_EQ(testing::codes(ds), "A,B,C");
  ds.first();
  EXPECT_EQ(ds.fieldByName("NAME").asString(), "Ana");
}

TEST_F(ChangeLogTest, LoadingEmptiesTheLog) {
  rename("A", "Alice");
  ds.loadPacket(testing::threeRows());
  EXPECT_EQ(ds.changeCount(), 0);
  EXPECT_EQ(ds.fieldByName("NAME").asString(), "Ana");
}

}  // namespace
}  // namespace db
