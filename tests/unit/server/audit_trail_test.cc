// The trail of who changed what: every write method leaves, in its own transaction, one row per
// field it changed, read back through rdmTrilha.GetTrilha; a refused call leaves none, and the
// trail itself cannot be changed.
#include <gtest/gtest.h>

#include <tuple>

#include "server/day_count.h"
#include "server_fixture.h"

namespace server::testing {
namespace {

// One trail row as the tests compare it.
struct Entry {
  std::string operatorCode, method, table, operation, cliente, key, field, before, after;
  bool operator==(const Entry&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Entry& e) {
  return out << e.operatorCode << " " << e.method << " " << e.table << " " << e.operation << " "
             << e.cliente << " [" << e.key << "] " << e.field << ": " << e.before << " -> "
             << e.after;
}

class AuditTrailTest : public ServiceTest {
 protected:
  // The trail of branch 0001, service `servico` (and client, when given), oldest first.
  std::vector<Entry> trail(const char* servico = "00001", const char* cliente = "",
                           const char* operatorCode = "") {
    const double today = std::floor(nowAsDayCount());
    const auto result = service_.call("rdmTrilha", "GetTrilha",
                                      {"0001", servico, cliente, operatorCode,
                                       packet::DateArg{today - 1}, packet::DateArg{today}},
                                      "AUDITOR");
    EXPECT_TRUE(result.ok) << result.message;
    std::vector<Entry> entries;
    if (!result.packet)
      return entries;
    const auto& p = *result.packet;
    for (size_t row = p.rows.size(); row-- > 0;) {
      const auto textOf = [&](const char* name) {
        const auto value = field(p, row, name);
        return packet::isNull(value) ? std::string("-") : text(value);
      };
      entries.push_back({textOf("CDOPERADOR"), textOf("NMMETODO"), textOf("NMTABELA"),
                         textOf("IDOPERACAO"), textOf("CDCLIENTE"), textOf("DSCHAVE"),
                         textOf("NMCAMPO"), textOf("DSVALORANT"), textOf("DSVALORNOVO")});
      EXPECT_EQ(text(field(p, row, "CDFILIAL")), "0001");
      EXPECT_NEAR(number(field(p, row, "DTALTERACAO")), nowAsDayCount(), 0.01);
    }
    return entries;
  }

