// Service values with starts of validity: one client's new value, a value replicated to every
// client of a service, and the history rows the forms add or remove.
#include <gtest/gtest.h>

#include "server_fixture.h"

namespace server::testing {
namespace {

std::vector<packet::Arg> alterar(const char* cliente, double start, double value,
                                 const char* reason = "Reajuste") {
  return {
      "0001", "00001", cliente, packet::DateArg{start}, value, reason, 1.0, 2.0, 3.0, 4.0, 5.0, 6.0,
      7.0,    8.0,     ""};
}

class ValueHistoryTest : public ServiceTest {};

TEST_F(ValueHistoryTest, NewValueOfOneClientUpdatesItsRowAndHistory) {
  const auto result = call("AlterarVrServico", alterar("C1", 46023, 1234.5));
  ASSERT_TRUE(result.ok) << result.message;
  const auto rows = servClie();
  EXPECT_EQ(number(field(rows, 1, "VRSERVFATU")), 1234.5);
  EXPECT_EQ(number(field(rows, 1, "DTSERVFATU")), 46023.0);
  EXPECT_EQ(number(field(rows, 0, "VRSERVFATU")), 2000.0);  // C2 untouched

  const auto history = get("GetHistServFatu", {"0001", "C1", "00001"});
  ASSERT_EQ(history.rows.size(), 4u);
  EXPECT_EQ(number(field(history, 0, "VRSERVFATHIS")), 1234.5);
  EXPECT_EQ(number(field(history, 0, "VRFATUFERHIS")), 8.0);
  EXPECT_GT(number(field(history, 0, "DTALTEFATHIS")), 45000.0);
  EXPECT_EQ(number(get("GetMaiorVigencia", {"0001", "C1", "00001"}).rows[0][0]), 46023.0);
}

TEST_F(ValueHistoryTest, TwoChangesAtTheSameStartKeepDistinctHistoryRows) {
  ASSERT_TRUE(call("AlterarVrServico", alterar("C1", 46023, 1.0)).ok);
  ASSERT_TRUE(call("AlterarVrServico", alterar("C1", 46023, 2.0)).ok);
  const auto history = get("GetHistServFatu", {"0001", "C1", "00001"});
  ASSERT_EQ(history.rows.size(), 5u);
  EXPECT_EQ(number(field(history, 0, "VRSERVFATHIS")), 2.0);  // the later change first
}

TEST_F(ValueHistoryTest, ReplicationSetsEveryClientAndRecordsTheDate) {
  const auto result = call("AlterarVrServico", alterar("", 46054, 5000));
  ASSERT_TRUE(result.ok) << result.message;
  const auto rows = servClie();
  for (size_t i = 0; i < rows.rows.size(); ++i) {
    EXPECT_EQ(number(field(rows, i, "VRSERVFATU")), 5000.0);
    EXPECT_EQ(number(field(rows, i, "DTSERVFATU")), 46054.0);
  }
  // Each client's history keeps its own day values, not those of the row the dialog came from.
  const auto c1 = get("GetHistServFatu", {"0001", "C1", "00001"});
  EXPECT_EQ(number(field(c1, 0, "VRFATUSEGHIS")), 50.0);
  const auto c2 = get("GetHistServFatu", {"0001", "C2", "00001"});
  ASSERT_EQ(c2.rows.size(), 1u);
  EXPECT_TRUE(packet::isNull(field(c2, 0, "VRFATUSEGHIS")));

  const auto replicated = get("GetDtReplicaValor", {"0001", "00001"});
  ASSERT_EQ(replicated.rows.size(), 1u);
  EXPECT_EQ(number(field(replicated, 0, "DTSERVFATU")), 46054.0);

  // A second replication right after the first is recorded too, and is the latest.
  ASSERT_TRUE(call("AlterarVrServico", alterar("", 46030, 5100)).ok);
  EXPECT_EQ(number(field(get("GetDtReplicaValor", {"0001", "00001"}), 0, "DTSERVFATU")), 46030.0);
}

TEST_F(ValueHistoryTest, RefusalsWriteNothing) {
  const auto expectRefused = [&](std::vector<packet::Arg> args, const char* expected) {
    const auto result = call("AlterarVrServico", std::move(args));
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find(expected), std::string::npos) << result.message;
  };
  expectRefused(alterar("C3", 46023, 10), "não está vinculado");
  expectRefused(alterar("C1", 46023, -1), "negativo");
  expectRefused(alterar("C1", 1, 10), "01/01/1900");
  expectRefused(alterar("C1", 46023, 10, std::string(4001, 'm').c_str()), "4000");
  auto wrongService = alterar("", 46023, 10);
  wrongService[1] = "00009";
  expectRefused(wrongService, "não está cadastrado");
  auto noDate = alterar("C1", 46023, 10);
  noDate[3] = 46023.0;
  expectRefused(noDate, "argumento 4 (início de vigência) deve ser uma data");
  EXPECT_EQ(get("GetHistServFatu", {"0001", "C1", "00001"}).rows.size(), 3u);
}

TEST_F(ValueHistoryTest, HistoryRowsAreAddedAndDeletedThroughTheDelta) {
  const auto empty = get("GetHistServFatu", {"0001", "C2", "00001"});
  auto result = call("UpdHistServFatu", {DeltaBuilder(empty)
                                             .insert({{"CDFILIAL", "0001"},
                                                      {"CDSERVFILI", "00001"},
                                                      {"CDCLIENTE", "C2"},
                                                      {"DTSRVFATUHIS", 46000.0},
                                                      {"VRSERVFATHIS", 2000.0}})
                                             .build()});
  ASSERT_TRUE(result.ok) << result.message;
  const auto one = get("GetHistServFatu", {"0001", "C2", "00001"});
  ASSERT_EQ(one.rows.size(), 1u);
  EXPECT_FALSE(packet::isNull(field(one, 0, "DTALTEFATHIS")));

  const auto full = get("GetHistServFatu", {"0001", "C1", "00001"});
  result = call("UpdHistServFatu", {DeltaBuilder(full).remove(2).build()});
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_EQ(get("GetHistServFatu", {"0001", "C1", "00001"}).rows.size(), 2u);
  // The same deletion again finds nothing to delete.
  result = call("UpdHistServFatu", {DeltaBuilder(full).remove(2).build()});
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.message.find("vigência de"), std::string::npos) << result.message;
  EXPECT_TRUE(call("UpdHistServFatu", {std::monostate{}}).ok);
}

TEST_F(ValueHistoryTest, DeletingAClientsHistoryLeavesOthersAlone) {
  ASSERT_TRUE(call("AlterarVrServico", alterar("C2", 46023, 10)).ok);
  ASSERT_TRUE(call("DelHistServFatu", {"0001", "00001", "C1"}).ok);
  EXPECT_TRUE(get("GetHistServFatu", {"0001", "C1", "00001"}).rows.empty());
  EXPECT_EQ(get("GetHistServFatu", {"0001", "C2", "00001"}).rows.size(), 1u);
}

}  // namespace
}  // namespace server::testing
