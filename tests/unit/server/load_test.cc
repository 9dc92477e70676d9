// The server under hostile load, on loopback: idle connections, requests trickled a byte at a
// time and huge bodies leave a real call answered within a second; an overloaded server says it
// is busy instead of keeping the caller waiting; reads do not wait behind a write, and a call
// over its time budget stops and writes nothing. Every attack here is bounded in count and time.
#include <arpa/inet.h>
#include <gtest/gtest.h>
#include <httplib.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "host/net_connection.h"
#include "server/app_server.h"
#include "server_fixture.h"

namespace server::testing {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// A TCP connection to the server that the test drives byte by byte.
class RawConnection {
 public:
  explicit RawConnection(int port) : fd_(socket(AF_INET, SOCK_STREAM, 0)) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(static_cast<uint16_t>(port));
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    connected_ = connect(fd_, reinterpret_cast<sockaddr*>(&address), sizeof(address)) == 0;
  }
  ~RawConnection() { close(fd_); }
  RawConnection(const RawConnection&) = delete;
  RawConnection& operator=(const RawConnection&) = delete;

  bool connected() const { return connected_; }
  void send(std::string_view bytes) { ::send(fd_, bytes.data(), bytes.size(), MSG_NOSIGNAL); }

 private:
  int fd_;
  bool connected_ = false;
};

class LoadTest : public ::testing::Test {
 protected:
  void startServer(AppServerOptions options = {}) {
    server_ = std::make_unique<AppServer>(database_.path(), options);
    port_ = server_->start();
    token_ = server_->service().openLocalSession("ana").token;
    host::TNetConnection::setSessionToken(token_);
  }
  ~LoadTest() override { host::TNetConnection::setSessionToken({}); }

  // A real call through the forms' connection: its result and how long it took.
  std::pair<packet::CallResult, milliseconds> realCall(const char* method = "GetServClie") {
    host::TNetConnection net("rdmClientesServico");
    net.setPort(port_);
    net.setReadTimeout(std::chrono::seconds(10));
    net.connect();
    const auto start = Clock::now();
    const auto result = std::string(method) == "GetServClie"
                            ? net.call(method, {"0001", "00001", ""})
                            : net.call(method, {"0001", "00001", "C1", "S"});
    return {result, std::chrono::duration_cast<milliseconds>(Clock::now() - start)};
  }

  void expectAnsweredWithinASecond(const char* attack) {
    const auto [result, took] = realCall();
    EXPECT_TRUE(result.ok) << attack << ": " << result.message;
    EXPECT_LT(took.count(), 1000) << attack;
  }

  TempDatabase database_;
  std::unique_ptr<AppServer> server_;
  int port_ = 0;
  std::string token_;
};

TEST_F(LoadTest, IdleAndTricklingConnectionsDoNotStarveARealCall) {
  startServer();
  std::vector<std::unique_ptr<RawConnection>> idle;
  for (int i = 0; i < 200; ++i)
    idle.push_back(std::make_unique<RawConnection>(port_));
  ASSERT_TRUE(idle.back()->connected());
  std::this_thread::sleep_for(milliseconds(200));
  expectAnsweredWithinASecond("200 idle connections");

  // Sixteen connections each send a request's header a byte at a time, for two seconds.
  std::atomic<bool> trickling = true;
  std::vector<std::thread> tricklers;
  for (int i = 0; i < 16; ++i) {
    tricklers.emplace_back([&] {
      RawConnection slow(port_);
      const std::string header = "POST /rdmClientesServico/GetParamFilial HTTP/1.1\r\nHost: x";
      for (size_t at = 0; trickling && at < header.size(); ++at) {
        slow.send(header.substr(at, 1));
        std::this_thread::sleep_for(milliseconds(250));
      }
    });
  }
  std::this_thread::sleep_for(milliseconds(500));
  expectAnsweredWithinASecond("16 trickling connections");
  expectAnsweredWithinASecond("16 trickling connections, again");
  trickling = false;
  for (auto& t : tricklers)
    t.join();
}

