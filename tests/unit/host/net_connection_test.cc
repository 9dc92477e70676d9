// TNetConnection against a stub HTTP server: every kind of failure becomes a failed result,
// the session token travels in its header and is renewed when refused, and the process-wide
// hook sees every call.
#include "host/net_connection.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <nlohmann/json.hpp>
#include <thread>

#include "host/consiste.h"
#include "host/server_call.h"
#include "packet/json_codec.h"

namespace host {
namespace {

// Serves /mod/<Method> with canned answers on a loopback port.
class StubServer {
 public:
  StubServer() {
    http_.set_tcp_nodelay(true);
    http_.Post("/mod/Echo", [this](const httplib::Request& request, httplib::Response& response) {
      ++calls;
      packet::Packet args;
      args.fields = {{"ARGS", packet::FieldType::Text, 1000}};
      args.rows = {{request.body}};
      const packet::CallResult result{true, request.get_header_value("Authorization"), args};
      response.set_content(packet::toJson(result).dump(), "application/json");
    });
    // Answers only the session "novo"; any other is refused as an expired one.
    http_.Post("/mod/Guarded", [this](const httplib::Request& request,
                                      httplib::Response& response) {
      ++calls;
      const bool live = request.get_header_value("Authorization") == "Bearer novo";
      const packet::CallResult result{live, live ? "" : "A sessão expirou: entre novamente.", {}};
      response.status = live ? 200 : 401;
      response.set_content(packet::toJson(result).dump(), "application/json");
    });
    http_.Post("/mod/NotJson", [](const httplib::Request&, httplib::Response& response) {
      response.set_content("<html>erro</html>", "text/html");
    });
    http_.Post("/mod/NotCallResult", [](const httplib::Request&, httplib::Response& response) {
      response.set_content(R"({"status":"talvez"})", "application/json");
    });
    // Rows enough that the answer arrives in many pieces.
    http_.Post("/mod/Large", [](const httplib::Request&, httplib::Response& response) {
      packet::Packet rows;
      rows.fields = {{"NMCLIENTE", packet::FieldType::Text, 100}};
      for (int i = 0; i < 20000; ++i)
        rows.rows.push_back({"Cliente " + std::to_string(i)});
      response.set_content(packet::toJson(packet::CallResult{true, "", rows}).dump(),
                           "application/json");
    });
    // Declares far more than it sends.
    http_.Post("/mod/Short", [](const httplib::Request&, httplib::Response& response) {
      response.set_header("Content-Length", "99999999999");
      response.set_header("Connection", "close");
      response.body = R"({"status":"ok"})";
    });
    http_.Post("/mod/Slow", [](const httplib::Request&, httplib::Response& response) {
      std::this_thread::sleep_for(std::chrono::milliseconds(1500));
      response.set_content(R"({"status":"ok"})", "application/json");
    });
    port = http_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { http_.listen_after_bind(); });
    while (!http_.is_running())
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  ~StubServer() {
    http_.stop();
    thread_.join();
  }

  int port = 0;
  std::atomic<int> calls = 0;

 private:
  httplib::Server http_;
  std::thread thread_;
};

// A loopback port nothing listens on.
int closedPort() {
  const int sock = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in address{};
  address.sin_family = AF_INET;
  address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t length = sizeof(address);
  bind(sock, reinterpret_cast<sockaddr*>(&address), sizeof(address));
  getsockname(sock, reinterpret_cast<sockaddr*>(&address), &length);
  close(sock);
  return ntohs(address.sin_port);
}

class NetConnectionTest : public ::testing::Test {
 protected:
  NetConnectionTest() : net_("mod") { net_.setPort(stub_.port); }
  ~NetConnectionTest() override {
    TNetConnection::setCallHook(nullptr);
    TNetConnection::setSessionToken("");
    TNetConnection::setSessionRenewer(nullptr);
  }