  std::vector<Entry> only(const std::vector<Entry>& entries, const std::string& table) {
    std::vector<Entry> kept;
    for (const auto& e : entries) {
      if (e.table == table)
        kept.push_back(e);
    }
    return kept;
  }
};

TEST_F(AuditTrailTest, ASaveRecordsEachChangedFieldWithItsOldAndNewValue) {
  const auto rows = servClie();  // C2 (row 0), C1 (row 1)
  const auto result = call("UpdServClie",
                           {DeltaBuilder(rows)
                                .modify(1, {{"DSEMISSERCLI", "Limpeza semanal"},
                                            {"VRSERVFATU", 1250.5},
                                            {"QTEFETMINI", 2.0}})
                                .build(),
                            ""},
                           "MARIA");
  ASSERT_TRUE(result.ok) << result.message;
  const auto entries = trail();
  ASSERT_GE(entries.size(), 2u);
  EXPECT_EQ(entries[0], (Entry{"MARIA", "UpdServClie", "SERVCLIE", "A", "C1", "-", "VRSERVFATU",
                               "1000", "1250.5"}));
  EXPECT_EQ(entries[1], (Entry{"MARIA", "UpdServClie", "SERVCLIE", "A", "C1", "-", "DSEMISSERCLI",
                               "Limpeza mensal", "Limpeza semanal"}));
  // The value's new history row, field by field; QTEFETMINI did not change and is not there.
  // Empty fields of the new row (the reason) are not there either.
  const auto history = only(entries, "HISTSERVFATU");
  ASSERT_EQ(history.size(), 2u);
  EXPECT_EQ(history[0].operation, "I");
  EXPECT_EQ(history[0].key.rfind("DTSRVFATUHIS=31/08/2025; DTALTEFATHIS=", 0), 0u)
      << history[0].key;
  EXPECT_EQ(history[0].field, "VRSERVFATHIS");
  EXPECT_EQ(history[0].before, "-");
  EXPECT_EQ(history[0].after, "1250.5");
  EXPECT_EQ(history[1].field, "VRFATUSEGHIS");
  EXPECT_EQ(history[1].after, "50");
  EXPECT_EQ(entries.size(), 4u);
  EXPECT_TRUE(trail("00002").empty());
}

TEST_F(AuditTrailTest, AReplicationRecordsEveryClientAndTheReplicationItself) {
  auto args = std::vector<packet::Arg>{
      "0001", "00001", "", packet::DateArg{46054}, 5000.0, "Dissídio", 0.0, 0.0, 0.0, 0.0, 0.0, 0.0,
      0.0,    0.0,     ""};
  ASSERT_TRUE(call("AlterarVrServico", args, "JOSE").ok);
  const auto entries = trail();
  const auto bindings = only(entries, "SERVCLIE");
  ASSERT_EQ(bindings.size(), 4u);
  for (const auto& e : bindings) {
    EXPECT_EQ(e.method, "AlterarVrServico");
    EXPECT_EQ(e.operatorCode, "JOSE");
    EXPECT_EQ(e.operation, "A");
  }
  EXPECT_EQ(bindings[0], (Entry{"JOSE", "AlterarVrServico", "SERVCLIE", "A", "C1", "-",
                                "VRSERVFATU", "1000", "5000"}));
  EXPECT_EQ(bindings[1], (Entry{"JOSE", "AlterarVrServico", "SERVCLIE", "A", "C1", "-",
                                "DTSERVFATU", "45900", "46054"}));
  EXPECT_EQ(bindings[2].cliente, "C2");
  const auto replication = only(entries, "DTREPLICAVALOR");
  ASSERT_EQ(replication.size(), 3u);
  EXPECT_EQ(replication[0].cliente, "-");
  EXPECT_EQ(replication[0].key.rfind("DTALTREPLICA=", 0), 0u);
  EXPECT_EQ(replication[0].field, "DTSERVFATU");
  EXPECT_EQ(replication[0].after, "46054");
  EXPECT_EQ(replication[1].field, "VRSERVFATU");
  EXPECT_EQ(replication[2].field, "DSMOTIVO");
  EXPECT_EQ(replication[2].after, "Dissídio");
  // Each client's history row: its value, its own day values, the reason.
  const auto history = only(entries, "HISTSERVFATU");
  ASSERT_EQ(history.size(), 5u);
  EXPECT_EQ(history[1], (Entry{"JOSE", "AlterarVrServico", "HISTSERVFATU", "I", "C1",
                               history[1].key, "VRFATUSEGHIS", "-", "50"}));
  EXPECT_EQ(history[4].cliente, "C2");
  EXPECT_EQ(history[4].field, "DSMOTIVOALTHIS");
}

TEST_F(AuditTrailTest, ADeletionRecordsTheRowAndEverythingRemovedWithIt) {
  const auto rows = servClie();
  ASSERT_TRUE(call("UpdServClie", {DeltaBuilder(rows).remove(1).build(), ""}).ok);  // C1
  const auto entries = trail("00001", "C1");
  // The client's three history rows go with it, each with the fields that held a value.
  const auto history = only(entries, "HISTSERVFATU");
  ASSERT_EQ(history.size(), 6u);
  EXPECT_EQ(history[0].operation, "E");
  EXPECT_EQ(history[0].key, "DTSRVFATUHIS=12/02/2025; DTALTEFATHIS=02/02/2025 12:00:00,000");
  EXPECT_EQ(history[0].field, "VRSERVFATHIS");
  EXPECT_EQ(history[0].before, "900");
  EXPECT_EQ(history[0].after, "-");
  const auto binding = only(entries, "SERVCLIE");
  std::vector<std::string> fields;
  for (const auto& e : binding) {
    EXPECT_EQ(e.operation, "E");
    EXPECT_EQ(e.after, "-");
    fields.push_back(e.field + "=" + e.before);
  }
  EXPECT_EQ(fields, (std::vector<std::string>{"CDPRODUTO=P3", "DTSERVFATU=45900", "VRSERVFATU=1000",
                                              "VRSERVFATSEG=50", "QTEFETMINI=2", "IDVRPRFIXAUT=N",
                                              "DSEMISSERCLI=Limpeza mensal", "QTVOLPROSERVCLI=1000",
                                              "IDATIVATABCOR=S"}));
}

TEST_F(AuditTrailTest, ShiftsCorrectionsAndTheFixedPriceFlagAreTrailedToo) {
  const auto shifts = get("GetTurno", {"0001", "C2", "00002"});
  ASSERT_TRUE(
      call("SetTurno", {DeltaBuilder(shifts).modify(1, {{"VRSERVFATTUR", 1600.0}}).build(), ""})
          .ok);
  auto entries = only(trail("00002"), "TURNOSERVCLIE");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0], (Entry{"TESTE", "SetTurno", "TURNOSERVCLIE", "A", "C2", "CDTURNO=2",
                               "VRSERVFATTUR", "1500", "1600"}));

