// Calls whose body is larger than one request may carry: staged in pieces through the forms'
// connection and run as one call on a real loopback server, with request limits made small so
// that a few hundred clients exceed them.
#include <fmt/format.h>
#include <gtest/gtest.h>
#include <httplib.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <thread>

#include "host/net_connection.h"
#include "packet/json_codec.h"
#include "packet/json_text.h"
#include "server/app_server.h"
#include "server/storage.h"
#include "server_fixture.h"

namespace server::testing {
namespace {

constexpr size_t kClients = 400;

class StagedCallTest : public ::testing::Test {
 protected:
  StagedCallTest() : server_(database_.path(), smallRequests(database_.directory())) {
    port_ = server_.start();
    token_ = server_.service().openLocalSession("jose").token;
    host::TNetConnection::setSessionToken(token_);
  }
  ~StagedCallTest() override {
    host::TNetConnection::setSessionToken({});
    host::TNetConnection::setSessionRenewer(nullptr);
  }

  // One request carries at most 64 KiB, and requests and staged calls values in the default
  // proportions.
  static AppServerOptions smallRequests(const std::string& directory) {
    AppServerOptions options;
    options.maxRequestBytes = 64 * 1024;
    options.maxRequestValues = 6'000;
    options.maxStagedValues = 24'000;
    options.stagedBodies.totalBytes = 4u << 20;
    options.stagedBodies.directory = directory;
    return options;
  }

  host::TNetConnection connection(size_t pieceBytes) {
    host::TNetConnection net("rdmClientesServico");
    net.setPort(port_);
    net.setPieceBytes(pieceBytes);
    net.connect();
    return net;
  }

  // Registers clients B0000.. in branch 0001, none bound yet.
  void addClients(size_t count) {
    Database db(database_.path(), false);
    Transaction transaction(db);
    auto client = db.prepare("INSERT INTO CLIENTE VALUES (?, '52998224725', 'F', ?, ?)");
    auto branch = db.prepare("INSERT INTO CLIENTEFILIAL VALUES ('0001', ?, NULL)");
    for (size_t i = 0; i < count; ++i) {
      const std::string code = fmt::format("B{:04}", i);
      client.bind(1, code).bind(2, "Cliente " + code).bind(3, code).run();
      client.reset();
      branch.bind(1, code).run();
      branch.reset();
    }
    transaction.commit();
  }

  // A delta binding every client named to service 0001/00001, as moving them in builds it.
  packet::Delta bindAll(const std::vector<std::string>& codes) {
    auto rows = server_.service().call("rdmClientesServico", "GetServClie",
                                       {"0001", "00001", "JOSE"}, "JOSE");
    EXPECT_TRUE(rows.ok) << rows.message;
    packet_ = *rows.packet;
    DeltaBuilder builder(packet_);
    for (const auto& code : codes) {
      builder.insert({{"CDFILIAL", "0001"},
                      {"CDSERVFILI", "00001"},
                      {"CDCLIENTE", code},
                      {"VRSERVFATU", 750.0},
                      {"DTSERVFATU", 46023.0},
                      {"CDPRODUTO", " "},
                      {"IDATIVATABCOR", "S"},
                      {"DSEMISSERCLI", "Serviço contratado em lote"}});
    }
    return builder.build();
  }

  size_t boundClients() {
    Database db(database_.path(), false);
    auto count = db.prepare(
        "SELECT COUNT(*) FROM SERVCLIE WHERE CDFILIAL = '0001' AND CDSERVFILI = '00001'");
    EXPECT_TRUE(count.step());
    return static_cast<size_t>(count.number(0));
  }

  // A raw POST with the given headers (the session's token unless one is given).
  std::pair<int, packet::CallResult> post(const std::string& path, const std::string& body,
                                          httplib::Headers headers = {}) {
    if (headers.find("Authorization") == headers.end())
      headers.emplace("Authorization", "Bearer " + token_);
    httplib::Client client("127.0.0.1", port_);
    const auto response = client.Post(path.c_str(), headers, body, "application/json");
    if (!response) {
      ADD_FAILURE() << "no answer: " << httplib::to_string(response.error());
      return {0, {}};
    }
    return {response->status, packet::callResultFromJson(nlohmann::json::parse(response->body))};
  }

  std::pair<int, packet::CallResult> runStaged(const std::string& id, size_t pieces,
                                               const std::string& token) {
    return post("/rdmClientesServico/ProUpVrPrFixAut", "",
                {{"Authorization", "Bearer " + token},
                 {"X-Corpo-Preparado", id},
                 {"X-Partes", std::to_string(pieces)}});
  }

