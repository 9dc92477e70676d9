// Operators who sign in: over HTTP a call runs only inside a live session and records the
// session's operator, whatever the request says; sign-in slows guessing down; administration
// ends sessions. Every refusal leaves the data as it was.
#include <gtest/gtest.h>
#include <httplib.h>

#include <chrono>
#include <cstdlib>
#include <cstring>

#include <nlohmann/json.hpp>

#include "packet/json_codec.h"
#include "server/app_server.h"
#include "server/day_count.h"
#include "server/operators.h"
#include "server_fixture.h"

namespace server::testing {
namespace {

class SessionsTest : public ::testing::Test {
 protected:
  SessionsTest() : server_(database_.path(), options()) {
    port_ = server_.start();
    Database db(database_.path(), false);
    addOperator(db, "ana", "Ana Lima", "senha-da-ana", policy());
    addOperator(db, "bia", "", "senha-da-bia", policy());
  }

  static SignInPolicy policy() { return cheapSignIn().signIn; }
  static AppServerOptions options() {
    AppServerOptions options;
    options.service = cheapSignIn();
    return options;
  }

  struct Answer {
    int status = 0;
    packet::CallResult result;
  };

  Answer post(const std::string& path, const std::vector<packet::Arg>& args,
              httplib::Headers headers = {}) {
    httplib::Client client("127.0.0.1", port_);
    const auto response =
        client.Post(path.c_str(), headers, packet::argsToJson(args).dump(), "application/json");
    if (!response) {
      ADD_FAILURE() << "no answer";
      return {};
    }
    return {response->status, packet::callResultFromJson(nlohmann::json::parse(response->body))};
  }

  static httplib::Headers bearer(const std::string& token) {
    return {{"Authorization", "Bearer " + token}};
  }

  Answer login(const std::string& code, const std::string& password) {
    return post("/rdmSessao/Login", {code, password});
  }

  // The token of a good sign-in.
  std::string tokenOf(const std::string& code, const std::string& password) {
    const Answer answer = login(code, password);
    EXPECT_TRUE(answer.result.ok) << answer.result.message;
    if (!answer.result.ok)
      return {};
    const auto& packet = *answer.result.packet;
    EXPECT_EQ(text(field(packet, 0, "CDOPERADOR")), code == "ana" ? "ANA" : "BIA");
    EXPECT_GT(number(field(packet, 0, "DTEXPIRA")), nowAsDayCount());
    return text(field(packet, 0, "TOKEN"));
  }

  // A write: the fixed-price flag of every client of 0001/00001.
  Answer setFlag(const std::string& flag, httplib::Headers headers) {
    return post("/rdmClientesServico/ProUpVrPrFixAut", {"0001", "00001", "C1", flag},
                std::move(headers));
  }

  std::string stored(const std::string& sql) {
    Database db(database_.path(), false);
    auto statement = db.prepare(sql);
    return statement.step() ? statement.text(0) : "<none>";
  }
  std::string flagOfC1() {
    return stored("SELECT IDVRPRFIXAUT FROM SERVCLIE WHERE CDCLIENTE = 'C1'");
  }
  void run(const std::string& sql) { Database(database_.path(), false).exec(sql); }

