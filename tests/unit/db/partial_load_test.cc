// A partial packet must leave a data set exactly as loading the whole read would: same rows,
// same values, same order, same state and events, whatever the server changed in between; and
// a data set that cannot know the server's rows must refuse it.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <random>

#include "host/db/data_set.h"
#include "packet/name_order.h"
#include "tests/unit/db/test_data.h"

namespace db::testing {
namespace {

// A service's bindings as the server keeps them: versions per row and keys gone.
class Store {
 public:
  struct Row {
    std::string name;
    packet::Value value;
    std::int64_t version = 0;
  };

  void put(const std::string& client, std::string name, packet::Value value) {
    rows_[client] = {std::move(name), std::move(value), ++version_};
    gone_.erase(client);
  }
  void remove(const std::string& client) {
    rows_.erase(client);
    gone_[client] = ++version_;
  }
  const std::map<std::string, Row>& rows() const { return rows_; }

  packet::Packet whole() const { return read(0); }
  packet::Packet since(std::int64_t known) const {
    packet::Packet p = read(known);
    p.changes = packet::PacketChanges{known,
                                      {"CDFILIAL", "CDSERVFILI", "CDCLIENTE"},
                                      {},
                                      {{"NMRAZSOCCLIE", true}, {"CDCLIENTE", false}}};
    for (const auto& [client, version] : gone_) {
      if (version > known)
        p.changes->removed.push_back({std::string("0001"), std::string("00001"), client});
    }
    return p;
  }

 private:
  packet::Packet read(std::int64_t known) const {
    std::vector<std::pair<std::string, const Row*>> chosen;
    for (const auto& [client, row] : rows_) {
      if (row.version > known)
        chosen.emplace_back(client, &row);
    }
    // The server's order: names as the operator reads them, then the code.
    std::sort(chosen.begin(), chosen.end(), [](const auto& a, const auto& b) {
      const int c = packet::compareForSorting(a.second->name, b.second->name);
      return c != 0 ? c < 0 : a.first < b.first;
    });
    packet::Packet p;
    p.fields = fields();
    for (const auto& [client, row] : chosen) {
      p.rows.push_back({std::string("0001"), std::string("00001"), client, row->name, row->value});
    }
    p.version = version_;
    return p;
  }

  static std::vector<packet::FieldDef> fields() {
    return {{"CDFILIAL", packet::FieldType::Text, 4},
            {"CDSERVFILI", packet::FieldType::Text, 5},
            {"CDCLIENTE", packet::FieldType::Text, 21},
            {"NMRAZSOCCLIE", packet::FieldType::Text, 50},
            {"VRSERVFATU", packet::FieldType::Double, 0}};
  }

