// The order of data-set events, data-source notifications and state changes.
#include <gtest/gtest.h>

#include "tests/unit/db/test_data.h"

namespace db {
namespace {

using testing::EventLog;

class DataSetEventsTest : public ::testing::Test {
 protected:
  DataSetEventsTest() : source("dts", &ds) { testing::defineFields(ds); }

  DataSet ds{"cds"};
  DataSource source;
};

TEST_F(DataSetEventsTest, LoadOpensThenReloadClosesAndReopens) {
  EventLog log(ds, &source);
  ds.loadPacket(testing::threeRows());
  EXPECT_EQ(log.take(), "beforeOpen state:Browse data afterOpen afterScroll");
  ds.loadPacket(testing::threeRows());
  EXPECT_EQ(log.take(),
            "beforeClose state:Inactive afterClose beforeOpen state:Browse data afterOpen "
            "afterScroll");
  ds.loadPacket(testing::packetOf({}));
  EXPECT_EQ(log.take(),
            "beforeClose state:Inactive afterClose beforeOpen state:Browse data afterOpen");
}

TEST_F(DataSetEventsTest, ScrollsFireAroundTheMoveEvenAtTheEnds) {
  ds.loadPacket(testing::threeRows());
  EventLog log(ds, &source);
  ds.next();
  EXPECT_EQ(log.take(), "beforeScroll data afterScroll");
  ds.last();
  ds.next();
  EXPECT_EQ(log.take(), "beforeScroll data afterScroll beforeScroll afterScroll");
  EXPECT_FALSE(ds.locate("CODE", {std::string("Z")}));
  EXPECT_EQ(log.take(), "beforeScroll");
  EXPECT_TRUE(ds.locate("CODE", {std::string("A")}));
  EXPECT_EQ(log.take(), "beforeScroll data afterScroll");
}

TEST_F(DataSetEventsTest, InsertPostAndCancelOfAnInsert) {
  ds.loadPacket(testing::threeRows());
  EventLog log(ds, &source);
  ds.insert();
  EXPECT_EQ(log.take(),
            "beforeInsert beforeScroll state:Insert onNewRecord data afterInsert afterScroll");
  ds.fieldByName("CODE").setAsString("D");
  EXPECT_EQ(log.take(), "data:CODE");
  ds.post();
  EXPECT_EQ(log.take(), "beforePost state:Browse data afterPost");
  ds.append();
  log.take();
  ds.cancel();
  EXPECT_EQ(log.take(), "beforeCancel beforeScroll state:Browse data afterCancel afterScroll");
}

TEST_F(DataSetEventsTest, EditCancelAndDelete) {
  ds.loadPacket(testing::threeRows());
  EventLog log(ds, &source);
  ds.edit();
  EXPECT_EQ(log.take(), "beforeEdit state:Edit data afterEdit");
  ds.edit();
  EXPECT_EQ(log.take(), "");
  ds.cancel();
  EXPECT_EQ(log.take(), "beforeCancel state:Browse data afterCancel");
  ds.deleteRecord();
  EXPECT_EQ(log.take(), "beforeDelete beforeScroll data afterDelete afterScroll");
  ds.edit();
  log.take();
  ds.deleteRecord();
  EXPECT_EQ(log.take(), "beforeDelete beforeScroll state:Browse data afterDelete afterScroll");
}

TEST_F(DataSetEventsTest, ScrollingWhileEditingPostsWhenModifiedElseCancels) {
  ds.loadPacket(testing::threeRows());
  EventLog log(ds, &source);
  ds.edit();
  ds.next();
  EXPECT_EQ(log.take(),
            "beforeEdit state:Edit data afterEdit beforeCancel state:Browse data afterCancel "
            "beforeScroll data afterScroll");
  ds.edit();
  ds.fieldByName("NAME").setAsString("Bea");
  log.take();
  ds.next();
  EXPECT_EQ(log.take(), "beforePost state:Browse data afterPost beforeScroll data afterScroll");
  EXPECT_EQ(ds.changeCount(), 1);
}

TEST_F(DataSetEventsTest, InsertWithOnlyNewRecordDefaultsIsCancelledByAScroll) {
  ds.loadPacket(testing::threeRows());
  ds.onNewRecord = [](DataSet& d) { d.fieldByName("NAME").setAsString("novo"); };
  ds.insert();
  EXPECT_FALSE(ds.modified());
  ds.first();
  EXPECT_EQ(ds.recordCount(), 3);
  EXPECT_EQ(ds.changeCount(), 0);
}

TEST_F(DataSetEventsTest, EditOnAnEmptyDataSetInserts) {
  ds.loadPacket(testing::packetOf({}));
  EventLog log(ds, &source);
  ds.edit();
  EXPECT_EQ(ds.state(), DataSetState::Insert);
  EXPECT_EQ(log.take(),
            "beforeInsert beforeScroll state:Insert onNewRecord data afterInsert afterScroll");
}

TEST_F(DataSetEventsTest, FieldChangeReachesSourceThenTheFieldHandlerEvenForAnEqualValue) {
  ds.loadPacket(testing::threeRows());
  EventLog log(ds, &source);
  ds.fieldByName("NAME").onChange = [&](Field& f) { log.log += "onChange:" + f.name() + " "; };
  ds.edit();
  log.take();
  ds.fieldByName("NAME").setAsString("Ana");
  EXPECT_EQ(log.take(), "data:NAME onChange:NAME");
  EXPECT_TRUE(ds.modified());
}

TEST_F(DataSetEventsTest, ThrowingBeforeEventsAbortAndLeaveTheDataSetAsItWas) {
  ds.loadPacket(testing::threeRows());
  ds.beforeInsert = [](DataSet&) { throw std::runtime_error("abort"); };
  EXPECT_THROW(ds.insert(), std::runtime_error);
  EXPECT_EQ(ds.state(), DataSetState::Browse);
  ds.beforeDelete = [](DataSet&) { throw std::runtime_error("abort"); };
  EXPECT_THROW(ds.deleteRecord(), std::runtime_error);
  EXPECT_EQ(ds.recordCount(), 3);

  // A detached handler no longer runs; re-attaching works the same way.
  ds.beforeInsert = nullptr;
  ds.insert();
  EXPECT_EQ(ds.state(), DataSetState::Insert);
  ds.fieldByName("CODE").setAsString("D");
  ds.fieldByName("VALUE").setAsFloat(4);
  ds.beforePost = [](DataSet&) { throw std::runtime_error("refused"); };
  EXPECT_THROW(ds.post(), std::runtime_error);
  EXPECT_EQ(ds.state(), DataSetState::Insert);
  EXPECT_EQ(ds.fieldByName("CODE").asString(), "D");
  EXPECT_DOUBLE_EQ(ds.fieldByName("VALUE").asFloat(), 4);
  EXPECT_EQ(ds.changeCount(), 0);
  // A scroll tries the post too and is refused with it.
  EXPECT_THROW(ds.next(), std::runtime_error);
  EXPECT_EQ(ds.state(), DataSetState::Insert);
}

TEST_F(DataSetEventsTest, BeforePostMayCancelTheEditItself) {
  ds.loadPacket(testing::threeRows());
  ds.beforePost = [](DataSet& d) { d.cancel(); };
  ds.edit();
  ds.fieldByName("NAME").setAsString("X");
  ds.post();
  EXPECT_EQ(ds.state(), DataSetState::Browse);
  EXPECT_EQ(ds.fieldByName("NAME").asString(), "Ana");
  EXPECT_EQ(ds.changeCount(), 0);
}

TEST_F(DataSetEventsTest, DisabledControlsHearNothingUntilOneChangeOnEnable) {
  ds.loadPacket(testing::threeRows());
  EventLog log(ds, &source);
  ds.disableControls();
  ds.disableControls();
  ds.next();
  ds.edit();
  ds.fieldByName("NAME").setAsString("Bea");
  ds.post();
  ds.enableControls();
  EXPECT_TRUE(ds.controlsDisabled());
  EXPECT_EQ(log.take(), "beforeScroll afterScroll beforeEdit afterEdit beforePost afterPost");
  ds.enableControls();
  EXPECT_FALSE(ds.controlsDisabled());
  EXPECT_EQ(log.take(), "data");
  // The state changed while disabled: the source hears it on enable.
  ds.disableControls();
  ds.edit();
  ds.enableControls();
  EXPECT_EQ(log.take(), "beforeEdit afterEdit state:Edit data");
}

}  // namespace
}  // namespace db