  // The fixed-price flag of client C1 on 0001/00001 ("N" in the fixture).
  std::string flagOfC1() {
    Database db(database_.path(), false);
    auto flag = db.prepare(
        "SELECT IDVRPRFIXAUT FROM SERVCLIE WHERE CDSERVFILI = '00001' AND CDCLIENTE = 'C1'");
    EXPECT_TRUE(flag.step());
    return flag.text(0);
  }

  void expectNothingKept() {
    EXPECT_EQ(server_.stagedBodies().count(), 0u);
    EXPECT_EQ(server_.stagedBodies().heldBytes(), 0u);
    EXPECT_TRUE(stagingFilesGone());
  }

  bool stagingFilesGone() {
    for (const auto& entry : std::filesystem::directory_iterator(database_.directory())) {
      if (entry.path().filename().string().starts_with("preparo-"))
        return false;
    }
    return true;
  }

  TempDatabase database_;
  AppServer server_;
  int port_ = 0;
  std::string token_;
  packet::Packet packet_;
  // ProUpVrPrFixAut setting the flag "S" on the service, as a body of two pieces.
  const std::string flagBody_ = R"(["0001","00001","C1","S"])";
};

TEST_F(StagedCallTest, ACallSentInPiecesDoesWhatTheWholeCallDoes) {
  auto whole = connection(size_t{16} << 20);
  auto pieces = connection(64);
  const auto direct = whole.call("GetServClie", {"0001", "00001", "JOSE"});
  const auto staged = pieces.call("GetServClie", {"0001", "00001", "JOSE"});
  ASSERT_TRUE(direct.ok) << direct.message;
  ASSERT_TRUE(staged.ok) << staged.message;
  EXPECT_EQ(packet::toJson(direct), packet::toJson(staged));

  const auto flag = pieces.call("ProUpVrPrFixAut", {"0001", "00001", "C1", "S"});
  ASSERT_TRUE(flag.ok) << flag.message;
  EXPECT_EQ(flagOfC1(), "S");

  // A method's own refusal comes back as it does for a whole call.
  const auto refusedWhole = whole.call("ProUpVrPrFixAut", {"0001", "00001", "C1", "X"});
  const auto refusedStaged = pieces.call("ProUpVrPrFixAut", {"0001", "00001", "C1", "X"});
  EXPECT_FALSE(refusedStaged.ok);
  EXPECT_EQ(refusedStaged.message, refusedWhole.message);
  expectNothingKept();
}

TEST_F(StagedCallTest, ABatchAboveOneRequestsLimitIsSavedWholeOrNotAtAll) {
  addClients(kClients + 1);
  std::vector<std::string> codes;
  for (size_t i = 0; i < kClients; ++i)
    codes.push_back(fmt::format("B{:04}", i));
  const packet::Delta batch = bindAll(codes);
  ASSERT_GT(packet::argsToJsonText({batch, "JOSE"}).size(), 64u * 1024u);

  // Sent whole it is refused: one request cannot carry it.
  auto whole = connection(size_t{16} << 20);
  const auto refused = whole.call("UpdServClie", {batch, "JOSE"});
  EXPECT_FALSE(refused.ok);
  EXPECT_NE(refused.message.find("excede o limite"), std::string::npos) << refused.message;
  EXPECT_EQ(boundClients(), 2u);

  // A batch with one client that cannot be bound (of another branch) saves nothing.
  std::vector<std::string> withBad = codes;
  withBad.push_back("C4");
  auto pieces = connection(16 * 1024);
  const auto bad = pieces.call("UpdServClie", {bindAll(withBad), "JOSE"});
  EXPECT_FALSE(bad.ok);
  EXPECT_NE(bad.message.find("C4"), std::string::npos) << bad.message;
  EXPECT_EQ(boundClients(), 2u);
  expectNothingKept();

  const auto saved = pieces.call("UpdServClie", {batch, "JOSE"});
  ASSERT_TRUE(saved.ok) << saved.message;
  EXPECT_EQ(boundClients(), 2u + kClients);
  expectNothingKept();
}

TEST_F(StagedCallTest, PiecesOutOfOrderOrMissingRunNothingAndKeepNothing) {
  const std::string first = flagBody_.substr(0, 10);
  const std::string second = flagBody_.substr(10);

  auto [status, result] = post("/preparo/a/0", first);
  ASSERT_EQ(status, 200) << result.message;
  std::tie(status, result) = post("/preparo/a/2", second);
  EXPECT_EQ(status, 400);
  EXPECT_NE(result.message.find("fora de ordem"), std::string::npos) << result.message;
  expectNothingKept();
  std::tie(status, result) = runStaged("a", 1, token_);
  EXPECT_EQ(status, 400);
  EXPECT_NE(result.message.find("não existe"), std::string::npos) << result.message;

  // A piece that never came: the call names more pieces than were staged.
  ASSERT_EQ(post("/preparo/b/0", first).first, 200);
  std::tie(status, result) = runStaged("b", 2, token_);
  EXPECT_EQ(status, 400);
  EXPECT_NE(result.message.find("tem 1 parte(s)"), std::string::npos) << result.message;
  expectNothingKept();

  // A final call must carry no body of its own.
  ASSERT_EQ(post("/preparo/c/0", flagBody_).first, 200);
  std::tie(status, result) = post("/rdmClientesServico/ProUpVrPrFixAut", flagBody_,
                                  {{"X-Corpo-Preparado", "c"}, {"X-Partes", "1"}});
  EXPECT_EQ(status, 400);
  expectNothingKept();
  EXPECT_EQ(flagOfC1(), "N");
}

TEST_F(StagedCallTest, AStagedBodyBelongsToItsSession) {
  std::tie(std::ignore, std::ignore) = post("/preparo/x/0", flagBody_);

  // Without a session a piece is not even read.
  auto [status, result] = post("/preparo/y/0", flagBody_, {{"Authorization", "Bearer nada"}});
  EXPECT_EQ(status, 401);

  // Another session neither runs nor discards it.
  const std::string other = server_.service().openLocalSession("maria").token;
  std::tie(status, result) = runStaged("x", 1, other);
  EXPECT_EQ(status, 400);
  EXPECT_EQ(flagOfC1(), "N");
  EXPECT_EQ(server_.stagedBodies().count(), 1u);

  std::tie(status, result) = runStaged("x", 1, token_);
  EXPECT_EQ(status, 200) << result.message;
  EXPECT_EQ(flagOfC1(), "S");
  expectNothingKept();

  // A session keeps two bodies at most (a third pushes out the oldest), and signing out
  // discards them.
  for (const char* id : {"p", "q", "r"})
    ASSERT_EQ(post(fmt::format("/preparo/{}/0", id), flagBody_).first, 200);
  EXPECT_EQ(server_.stagedBodies().count(), 2u);
  EXPECT_EQ(runStaged("p", 1, token_).first, 400);
  EXPECT_EQ(post("/rdmSessao/Logout", "[]").first, 200);
  expectNothingKept();
}

TEST_F(StagedCallTest, ASessionRenewedOnAPieceSendsTheWholeCallAgain) {
  host::TNetConnection::setSessionToken("expirada");
  int renewals = 0;
  host::TNetConnection::setSessionRenewer([&] {
    ++renewals;
    host::TNetConnection::setSessionToken(token_);
    return true;
  });
  auto pieces = connection(8);
  const auto flag = pieces.call("ProUpVrPrFixAut", {"0001", "00001", "C1", "S"});
  ASSERT_TRUE(flag.ok) << flag.message;
  EXPECT_EQ(renewals, 1);
  EXPECT_EQ(flagOfC1(), "S");
  expectNothingKept();
}

TEST_F(StagedCallTest, StagedBytesAndValuesStayWithinTheirCaps) {
  // 30,000 values in 60 KB: one piece carries them, the call may not.
  std::string numbers = "[[0";
  for (int i = 1; i < 30'000; ++i)
    numbers += ",0";
  numbers += "]]";
  ASSERT_EQ(post("/preparo/v/0", numbers).first, 200);
  auto [refused, why] = runStaged("v", 1, token_);
  EXPECT_EQ(refused, 413);
  EXPECT_NE(why.message.find("mais de 24000 valores"), std::string::npos) << why.message;
  expectNothingKept();

  const std::string piece(3u << 20, ' ');
  ASSERT_EQ(post("/preparo/big/0", piece.substr(0, 60'000)).first, 200);
  size_t index = 1;
  int status = 200;
  packet::CallResult result;
  while (status == 200 && index < 100) {
    std::tie(status, result) =
        post(fmt::format("/preparo/big/{}", index++), piece.substr(0, 60'000));
  }
  EXPECT_EQ(status, 413);
  EXPECT_NE(result.message.find("excede o limite de 4194304 bytes"), std::string::npos)
      << result.message;
  expectNothingKept();
}

TEST(StagedBodiesTest, AnIdleBodyIsDiscarded) {
  StagedBodies bodies({.totalBytes = 1024,
                       .perSession = 2,
                       .idle = std::chrono::milliseconds(30),
                       .directory = {}});
  bodies.append("s", "a", 0, "[1,");
  EXPECT_EQ(bodies.heldBytes(), 3u);
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  EXPECT_EQ(bodies.count(), 0u);
  EXPECT_EQ(bodies.heldBytes(), 0u);
  EXPECT_THROW(bodies.take("s", "a", 1), StagedBodyError);

  bodies.append("s", "b", 0, "[1,");
  bodies.append("s", "b", 1, "2]");
  EXPECT_EQ(bodies.take("s", "b", 2), "[1,2]");
  EXPECT_EQ(bodies.count(), 0u);
}

}  // namespace
}  // namespace server::testing
