// Two application servers on one database, as a deployment runs them: a session opened on one
// holds on the other, and saves that race each other through both lose nothing.
#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "server/service.h"
#include "server_fixture.h"

namespace server::testing {
namespace {

class TwoServersTest : public ::testing::Test {
 protected:
  TwoServersTest() : first_(database_.path()), second_(database_.path()) {}

  static packet::Packet bindings(Service& service, const std::string& servico = "00001") {
    const auto result =
        service.call("rdmClientesServico", "GetServClie", {"0001", servico, "TESTE"}, "TESTE");
    EXPECT_TRUE(result.ok) << result.message;
    return result.packet.value_or(packet::Packet{});
  }

  TempDatabase database_;
  Service first_;
  Service second_;
};

TEST_F(TwoServersTest, ASessionHoldsOnEveryServerAndEndsOnAll) {
  const OpenedSession session = first_.openLocalSession("ana");
  EXPECT_EQ(second_.authenticate(session.token).operatorCode, "ANA");
  second_.signOut(session.token);
  EXPECT_FALSE(first_.authenticate(session.token).operatorCode.has_value());
}

// Each operator adds its own weight (1, 16, 256, 4096) to a client's minimum quantity from what
// it read, through its own server, again and again; a save that finds the value changed
// meanwhile is refused and the operator reads again and redoes it. With fewer than 16 saves
// each, no sum of the others' weights equals one's own, so a save is never taken for one
// already written; every save reported done must then be in the final value.
TEST_F(TwoServersTest, ConflictingSavesThroughBothServersLoseNothing) {
  constexpr int kOperators = 4;
  constexpr int kSavesEach = 15;
  const int row = findRow(bindings(first_), "CDCLIENTE", "C1");
  ASSERT_GE(row, 0);
  const double start = number(field(bindings(first_), static_cast<size_t>(row), "QTEFETMINI"));

  std::vector<int> refusals(kOperators, 0);
  std::vector<std::thread> operators;
  for (int i = 0; i < kOperators; ++i) {
    operators.emplace_back([&, i] {
      Service& service = i % 2 == 0 ? first_ : second_;
      const std::string code = "OPER" + std::to_string(i);
      const double weight = 1 << (4 * i);
      for (int done = 0; done < kSavesEach;) {
        const packet::Packet rows = bindings(service);
        const double read = number(field(rows, static_cast<size_t>(row), "QTEFETMINI"));
        const auto delta = DeltaBuilder(rows)
                               .modify(static_cast<size_t>(row), {{"QTEFETMINI", read + weight}})
                               .build();
        const auto result = service.call("rdmClientesServico", "UpdServClie", {delta, code}, code);
        if (result.ok) {
          ++done;
          continue;
        }
        // Refused as stale, or (rarely) still colliding after the server's retries.
        ASSERT_TRUE(result.message.find("alterado por outro usuário") != std::string::npos ||
                    result.message.find("coincidiu com outra") != std::string::npos)
            << result.message;
        ++refusals[static_cast<size_t>(i)];
      }
    });
  }
  for (auto& thread : operators)
    thread.join();

  EXPECT_EQ(number(field(bindings(second_), static_cast<size_t>(row), "QTEFETMINI")),
            start + kSavesEach * (1 + 16 + 256 + 4096));
  int refused = 0;
  for (int count : refusals)
    refused += count;
  RecordProperty("refusals", refused);
}

// Each service counts its own row versions, so saves on different services write no row in
// common: with no second run allowed, two operators saving over and over on two services through
// two servers at once are never refused. Each service holds enough clients of its own that the
// two operators' rows lie on different pages of the bindings' indexes: the engine watches reads
// by page, and rows sharing one would collide whatever the counters.
TEST(TwoServersOnPostgresql, SavesOnDifferentServicesNeverCollide) {
  if (!onPostgresql())
    GTEST_SKIP() << "PostgreSQL only: an SQLite file takes one writer at a time";
  TempDatabase database;
  Database(database.path()).exec(R"sql(
INSERT INTO CLIENTE SELECT 'X' || LPAD(G::TEXT, 4, '0'), LPAD(G::TEXT, 11, '0'), 'F',
                           'Cliente ' || G, 'Cliente ' || G FROM generate_series(1, 1200) G;
INSERT INTO CLIENTEFILIAL SELECT '0001', 'X' || LPAD(G::TEXT, 4, '0'), NULL
                            FROM generate_series(1, 1200) G;
INSERT INTO SERVCLIE (CDFILIAL, CDSERVFILI, CDCLIENTE)
  SELECT '0001', CASE WHEN G <= 600 THEN '00001' ELSE '00002' END, 'X' || LPAD(G::TEXT, 4, '0')
    FROM generate_series(1, 1200) G;
)sql");
  ServiceOptions once;
  once.transactionAttempts = 1;
  Service first(database.path(), once);
  Service second(database.path(), once);
  constexpr int kSaves = 30;
  const std::pair<const char*, const char*> edits[] = {{"00001", "X0300"}, {"00002", "X0900"}};

  std::vector<std::thread> operators;
  for (const auto& [servico, cliente] : edits) {
    operators.emplace_back([&, servico, cliente] {
      Service& service = servico == std::string("00001") ? first : second;
      const std::string code = std::string("OPER") + servico;
      for (int i = 1; i <= kSaves; ++i) {
        const auto read =
            service.call("rdmClientesServico", "GetServClie", {"0001", servico, code}, code);
        ASSERT_TRUE(read.ok) << read.message;
        const int row = findRow(*read.packet, "CDCLIENTE", cliente);
        ASSERT_GE(row, 0);
        const auto delta = DeltaBuilder(*read.packet)
                               .modify(static_cast<size_t>(row), {{"QTEFETMINI", double(i)}})
                               .build();
        const auto saved = service.call("rdmClientesServico", "UpdServClie", {delta, code}, code);
        ASSERT_TRUE(saved.ok) << servico << ", save " << i << ": " << saved.message;
      }
    });
  }
  for (auto& thread : operators)
    thread.join();
  for (const auto& [servico, cliente] : edits) {
    const auto rows =
        first.call("rdmClientesServico", "GetServClie", {"0001", servico, "TESTE"}, "TESTE");
    ASSERT_TRUE(rows.ok);
    const int row = findRow(*rows.packet, "CDCLIENTE", cliente);
    EXPECT_EQ(number(field(*rows.packet, static_cast<size_t>(row), "QTEFETMINI")), kSaves);
  }
}

}  // namespace
}  // namespace server::testing