  std::map<std::string, Row> rows_;
  std::map<std::string, std::int64_t> gone_;
  std::int64_t version_ = 0;
};

void define(DataSet& ds) {
  ds.addField("CDFILIAL", packet::FieldType::Text, 4);
  ds.addField("CDSERVFILI", packet::FieldType::Text, 5);
  ds.addField("CDCLIENTE", packet::FieldType::Text, 21);
  ds.addField("NMRAZSOCCLIE", packet::FieldType::Text, 50);
  ds.addField("VRSERVFATU", packet::FieldType::Double);
}

// Every row's values in reading order, and the state around them.
std::string picture(DataSet& ds) {
  return std::string(stateName(ds.state())) + " " + std::to_string(ds.recNo()) + " " +
         std::to_string(ds.changeCount()) + " v" + std::to_string(ds.version()) + ":" +
         contents(ds);
}

const char* const kNames[] = {"Água Viva", "agua viva", "Álvaro", "Zélia", "zeca", "Ótica",
                              "Bruno",     "bruno",     "Ângela", "Oscar", "Ana",  ""};

TEST(PartialLoad, EndsExactlyAsAWholeLoadAfterAnyChangesOfTheServer) {
  std::mt19937 random(12);
  Store store;
  for (int i = 0; i < 40; ++i)
    store.put("C" + std::to_string(i), kNames[random() % 12], static_cast<double>(i));
  DataSet partial("cdsParcial");
  DataSet whole("cdsInteiro");
  define(partial);
  define(whole);
  partial.loadPacket(store.whole());

  for (int round = 0; round < 60; ++round) {
    const int changes = static_cast<int>(random() % 6);
    for (int c = 0; c < changes; ++c) {
      const std::string client = "C" + std::to_string(random() % 50);
      switch (random() % 4) {
        case 0:
          store.remove(client);
          break;
        case 1:
          store.put(client, kNames[random() % 12], packet::Value{});
          break;
        default:
          store.put(client, kNames[random() % 12], static_cast<double>(random() % 1000) / 7);
      }
    }
    // An edit left unsaved goes with a reload, whichever way it is made.
    if (round % 5 == 0 && !partial.isEmpty()) {
      partial.edit();
      partial.fieldByName("NMRAZSOCCLIE").setAsString("Local");
      partial.post();
    }
    packet::Packet answer = store.since(partial.version());
    // Every other answer comes with its rows packed, as a client reads a large one.
    if (round % 2 == 1) {
      for (const packet::Row& row : answer.rows)
        answer.packedRows.emplace_back(row);
      answer.rows.clear();
    }
    ASSERT_TRUE(partial.canApply(answer)) << "round " << round;
    partial.loadPacket(std::move(answer));
    whole.loadPacket(store.whole());
    ASSERT_EQ(picture(partial), picture(whole)) << "round " << round;
  }
}

TEST(PartialLoad, FiresTheEventsOfAWholeLoadAndDropsAPendingEdit) {
  Store store;
  store.put("C1", "Bruno", 1.0);
  store.put("C2", "Ana", 2.0);
  DataSet ds("cdsServClie");
  define(ds);
  ds.loadPacket(store.whole());
  const std::int64_t known = ds.version();
  store.put("C1", "Zélia", 3.0);
  ds.edit();
  ds.fieldByName("VRSERVFATU").setAsFloat(99);
  EventLog log(ds);
  ds.loadPacket(store.since(known));
  const std::string partialEvents = log.log;
  log.log.clear();
  ds.loadPacket(store.whole());
  EXPECT_EQ(partialEvents, log.log);
  EXPECT_EQ(ds.state(), DataSetState::Browse);
  EXPECT_EQ(ds.fieldByName("CDCLIENTE").asString(), "C2");
}

TEST(PartialLoad, ARowSavedSinceTheLoadMustComeAgain) {
  Store store;
  store.put("C1", "Bruno", 1.0);
  store.put("C2", "Ana", 2.0);
  store.put("C3", "Caio", 3.0);
  DataSet ds("cdsServClie");
  define(ds);
  ds.loadPacket(store.whole());
  const std::int64_t known = ds.version();

  // The client saved a change of C2 (the server stored it, perhaps otherwise than sent).
  ASSERT_TRUE(ds.locate("CDCLIENTE", {std::string("C2")}));
  ds.edit();
  ds.fieldByName("VRSERVFATU").setAsFloat(5);
  ds.post();
  ds.mergeChangeLog();
  store.put("C1", "Bruno", 7.0);
  const packet::Packet withoutIt = store.since(known);
  EXPECT_FALSE(ds.canApply(withoutIt));
  EXPECT_THROW(ds.loadPacket(withoutIt), DataError);
  EXPECT_EQ(ds.recordCount(), 3);

  store.put("C2", "Ana", 5.0);
  EXPECT_TRUE(ds.canApply(store.since(known)));

  // A deletion saved since the load likewise.
  ASSERT_TRUE(ds.locate("CDCLIENTE", {std::string("C3")}));
  ds.deleteRecord();
  ds.mergeChangeLog();
  EXPECT_FALSE(ds.canApply(store.since(known)));
  store.remove("C3");
  ds.loadPacket(store.since(known));
  EXPECT_EQ(ds.recordCount(), 2);
  // Only the version the rows were loaded at can be built on.
  EXPECT_FALSE(ds.canApply(store.since(known)));
}

}  // namespace
}  // namespace db::testing