  TempDatabase database_;
  AppServer server_;
  int port_ = 0;
};

TEST_F(SessionsTest, CallsWithoutALiveSessionAreRefusedAndChangeNothing) {
  const std::string token = tokenOf("ana", "senha-da-ana");
  const auto expectRefused = [&](httplib::Headers headers, const char* expected) {
    const Answer answer = setFlag("S", std::move(headers));
    EXPECT_EQ(answer.status, 401);
    EXPECT_FALSE(answer.result.ok);
    EXPECT_NE(answer.result.message.find(expected), std::string::npos) << answer.result.message;
    EXPECT_EQ(flagOfC1(), "N");
  };
  expectRefused({}, "Nenhuma sessão");
  expectRefused({{"X-Operador", "ADMIN"}}, "Nenhuma sessão");
  expectRefused(bearer("inventado"), "não é reconhecida");
  expectRefused({{"Authorization", token}}, "Nenhuma sessão");  // not a bearer token

  // Expired, by its lifetime and by going unused.
  run("UPDATE SESSAO SET DTEXPIRA = DTEXPIRA - 1");
  expectRefused(bearer(token), "expirou");
  const std::string idle = tokenOf("ana", "senha-da-ana");
  run("UPDATE SESSAO SET DTULTUSO = DTULTUSO - 0.25");
  expectRefused(bearer(idle), "expirou");

  // Revoked by signing out.
  const std::string live = tokenOf("ana", "senha-da-ana");
  EXPECT_TRUE(setFlag("S", bearer(live)).result.ok);
  EXPECT_TRUE(post("/rdmSessao/Logout", {}, bearer(live)).result.ok);
  run("UPDATE SERVCLIE SET IDVRPRFIXAUT = 'N'");
  expectRefused(bearer(live), "encerrada");
  // The database keeps only a hash of each token.
  EXPECT_EQ(stored("SELECT COUNT(*) FROM SESSAO WHERE DSCHAVE = '" + live + "'"), "0");
}

TEST_F(SessionsTest, TheSessionsOperatorIsRecordedWhateverTheRequestClaims) {
  const std::string token = tokenOf("ana", "senha-da-ana");
  httplib::Headers forged = bearer(token);
  forged.emplace("X-Operador", "ADMIN");
  ASSERT_TRUE(setFlag("S", forged).result.ok);
  EXPECT_EQ(stored("SELECT CDOPERALTSERVCLIE FROM SERVCLIE WHERE CDCLIENTE = 'C1'"), "ANA");

  // An operator argument naming someone else is refused; the session's own (any case) is not.
  const auto alterar = [&](const char* operatorCode) {
    return post("/rdmClientesServico/AlterarVrServico",
                {"0001", "00001", "C1", packet::DateArg{46023}, 10.0, "x", 1.0, 1.0, 1.0, 1.0, 1.0,
                 1.0, 1.0, 1.0, operatorCode},
                bearer(token));
  };
  const Answer refused = alterar("ADMIN");
  EXPECT_FALSE(refused.result.ok);
  EXPECT_NE(refused.result.message.find("não é o operador da sessão (ANA)"), std::string::npos)
      << refused.result.message;
  EXPECT_EQ(stored("SELECT CAST(VRSERVFATU AS INTEGER) FROM SERVCLIE WHERE CDCLIENTE = 'C1'"),
            "1000");
  EXPECT_TRUE(alterar("ana").result.ok);
  EXPECT_EQ(stored("SELECT CDOPERALTHIS FROM HISTSERVFATU WHERE CDCLIENTE = 'C1' ORDER BY "
                   "DTALTEFATHIS DESC"),
            "ANA");

  // The operator a shift row carries is not who made the change.
  Service service(database_.path());
  const auto shifts =
      service.call("rdmClientesServico", "GetTurno", {"0001", "C2", "00002"}, "ANA");
  ASSERT_TRUE(shifts.ok);
  const auto delta = DeltaBuilder(*shifts.packet)
                         .modify(0, {{"VRSERVFATTUR", 99.0}, {"CDOPERALTSERVCLIETURN", "ADMIN"}})
                         .build();
  ASSERT_TRUE(post("/rdmClientesServico/SetTurno", {delta, ""}, bearer(token)).result.ok);
  EXPECT_EQ(stored("SELECT CDOPERALTSERVCLIETURN FROM TURNOSERVCLIE WHERE CDTURNO = '1'"), "ANA");
}

TEST_F(SessionsTest, SignInTellsNobodyWhichOperatorsExistAndSlowsGuessingDown) {
  EXPECT_EQ(login("ana", "errada-123").result.message, kWrongCredentials);
  EXPECT_EQ(login("ninguem", "errada-123").result.message, kWrongCredentials);
  EXPECT_EQ(login(std::string(500, 'x'), "errada-123").result.message, kWrongCredentials);
  EXPECT_FALSE(post("/rdmSessao/Login", {"ana"}).result.ok);

  // A wait counts from the last failure on the wall clock, so its seconds read exactly only
  // when the next call comes within that second (a machine too loaded for that cannot judge
  // the rest), and may read one more when the clock is stepped back meanwhile.
  using Clock = std::chrono::steady_clock;
  const auto tooSlow = [](Clock::time_point failedAt) {
    return Clock::now() - failedAt > std::chrono::milliseconds(900);
  };
  const auto expectWait = [](const Answer& answer, int seconds) {
    EXPECT_FALSE(answer.result.ok);
    const std::string& message = answer.result.message;
    const size_t at = message.find("Tente novamente em ");
    ASSERT_NE(at, std::string::npos) << message;
    const int told = std::atoi(message.c_str() + at + std::strlen("Tente novamente em "));
    EXPECT_TRUE(told == seconds || told == seconds + 1) << message;
  };

  // Five failures in a row are free; then even the right password must wait.
  for (int i = 0; i < 3; ++i)
    EXPECT_EQ(login("ANA", "errada-123").result.message, kWrongCredentials);
  Clock::time_point failedAt = Clock::now();
  EXPECT_EQ(login("ANA", "errada-123").result.message, kWrongCredentials);
  const Answer waiting = login("ana", "senha-da-ana");
  if (tooSlow(failedAt))
    GTEST_SKIP() << "more than a second between two calls";
  expectWait(waiting, 1);
  EXPECT_EQ(stored("SELECT QTFALHAS FROM OPERADOR WHERE CDOPERADOR = 'ANA'"), "5");

  // Each failure after the wait doubles it.
  run("UPDATE OPERADOR SET DTULTFALHA = DTULTFALHA - 1.0 / 86400");
  failedAt = Clock::now();
  EXPECT_EQ(login("ana", "errada-123").result.message, kWrongCredentials);
  const Answer waitingLonger = login("ana", "senha-da-ana");
  if (tooSlow(failedAt))
    GTEST_SKIP() << "more than a second between two calls";
  expectWait(waitingLonger, 2);
  run("UPDATE OPERADOR SET QTFALHAS = 40 WHERE CDOPERADOR = 'ANA'");
  EXPECT_NE(login("ana", "senha-da-ana").result.message.find("em 300 segundo"), std::string::npos);

  // Once the wait is over the right password gets in and the count starts again.
  run("UPDATE OPERADOR SET DTULTFALHA = DTULTFALHA - 1");
  EXPECT_FALSE(tokenOf("ana", "senha-da-ana").empty());
  EXPECT_EQ(stored("SELECT QTFALHAS FROM OPERADOR WHERE CDOPERADOR = 'ANA'"), "0");
  // Other operators never waited.
  EXPECT_FALSE(tokenOf("bia", "senha-da-bia").empty());
}

TEST_F(SessionsTest, DisablingAndResettingEndTheOperatorsSessions) {
  const std::string ana = tokenOf("ana", "senha-da-ana");
  const std::string bia = tokenOf("bia", "senha-da-bia");
  {
    Database db(database_.path(), false);
    setOperatorActive(db, "ana", false);
  }
  EXPECT_EQ(setFlag("S", bearer(ana)).status, 401);
  EXPECT_EQ(login("ana", "senha-da-ana").result.message, "O operador ANA está desativado.");
  EXPECT_EQ(login("ana", "errada-123").result.message, kWrongCredentials);
  {
    Database db(database_.path(), false);
    setOperatorActive(db, "ana", true);
    resetPassword(db, "bia", "nova-senha-bia", policy());
  }
  EXPECT_EQ(flagOfC1(), "N");
  EXPECT_EQ(setFlag("S", bearer(bia)).status, 401);
  EXPECT_EQ(login("bia", "senha-da-bia").result.message, kWrongCredentials);
  EXPECT_FALSE(tokenOf("bia", "nova-senha-bia").empty());
  EXPECT_FALSE(tokenOf("ana", "senha-da-ana").empty());
}

TEST(OperatorAdministration, RefusesWhatCannotBeAnOperator) {
  TempDatabase database;
  Database db(database.path(), false);
  const SignInPolicy policy = cheapSignIn().signIn;
  const auto expectRefused = [&](auto action, const char* expected) {
    try {
      action();
      ADD_FAILURE() << "accepted; expected " << expected;
    } catch (const OperatorError& e) {
      EXPECT_NE(std::string(e.what()).find(expected), std::string::npos) << e.what();
    }
  };
  addOperator(db, " jose ", "José", "12345678", policy);
  expectRefused([&] { addOperator(db, "JOSE", "", "12345678", policy); }, "já está cadastrado");
  expectRefused([&] { addOperator(db, "", "", "12345678", policy); }, "de 1 a 12 caracteres");
  expectRefused([&] { addOperator(db, "JOSE MARIA", "", "12345678", policy); }, "sem espaços");
  expectRefused([&] { addOperator(db, "ABCDEFGHIJKLM", "", "12345678", policy); }, "1 a 12");
  expectRefused([&] { addOperator(db, "ANA", "", "1234567", policy); }, "de 8 a 256");
  expectRefused([&] { resetPassword(db, "NINGUEM", "12345678", policy); }, "não está cadastrado");
  expectRefused([&] { setOperatorActive(db, "NINGUEM", false); }, "não está cadastrado");
  auto statement = db.prepare("SELECT CDOPERADOR, DSSENHA FROM OPERADOR");
  ASSERT_TRUE(statement.step());
  EXPECT_EQ(statement.text(0), "JOSE");
  EXPECT_EQ(statement.text(1).rfind("$argon2id$", 0), 0u) << statement.text(1);
  EXPECT_FALSE(statement.step());

  // A local operator has no password: it can never sign in with one.
  Service service(database.path(), cheapSignIn());
  EXPECT_EQ(service.openLocalSession("local").operatorCode, "LOCAL");
  EXPECT_EQ(service.signIn("local", "").message, kWrongCredentials);
  setOperatorActive(db, "LOCAL", false);
  EXPECT_THROW(service.openLocalSession("local"), OperatorError);
}

}  // namespace
}  // namespace server::testing