  StubServer stub_;
  TNetConnection net_;
};

TEST_F(NetConnectionTest, SendsArgumentsAndSessionAndReadsTheAnswer) {
  TNetConnection::setSessionToken("abc-123");
  net_.connect();
  ASSERT_TRUE(net_.connected());
  const auto result = net_.call("Echo", {"0001", 2.5, packet::DateArg{46023}, std::monostate{}});
  ASSERT_TRUE(result.ok) << result.message;
  EXPECT_EQ(result.message, "Bearer abc-123");
  const auto sent = nlohmann::json::parse(std::get<std::string>(result.packet->rows[0][0]));
  EXPECT_EQ(sent, packet::argsToJson({"0001", 2.5, packet::DateArg{46023}, std::monostate{}}));
}

TEST_F(NetConnectionTest, EveryFailureBecomesAFailedResult) {
  const auto expectFailure = [&](const std::string& method, const char* expected) {
    const auto result = net_.call(method, {});
    EXPECT_FALSE(result.ok) << method;
    EXPECT_NE(result.message.find(expected), std::string::npos) << result.message;
  };
  expectFailure("Echo", "não está aberta");
  net_.connect();
  expectFailure("NotJson", "não é JSON");
  expectFailure("NotCallResult", "status 'talvez'");
  expectFailure("Missing", "HTTP 404");
  expectFailure("Bad/Name", "Nome de método inválido");

  TNetConnection refused("mod");
  refused.setPort(closedPort());
  refused.connect();
  const auto result = refused.call("Echo", {});
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.message.find("Não foi possível conectar"), std::string::npos) << result.message;

