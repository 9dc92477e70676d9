// Data sources and data links: what bound controls hear and when they may edit.
#include <gtest/gtest.h>

#include "host/db/data_link.h"
#include "tests/unit/db/test_data.h"

namespace db {
namespace {

// A stand-in for a data-aware edit of one field: logs callbacks, holds pending text.
class EditLink : public DataLink {
 public:
  EditLink(DataSource& source, std::string field) : field_(std::move(field)) {
    setDataSource(&source);
  }

  void activeChanged() override { log += active() ? "active " : "inactive "; }
  void dataSetChanged() override { log += "dataSet "; }
  void dataSetScrolled() override { log += "scrolled "; }
  void recordChanged(Field* f) override { log += "record:" + (f ? f->name() : "*") + " "; }
  void editingChanged() override { log += editing() ? "editing " : "browsing "; }
  void layoutChanged() override { log += "layout "; }
  void updateData() override {
    if (pending.empty())
      return;
    log += "update ";
    dataSet()->fieldByName(field_).setText(pending);
    pending.clear();
  }

  // What the edit shows: blank while its source is inactive.
  std::string shown() const {
    return active() ? dataSet()->fieldByName(field_).displayText() : std::string();
  }

  std::string take() {
    std::string out = log;
    log.clear();
    if (!out.empty())
      out.pop_back();
    return out;
  }

  std::string pending;
  std::string log;

 private:
  std::string field_;
};

class DataSourceTest : public ::testing::Test {
 protected:
  DataSourceTest() : source("dts", &ds), link(source, "VALUE") {
    testing::defineFields(ds);
    ds.loadPacket(testing::threeRows());
    link.take();
  }

  DataSet ds{"cds"};
  DataSource source;
  EditLink link;
};

TEST_F(DataSourceTest, LinksFollowOpenScrollEditAndClose) {
  ds.next();
  EXPECT_EQ(link.take(), "scrolled");
  EXPECT_TRUE(link.edit());
  EXPECT_EQ(link.take(), "editing record:*");
  ds.fieldByName("NAME").setAsString("Bea");
  EXPECT_EQ(link.take(), "record:NAME");
  ds.post();
  EXPECT_EQ(link.take(), "browsing dataSet");
  ds.close();
  EXPECT_EQ(link.take(), "inactive");
  EXPECT_FALSE(link.edit());
}

TEST_F(DataSourceTest, PostAndScrollWritePendingTextFirst) {
  link.edit();
  link.pending = "7,5";
  ds.post();
  EXPECT_DOUBLE_EQ(ds.fieldByName("VALUE").asFloat(), 7.5);
  // The writing link does not hear its own change back.
  EXPECT_EQ(link.take(), "editing record:* update browsing dataSet");

  link.edit();
  link.pending = "8";
  ds.next();
  EXPECT_EQ(ds.changeCount(), 1);
  ds.prior();
  EXPECT_DOUBLE_EQ(ds.fieldByName("VALUE").asFloat(), 8);

  link.edit();
  link.pending = "oito";
  EXPECT_THROW(ds.post(), DataError);
  EXPECT_EQ(ds.state(), DataSetState::Edit);
}

TEST_F(DataSourceTest, DisabledSourceBlanksControlsAndRefusesEdits) {
  std::string states;
  source.onStateChange = [&](DataSource& s) { states += std::string(stateName(s.state())) + " "; };
  EXPECT_EQ(link.shown(), "1");
  source.setEnabled(false);
  EXPECT_EQ(source.state(), DataSetState::Inactive);
  EXPECT_EQ(link.take(), "inactive");
  EXPECT_EQ(link.shown(), "");
  EXPECT_FALSE(link.edit());
  EXPECT_EQ(ds.state(), DataSetState::Browse);
  ds.next();  // the data set keeps working; the link hears nothing
  EXPECT_EQ(link.take(), "");
  source.setEnabled(true);
  EXPECT_EQ(link.take(), "active");
  EXPECT_EQ(link.shown(), "2");
  EXPECT_EQ(states, "Inactive Browse ");
}

TEST_F(DataSourceTest, SwitchingDataSetsAndDestroyingOneDetachesCleanly) {
  auto other = std::make_unique<DataSet>("other");
  testing::defineFields(*other);
  other->loadPacket(
      testing::packetOf({{std::string("Z"), std::string("Zé"), 99.0, packet::Value{}}}));
  source.setDataSet(other.get());
  EXPECT_EQ(link.take(), "dataSet");
  EXPECT_EQ(link.shown(), "99");
  other.reset();
  EXPECT_EQ(source.dataSet(), nullptr);
  EXPECT_EQ(link.take(), "inactive");
}

TEST_F(DataSourceTest, ADestroyedDataSetRunsNoHandlerOfItsSources) {
  auto owned = std::make_unique<DataSet>("owned");
  testing::defineFields(*owned);
  owned->loadPacket(testing::threeRows());
  source.setDataSet(owned.get());
  link.take();
  int handlers = 0;
  source.onStateChange = [&](DataSource&) { ++handlers; };
  source.onDataChange = [&](DataSource&, Field*) { ++handlers; };
  owned.reset();
  EXPECT_EQ(handlers, 0);
  EXPECT_EQ(source.state(), DataSetState::Inactive);
  EXPECT_EQ(link.take(), "inactive");
  source.setDataSet(&ds);
  EXPECT_EQ(handlers, 2);
  EXPECT_EQ(link.take(), "active");
}

TEST_F(DataSourceTest, FieldPropertyChangesReachLinksAsLayoutOrData) {
  ds.fieldByName("VALUE").setDisplayLabel("Valor");
  ds.fieldByName("VALUE").setDisplayFormat("0.00");
  ds.disableControls();
  ds.fieldByName("VALUE").setVisible(false);
  ds.enableControls();
  EXPECT_EQ(link.take(), "layout dataSet layout");
  EXPECT_EQ(link.shown(), "1,00");
}

}  // namespace
}  // namespace db