  // Moving an interval's bounds names it by its old bounds and records the new ones.
  const auto intervals = get("GetCorrPrecServ", {"0001", "00001", "C2"});  // 0-10, 10-25
  ASSERT_TRUE(
      call("UpdCorrPrecServ", {DeltaBuilder(intervals).modify(1, {{"VRPEFIMSERV", 30.0}}).build()})
          .ok);
  entries = only(trail("00001", "C2"), "CORRPRECSERV");
  ASSERT_EQ(entries.size(), 1u);
  EXPECT_EQ(entries[0].key, "VRPEINICSERV=10; VRPEFIMSERV=25");
  EXPECT_EQ(entries[0].field, "VRPEFIMSERV");
  EXPECT_EQ(entries[0].after, "30");

  ASSERT_TRUE(call("ProUpVrPrFixAut", {"0001", "00001", "C1", "S"}).ok);
  entries = trail("00001", "C1");
  ASSERT_FALSE(entries.empty());
  EXPECT_EQ(entries.back(), (Entry{"TESTE", "ProUpVrPrFixAut", "SERVCLIE", "A", "C1", "-",
                                   "IDVRPRFIXAUT", "N", "S"}));
  EXPECT_TRUE(only(trail("00001", "C2"), "SERVCLIE").empty());  // C2 already held "S"
}

TEST_F(AuditTrailTest, ARefusedCallLeavesNoTrailAndTheTrailCannotBeChanged) {
  const auto rows = servClie();
  const auto delta = DeltaBuilder(rows)
                         .modify(1, {{"DSEMISSERCLI", "x"}})
                         .modify(0, {{"CDPRODUTO", "P9"}})  // not a product: all refused
                         .build();
  EXPECT_FALSE(call("UpdServClie", {delta, ""}).ok);
  EXPECT_TRUE(trail().empty());

  ASSERT_TRUE(call("ProUpVrPrFixAut", {"0001", "00001", "C1", "S"}).ok);
  Database db(database_.path(), false);
  EXPECT_THROW(db.exec("UPDATE TRILHAALT SET CDOPERADOR = 'OUTRO'"), DbError);
  EXPECT_THROW(db.exec("DELETE FROM TRILHAALT"), DbError);
  EXPECT_EQ(trail().size(), 1u);
}

// A save of many rows writes its trail many rows to a statement: every row is still there, in
// the order the changes were made, across the statements' boundaries; a save refused at its
// last change leaves none of them.
TEST_F(AuditTrailTest, AManyRowSaveTrailsEveryFieldInOrderOrNothing) {
  const auto rows = servClie();
  const auto bind = [](DeltaBuilder& delta, const char* servico, const char* cliente) {
    delta.insert({{"CDFILIAL", "0001"},     {"CDSERVFILI", servico},  {"CDCLIENTE", cliente},
                  {"CDPRODUTO", " "},       {"DTSERVFATU", 46023.0},  {"VRSERVFATU", 750.0},
                  {"VRSERVFATDOM", 10.0},   {"VRSERVFATSEG", 11.0},   {"VRSERVFATTER", 12.0},
                  {"VRSERVFATQUA", 13.0},   {"VRSERVFATQUI", 14.0},   {"VRSERVFATSEX", 15.0},
                  {"VRSERVFATSAB", 16.0},   {"VRSERVFATFER", 17.0},   {"QTEFETMINI", 1.0},
                  {"QTEFETMINDOM", 1.0},    {"QTEFETMINSEG", 1.0},    {"QTEFETMINTER", 1.0},
                  {"QTEFETMINQUA", 1.0},    {"QTEFETMINQUI", 1.0},    {"QTEFETMINSEX", 1.0},
                  {"QTEFETMINSAB", 1.0},    {"QTEFETMINFER", 1.0},    {"DSEMISSERCLI", "Limpeza"},
                  {"DSPRODEMISDOM", "Dom"}, {"DSPRODEMISSEG", "Seg"}, {"DSPRODEMISTER", "Ter"},
                  {"DSPRODEMISQUA", "Qua"}, {"DSPRODEMISQUI", "Qui"}, {"DSPRODEMISSEX", "Sex"},
                  {"DSPRODEMISSAB", "Sab"}, {"DSPRODEMISFER", "Fer"}, {"IDATIVATABCOR", "S"},
                  {"IDVRPRFIXAUT", "N"},    {"QTVOLPROSERVCLI", 5.0}, {"VRTAXAPRVAR", 0.0}});
  };
  DeltaBuilder batch(rows);
  bind(batch, "00001", "C3");
  bind(batch, "00002", "C1");
  bind(batch, "00002", "C3");
  DeltaBuilder refused = batch;
  refused.modify(0, {{"CDPRODUTO", "P9"}});  // not a product: the whole save is refused
  EXPECT_FALSE(call("UpdServClie", {refused.build(), ""}).ok);
  EXPECT_TRUE(trail("00001").empty());
  EXPECT_TRUE(trail("00002").empty());

  ASSERT_TRUE(call("UpdServClie", {batch.build(), ""}, "MARIA").ok);
  // Each binding: its 33 informed fields, then its value history's value and 8 weekday values.
  const auto expectBindings = [&](const char* servico, std::vector<std::string> clients) {
    const auto entries = trail(servico);
    ASSERT_EQ(entries.size(), clients.size() * 42) << servico;
    for (size_t c = 0; c < clients.size(); ++c) {
      for (size_t i = 0; i < 42; ++i) {
        const Entry& e = entries[c * 42 + i];
        EXPECT_EQ(e.cliente, clients[c]) << servico << " " << i;
        EXPECT_EQ(e.table, i < 33 ? "SERVCLIE" : "HISTSERVFATU") << e;
        EXPECT_EQ(e.operation, "I") << e;
        EXPECT_EQ(e.before, "-") << e;
      }
      EXPECT_EQ(entries[c * 42 + 33].field, "VRSERVFATHIS");
      EXPECT_EQ(entries[c * 42 + 33].after, "750");
      EXPECT_EQ(entries[c * 42 + 41].field, "VRFATUFERHIS");
      EXPECT_EQ(entries[c * 42 + 41].after, "17");
    }
  };
  expectBindings("00001", {"C3"});
  expectBindings("00002", {"C1", "C3"});
}

TEST_F(AuditTrailTest, TheListingFiltersByOperatorClientAndPeriod) {
  ASSERT_TRUE(call("ProUpVrPrFixAut", {"0001", "00001", "C1", "S"}, "ANA").ok);
  ASSERT_TRUE(call("ProUpVrPrFixAut", {"0001", "00001", "C1", "N"}, "BIA").ok);
  EXPECT_EQ(trail("00001", "", "ana").size(), 1u);
  EXPECT_EQ(trail("00001", "", "BIA").size(), 2u);
  EXPECT_EQ(trail("00001", "C2").size(), 1u);
  const auto yesterday = std::floor(nowAsDayCount()) - 1;
  const auto old = service_.call(
      "rdmTrilha", "GetTrilha",
      {"", "", "", "", packet::DateArg{yesterday - 30}, packet::DateArg{yesterday}}, "AUDITOR");
  ASSERT_TRUE(old.ok);
  EXPECT_TRUE(old.packet->rows.empty());
  const auto backwards = service_.call(
      "rdmTrilha", "GetTrilha",
      {"", "", "", "", packet::DateArg{yesterday}, packet::DateArg{yesterday - 1}}, "AUDITOR");
  EXPECT_FALSE(backwards.ok);
}

}  // namespace
}  // namespace server::testing