  net_.disconnect();
  EXPECT_FALSE(net_.connected());
  expectFailure("Echo", "não está aberta");
}

TEST_F(NetConnectionTest, AnAnswerIsReadWholeOrNotAtAll) {
  net_.connect();
  const auto large = net_.call("Large", {});
  ASSERT_TRUE(large.ok) << large.message;
  ASSERT_EQ(large.packet->rows.size(), 20000u);
  EXPECT_EQ(large.packet->rows.back()[0], packet::Value(std::string("Cliente 19999")));
  // The rest of the declared length never comes: the wait ends and nothing is read.
  net_.setReadTimeout(std::chrono::milliseconds(500));
  const auto cut = net_.call("Short", {});
  EXPECT_FALSE(cut.ok);
  EXPECT_NE(cut.message.find("não respondeu"), std::string::npos) << cut.message;
  EXPECT_TRUE(net_.call("Echo", {}).ok);
}

TEST_F(NetConnectionTest, TimeoutIsAFailureAndTheConnectionRecovers) {
  net_.setReadTimeout(std::chrono::milliseconds(200));
  net_.connect();
  const auto slow = net_.call("Slow", {});
  EXPECT_FALSE(slow.ok);
  EXPECT_NE(slow.message.find("não respondeu"), std::string::npos) << slow.message;
  EXPECT_TRUE(net_.call("Echo", {}).ok);
}

TEST_F(NetConnectionTest, ACallCarryingManyDeltaRowsWaitsLongerForItsAnswer) {
  net_.setReadTimeout(std::chrono::milliseconds(200));
  net_.connect();
  packet::Delta batch;
  batch.fields = {{"CDCLIENTE", packet::FieldType::Text, 10}};
  batch.changes.resize(1000);
  batch.changes.front().newValues = {std::string("C1")};
  const auto slow = net_.call("Slow", {batch});
  EXPECT_TRUE(slow.ok) << slow.message;
  // The longer wait was for that call only.
  EXPECT_FALSE(net_.call("Slow", {}).ok);
}

TEST_F(NetConnectionTest, ARefusedSessionIsRenewedOnceAndTheCallSentAgain) {
  net_.connect();
  TNetConnection::setSessionToken("velho");
  auto refused = net_.call("Guarded", {});
  EXPECT_FALSE(refused.ok);
  EXPECT_EQ(refused.message, "A sessão expirou: entre novamente.");

  int renewals = 0;
  TNetConnection::setSessionRenewer([&] {
    ++renewals;
    TNetConnection::setSessionToken("novo");
    return true;
  });
  EXPECT_TRUE(net_.call("Guarded", {}).ok);
  EXPECT_EQ(renewals, 1);
  EXPECT_EQ(stub_.calls, 3);

  // A renewal that fails (the operator cancelled the login) leaves the refusal standing, and a
  // second refusal after a renewal is not renewed again.
  TNetConnection::setSessionToken("velho");
  TNetConnection::setSessionRenewer([&] {
    ++renewals;
    return false;
  });
  EXPECT_FALSE(net_.call("Guarded", {}).ok);
  TNetConnection::setSessionRenewer([&] {
    ++renewals;
    return true;
  });
  EXPECT_FALSE(net_.call("Guarded", {}).ok);
  EXPECT_EQ(renewals, 3);
}

TEST_F(NetConnectionTest, BeforeConnectChoosesTheAddress) {
  TNetConnection late("mod");
  late.beforeConnect = [&](TNetConnection& c) { c.setPort(stub_.port); };
  late.connect();
  EXPECT_TRUE(late.call("Echo", {}).ok);
}

struct RecordingHook : CallHook {
  std::optional<packet::CallResult> before(const TNetConnection&, const std::string& method,
                                           const std::vector<packet::Arg>&) override {
    if (method == "Echo" && failEcho)
      return packet::CallResult{false, "falha injetada", {}};
    return std::nullopt;
  }
  void after(const TNetConnection& connection, const std::string& method,
             const std::vector<packet::Arg>&, const packet::CallResult& result) override {
    transcript.push_back(connection.moduleName() + "." + method + (result.ok ? " ok" : " erro"));
  }
  bool failEcho = true;
  std::vector<std::string> transcript;
};

TEST_F(NetConnectionTest, HookMayAnswerInsteadOfTheServerAndSeesEveryAnswer) {
  RecordingHook hook;
  TNetConnection::setCallHook(&hook);
  net_.connect();
  const auto injected = net_.call("Echo", {});
  EXPECT_FALSE(injected.ok);
  EXPECT_EQ(injected.message, "falha injetada");
  EXPECT_EQ(stub_.calls, 0);

  hook.failEcho = false;
  EXPECT_TRUE(net_.call("Echo", {}).ok);
  EXPECT_EQ(stub_.calls, 1);
  EXPECT_FALSE(net_.call("NotJson", {}).ok);
  EXPECT_EQ(hook.transcript,
            (std::vector<std::string>{"mod.Echo erro", "mod.Echo ok", "mod.NotJson erro"}));
}

TEST_F(NetConnectionTest, CallServerHandsBackThePacketOrRaisesTheFailuresMessage) {
  RecordingHook hook;
  TNetConnection::setCallHook(&hook);
  net_.connect();
  EXPECT_THROW(
      {
        try {
          callServer(net_, "Echo", {"a"});
        } catch (const Consiste::ServerError& e) {
          EXPECT_STREQ(e.what(), "falha injetada");
          throw;
        }
      },
      Consiste::ServerError);
  hook.failEcho = false;
  const packet::Packet answer = callServer(net_, "Echo", {"a", 2.0});
  ASSERT_EQ(answer.rows.size(), 1u);
  EXPECT_EQ(std::get<std::string>(answer.rows[0][0]), R"(["a",2])");
  // An answer the connection cannot read is a failure like any other.
  EXPECT_THROW(callServer(net_, "NotJson", {}), Consiste::ServerError);
  EXPECT_EQ(hook.transcript,
            (std::vector<std::string>{"mod.Echo erro", "mod.Echo ok", "mod.NotJson erro"}));
}

}  // namespace
}  // namespace host
