// Versioned reads of the bindings: asked with the version it holds, a caller is told exactly
// which bindings changed and which left, whoever changed them (a save, or anyone writing to the
// file), and nothing when nothing changed.
#include <gtest/gtest.h>

#include <set>

#include "server/storage.h"
#include "server_fixture.h"

namespace server::testing {
namespace {

class RowVersionsTest : public ServiceTest {
 protected:
  packet::Packet since(std::int64_t version, const std::string& servico = "00001") {
    const auto result = service_.call("rdmClientesServico", "GetServClie", {"0001", servico, "T"},
                                      "TESTE", nullptr, {version});
    EXPECT_TRUE(result.ok) << result.message;
    return result.packet.value_or(packet::Packet{});
  }

  // Another writer on the same file (a register kept by another program), which does not
  // enforce the foreign keys.
  void write(const std::string& sql) {
    Database other(database_.path(), false);
    withoutForeignKeys(other);
    other.exec(sql);
  }

  static std::set<std::string> clients(const packet::Packet& packet) {
    std::set<std::string> out;
    for (size_t i = 0; i < packet.rows.size(); ++i)
      out.insert(text(field(packet, i, "CDCLIENTE")));
    return out;
  }

  static std::set<std::string> gone(const packet::Packet& packet) {
    std::set<std::string> out;
    for (const auto& key : packet.changes->removed)
      out.insert(text(key.at(0)) + "/" + text(key.at(1)) + "/" + text(key.at(2)));
    return out;
  }
};

TEST_F(RowVersionsTest, AnUnchangedServiceAnswersNothingAndAWholeReadCarriesItsVersion) {
  write("UPDATE SERVCLIE SET DSEMISSERCLI = 'x' WHERE CDCLIENTE = 'C1'");
  const packet::Packet whole = servClie();
  EXPECT_GT(whole.version, 0);
  EXPECT_FALSE(whole.changes.has_value());

  const packet::Packet nothing = since(whole.version);
  ASSERT_TRUE(nothing.changes.has_value());
  EXPECT_EQ(nothing.version, whole.version);
  EXPECT_EQ(nothing.changes->since, whole.version);
  EXPECT_TRUE(nothing.rows.empty());
  EXPECT_TRUE(nothing.changes->removed.empty());
  EXPECT_EQ(nothing.fields, whole.fields);

  // A version the server never gave (another database, a damaged client) gets the whole read.
  const packet::Packet unknown = since(whole.version + 100);
  EXPECT_FALSE(unknown.changes.has_value());
  EXPECT_EQ(unknown.rows.size(), whole.rows.size());
}

TEST_F(RowVersionsTest, ChangesOfTheBindingAndOfWhatItJoinsAreSentAgain) {
  const std::int64_t start = servClie().version;
  write("UPDATE CLIENTE SET NMRAZSOCCLIE = 'Água Viva Nova' WHERE CDCLIENTE = 'C2'");
  packet::Packet changed = since(start);
  EXPECT_EQ(clients(changed), std::set<std::string>{"C2"});
  EXPECT_EQ(text(field(changed, 0, "NMRAZSOCCLIE")), "Água Viva Nova");

  std::int64_t now = changed.version;
  write("UPDATE PRODUTO SET NMPRODUTO = 'Detergente' WHERE CDPRODUTO = 'P3'");
  write("UPDATE CLIENTEFILIAL SET IDCOREFECLIFILI = 'N' WHERE CDCLIENTE = 'C2'");
  changed = since(now);
  EXPECT_EQ(clients(changed), (std::set<std::string>{"C1", "C2"}));
  EXPECT_TRUE(changed.changes->removed.empty());

  // The order the caller is to keep the rows in, and what names a row.
  EXPECT_EQ(changed.changes->keyFields,
            (std::vector<std::string>{"CDFILIAL", "CDSERVFILI", "CDCLIENTE"}));
  ASSERT_EQ(changed.changes->order.size(), 2u);
  EXPECT_EQ(changed.changes->order[0].field, "NMRAZSOCCLIE");
  EXPECT_TRUE(changed.changes->order[0].asName);
}

TEST_F(RowVersionsTest, BindingsThatLeaveAreNamedByTheirKeys) {
  const std::int64_t start = servClie().version;
  write("UPDATE SERVCLIE SET CDCLIENTE = 'C3' WHERE CDCLIENTE = 'C1'");
  packet::Packet changed = since(start);
  EXPECT_EQ(clients(changed), std::set<std::string>{"C3"});
  EXPECT_EQ(gone(changed), std::set<std::string>{"0001/00001/C1"});

  const std::int64_t now = changed.version;
  write("DELETE FROM SERVCLIE WHERE CDCLIENTE = 'C3'");
  write("DELETE FROM CLIENTE WHERE CDCLIENTE = 'C2'");
  changed = since(now);
  EXPECT_TRUE(changed.rows.empty());
  EXPECT_EQ(gone(changed), (std::set<std::string>{"0001/00001/C3", "0001/00001/C2"}));
  EXPECT_TRUE(servClie().rows.empty());
}

// Each service counts its own changes: a change of one leaves the other's number alone, and a
// binding moved between them leaves its old service's reader told it left and reaches the new
// service's reader as a new row.
TEST_F(RowVersionsTest, EachServiceCountsItsOwnChangesAndAMoveReachesBothReaders) {
  const std::int64_t first = servClie().version;
  const std::int64_t second = get("GetServClie", {"0001", "00002", "TESTE"}).version;
  write("UPDATE SERVCLIE SET DSEMISSERCLI = 'x' WHERE CDSERVFILI = '00002'");
  EXPECT_EQ(servClie().version, first);
  EXPECT_TRUE(since(first).rows.empty());
  EXPECT_EQ(clients(since(second, "00002")), std::set<std::string>{"C2"});

  const std::int64_t secondNow = get("GetServClie", {"0001", "00002", "TESTE"}).version;
  write("UPDATE SERVCLIE SET CDSERVFILI = '00002' WHERE CDSERVFILI = '00001' AND CDCLIENTE = 'C1'");
  const packet::Packet left = since(first);
  EXPECT_TRUE(left.rows.empty());
  EXPECT_EQ(gone(left), std::set<std::string>{"0001/00001/C1"});
  const packet::Packet arrived = since(secondNow, "00002");
  EXPECT_EQ(clients(arrived), std::set<std::string>{"C1"});
  EXPECT_TRUE(arrived.changes->removed.empty());
}

TEST_F(RowVersionsTest, ASaveTouchesEveryRowItNamesEvenWhenItsValuesWereStored) {
  const packet::Packet rows = servClie();
  const auto zelia = static_cast<size_t>(findRow(rows, "CDCLIENTE", "C1"));
  // The new value is already stored (another path wrote it first): the save writes nothing, yet
  // the row must reach the reader again, who holds it as the client had it before the save.
  write("UPDATE SERVCLIE SET DSEMISSERCLI = 'Já gravado' WHERE CDCLIENTE = 'C1'");
  const std::int64_t before = servClie().version;
  const auto saved =
      call("UpdServClie",
           {DeltaBuilder(rows).modify(zelia, {{"DSEMISSERCLI", "Já gravado"}}).build(), "TESTE"});
  ASSERT_TRUE(saved.ok) << saved.message;
  EXPECT_EQ(clients(since(before)), std::set<std::string>{"C1"});

  const std::int64_t now = servClie().version;
  DeltaBuilder insert(rows);
  insert.insert({{"CDFILIAL", "0001"},
                 {"CDSERVFILI", "00001"},
                 {"CDCLIENTE", "C3"},
                 {"CDPRODUTO", " "},
                 {"VRSERVFATU", 10.0}});
  ASSERT_TRUE(call("UpdServClie", {insert.build(), "TESTE"}).ok);
  const packet::Packet added = since(now);
  EXPECT_EQ(clients(added), std::set<std::string>{"C3"});
  EXPECT_TRUE(added.changes->removed.empty());
}

}  // namespace
}  // namespace server::testing