TEST_F(LoadTest, HugeBodiesAreBoundedAndDoNotStarveARealCall) {
  // A smaller value limit than the default keeps the test quick in every build; the bodies are
  // the attack's own size.
  AppServerOptions options;
  options.maxRequestValues = 500'000;
  startServer(options);
  // 64 MiB of numbers, as a client of the server and as a stranger without a session.
  std::string numbers = "[1";
  numbers.reserve(64u << 20);
  while (numbers.size() < (64u << 20) - 3)
    numbers += ",1";
  numbers += "]";
  std::vector<int> statuses(6, 0);
  std::vector<std::thread> senders;
  for (int i = 0; i < 6; ++i) {
    senders.emplace_back([&, i] {
      httplib::Client client("127.0.0.1", port_);
      client.set_read_timeout(std::chrono::seconds(30));
      httplib::Headers headers;
      if (i < 3)
        headers.emplace("Authorization", "Bearer " + token_);
      const auto response =
          client.Post("/rdmClientesServico/GetParamFilial", headers, numbers, "application/json");
      statuses[static_cast<size_t>(i)] = response ? response->status : -1;
    });
  }
  std::this_thread::sleep_for(milliseconds(300));
  expectAnsweredWithinASecond("three 64 MiB bodies");
  for (auto& t : senders)
    t.join();
  // Read only up to the limit of values; one beyond the two read at once is told to come back
  // (or, refused while it still sends, sees its connection closed). The strangers never had
  // their bodies read.
  int bounded = 0;
  for (int i = 0; i < 3; ++i) {
    const int status = statuses[static_cast<size_t>(i)];
    EXPECT_TRUE(status == 413 || status == 503 || status == -1) << status;
    bounded += status == 413;
  }
  EXPECT_GE(bounded, 1);
  for (int i = 3; i < 6; ++i)
    EXPECT_TRUE(statuses[static_cast<size_t>(i)] == 401 || statuses[static_cast<size_t>(i)] == -1)
        << statuses[static_cast<size_t>(i)];
  expectAnsweredWithinASecond("after the bodies");
}

TEST_F(LoadTest, AnOverloadedServerSaysItIsBusy) {
  AppServerOptions options;
  options.workers = {.workers = 1, .queued = 1, .shedders = 1, .shedQueued = 4};
  startServer(options);
  // One connection holds the only worker and one waits in its queue; the next is shed.
  RawConnection holding(port_);
  holding.send("POST /rdmClientesServico/GetParamFilial HTTP/1.1\r\n");
  std::this_thread::sleep_for(milliseconds(100));
  RawConnection waiting(port_);
  waiting.send("P");
  std::this_thread::sleep_for(milliseconds(100));
  const auto [result, took] = realCall();
  EXPECT_FALSE(result.ok);
  EXPECT_EQ(result.message, kBusyMessage);
  EXPECT_LT(took.count(), 1000);
}

TEST_F(LoadTest, ReadsGoOnWhileTheDatabaseIsLockedForWritingAndWritesGiveUpInTime) {
  AppServerOptions options;
  options.service.callBudget = milliseconds(500);
  startServer(options);
  // Another process writes for as long as it likes.
  Database other(database_.path(), false);
  other.begin();
  other.exec("UPDATE SERVCLIE SET DSEMISSERCLI = 'outro' WHERE CDCLIENTE = 'C1'");
  expectAnsweredWithinASecond("a write under way");
  const auto [write, took] = realCall("ProUpVrPrFixAut");
  EXPECT_FALSE(write.ok);
  EXPECT_NE(write.message.find("ocupado"), std::string::npos) << write.message;
  EXPECT_LT(took.count(), 1500);
  other.rollback();
  EXPECT_TRUE(realCall("ProUpVrPrFixAut").first.ok);
}

TEST(CallBudget, ACallStillRunningAtItsEndStopsAndWritesNothing) {
  TempDatabase demo(Contents::Demo);
  ServiceOptions options;
  options.callBudget = milliseconds(0);
  Service service(demo.path(), options);
  const std::vector<packet::Arg> replicate = {
      "0001", "00004", "", packet::DateArg{46100}, 9999.0, "x", 0.0, 0.0, 0.0, 0.0, 0.0, 0.0,
      0.0,    0.0,     ""};
  const auto result = service.call("rdmClientesServico", "AlterarVrServico", replicate, "ANA");
  EXPECT_FALSE(result.ok);
  EXPECT_NE(result.message.find("excedeu o tempo limite"), std::string::npos) << result.message;
  Database db(demo.path(), false);
  auto count = db.prepare("SELECT COUNT(*) FROM SERVCLIE WHERE VRSERVFATU = 9999");
  ASSERT_TRUE(count.step());
  EXPECT_EQ(count.number(0), 0);
  auto trail = db.prepare("SELECT COUNT(*) FROM TRILHAALT");
  ASSERT_TRUE(trail.step());
  EXPECT_EQ(trail.number(0), 0);
}

}  // namespace
}  // namespace server::testing
