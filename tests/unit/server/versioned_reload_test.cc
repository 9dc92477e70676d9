// Reloading the bindings over HTTP with their version: the data set must end as a whole load
// would, asking once when it can, and twice (the second time in full) only when what it holds
// cannot be brought up to date from the answer.
#include <gtest/gtest.h>

#include "host/net_connection.h"
#include "host/versioned_read.h"
#include "server/app_server.h"
#include "server/data_sets.h"
#include "server/storage.h"
#include "server_fixture.h"
#include "tests/unit/db/test_data.h"

namespace server::testing {
namespace {

// Counts the calls and whether each carried a known version (seen as a partial answer).
class CallCounter : public host::CallHook {
 public:
  std::optional<packet::CallResult> before(const host::TNetConnection&, const std::string&,
                                           const std::vector<packet::Arg>&) override {
    return std::nullopt;
  }
  void after(const host::TNetConnection&, const std::string&, const std::vector<packet::Arg>&,
             const packet::CallResult& result) override {
    ++calls;
    if (result.packet && result.packet->changes)
      ++partial;
  }
  int calls = 0;
  int partial = 0;
};

class VersionedReloadTest : public ::testing::Test {
 protected:
  VersionedReloadTest() : server_(database_.path()) {
    net_.setPort(server_.start());
    host::TNetConnection::setSessionToken(server_.service().openLocalSession("jose").token);
    net_.connect();
    host::TNetConnection::setCallHook(&counter_);
    for (const auto& f : datasets::servClie().fieldDefs()) {
      held_.addField(f.name, f.type, f.size);
      whole_.addField(f.name, f.type, f.size);
    }
  }
  ~VersionedReloadTest() override {
    host::TNetConnection::setCallHook(nullptr);
    host::TNetConnection::setSessionToken({});
  }

  void reload() {
    counter_ = {};
    host::reloadVersioned(net_, held_, "GetServClie", {"0001", "00001", "JOSE"});
  }

  void write(const std::string& sql) {
    Database other(database_.path(), false);
    withoutForeignKeys(other);
    other.exec(sql);
  }

  void expectAsAWholeLoad() {
    whole_.loadPacket(service()
                          .call("rdmClientesServico", "GetServClie", {"0001", "00001", "X"}, "JOSE")
                          .packet.value());
    EXPECT_EQ(db::testing::contents(held_), db::testing::contents(whole_));
  }

  Service& service() { return server_.service(); }

  TempDatabase database_;
  AppServer server_;
  host::TNetConnection net_{"rdmClientesServico"};
  CallCounter counter_;
  db::DataSet held_{"cdsServClie"};
  db::DataSet whole_{"cdsInteiro"};
};

TEST_F(VersionedReloadTest, ReloadsAskOnceAndEndAsAWholeLoad) {
  reload();
  EXPECT_EQ(counter_.calls, 1);
  EXPECT_EQ(counter_.partial, 0);  // nothing held yet: the whole read
  EXPECT_GT(held_.version(), 0);

  reload();
  EXPECT_EQ(counter_.calls, 1);
  EXPECT_EQ(counter_.partial, 1);
  expectAsAWholeLoad();

  write("UPDATE CLIENTE SET NMRAZSOCCLIE = 'Aaron' WHERE CDCLIENTE = 'C1'");
  write(
      "INSERT INTO SERVCLIE (CDFILIAL, CDSERVFILI, CDCLIENTE, CDPRODUTO) VALUES "
      "('0001', '00001', 'C3', ' ')");
  write("DELETE FROM SERVCLIE WHERE CDCLIENTE = 'C2' AND CDSERVFILI = '00001'");
  reload();
  EXPECT_EQ(counter_.calls, 1);
  EXPECT_EQ(counter_.partial, 1);
  expectAsAWholeLoad();
  EXPECT_EQ(held_.recordCount(), 2);
}

TEST_F(VersionedReloadTest, AChangeTheServerDidNotRecordBringsTheWholeRead) {
  reload();
  // A change merged without a save: what the server holds for the row is unknown here.
  held_.edit();
  held_.fieldByName("DSEMISSERCLI").setAsString("só aqui");
  held_.post();
  held_.mergeChangeLog();
  reload();
  EXPECT_EQ(counter_.calls, 2);
  expectAsAWholeLoad();

  // Another read of the same data set starts over.
  counter_ = {};
  host::reloadVersioned(net_, held_, "GetServClie", {"0001", "00002", "JOSE"});
  EXPECT_EQ(counter_.partial, 0);
  EXPECT_EQ(held_.recordCount(), 1);
}

}  // namespace
}  // namespace server::testing
