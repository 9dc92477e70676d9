// The HTTP endpoint on a real loopback port: calls through the forms' connection, and every
// malformed request answered with a CallResult body while the server goes on serving.
#include <gtest/gtest.h>
#include <httplib.h>

#include <nlohmann/json.hpp>

#include "host/net_connection.h"
#include "packet/json_codec.h"
#include "server/app_server.h"
#include "server/storage.h"
#include "server_fixture.h"

namespace server::testing {
namespace {

class HttpEndpointTest : public ::testing::Test {
 protected:
  HttpEndpointTest() : server_(database_.path(), smallBodies()) {
    port_ = server_.start();
    token_ = server_.service().openLocalSession("jose").token;
    host::TNetConnection::setSessionToken(token_);
  }
  ~HttpEndpointTest() override { host::TNetConnection::setSessionToken({}); }

  static AppServerOptions smallBodies() {
    AppServerOptions options;
    options.maxRequestBytes = 4096;
    return options;
  }

  host::TNetConnection connection(const char* module = "rdmClientesServico") {
    host::TNetConnection net(module);
    net.setPort(port_);
    net.connect();
    return net;
  }

  // A raw POST, answered with the status and the decoded CallResult.
  std::pair<int, packet::CallResult> post(const std::string& path, const std::string& body) {
    httplib::Client client("127.0.0.1", port_);
    const auto response = client.Post(path.c_str(), {{"Authorization", "Bearer " + token_}}, body,
                                      "application/json");
    if (!response) {
      ADD_FAILURE() << "no answer: " << httplib::to_string(response.error());
      return {0, {}};
    }
    return {response->status, packet::callResultFromJson(nlohmann::json::parse(response->body))};
  }

  void expectStillServing() {
    auto net = connection();
    const auto result = net.call("GetParamFilial", {"0001"});
    EXPECT_TRUE(result.ok) << result.message;
  }

  TempDatabase database_;
  AppServer server_;
  int port_ = 0;
  std::string token_;
};

TEST_F(HttpEndpointTest, CallsGoThroughTheConnectionWithTheSessionsOperatorRecorded) {
  auto net = connection();
  const auto rows = net.call("GetServClie", {"0001", "00001", "JOSE"});
  ASSERT_TRUE(rows.ok) << rows.message;
  ASSERT_TRUE(rows.packet.has_value());
  EXPECT_EQ(rows.packet->rows.size(), 2u);

  ASSERT_TRUE(net.call("ProUpVrPrFixAut", {"0001", "00001", "C1", "N"}).ok);
  Database db(database_.path(), false);
  auto statement = db.prepare(
      "SELECT CDOPERALTSERVCLIE FROM SERVCLIE WHERE CDSERVFILI = '00001' AND CDCLIENTE = 'C2'");
  ASSERT_TRUE(statement.step());
  EXPECT_EQ(statement.text(0), "JOSE");

  auto costs = connection("rdmCustProd");
  const auto types = costs.call("GetListaTipoCusto", {});
  ASSERT_TRUE(types.ok) << types.message;
  EXPECT_EQ(types.packet->rows.size(), 2u);
}

TEST_F(HttpEndpointTest, MalformedRequestsGetAFailedCallResult) {
  const auto expectRefused = [&](const std::string& path, const std::string& body, int status,
                                 const char* expected) {
    const auto [code, result] = post(path, body);
    EXPECT_EQ(code, status) << path << " " << body;
    EXPECT_FALSE(result.ok);
    EXPECT_NE(result.message.find(expected), std::string::npos) << result.message;
  };
  expectRefused("/rdmClientesServico/GetServClie", "não é json", 400, "JSON válido");
  expectRefused("/rdmClientesServico/GetServClie", R"({"a":1})", 400, "lista JSON");
  expectRefused("/rdmClientesServico/GetServClie", R"([{"x":1}])", 400, "Argumento inválido");
  expectRefused("/rdmClientesServico/UpdServClie", R"([{"delta":{"fields":[]}}, "OP"])", 400,
                "changes");
  expectRefused("/rdmClientesServico/GetServClie", R"(["0001", 2, "OP"])", 200,
                "argumento 2 (CDSERVFILI) deve ser um texto");
  expectRefused("/rdmClientesServico/GetServClie", R"(["0001"])", 200, "espera 3");
  expectRefused("/rdmClientesServico/MetodoX", "[]", 404, "Método remoto desconhecido");
  expectRefused("/rdmCustProd/GetServClie", "[]", 404, "Método remoto desconhecido");
  expectRefused("/rdmClientesServico/GetParamFilial", "[\"" + std::string(5000, 'x') + "\"]", 413,
                "excede o limite de 4096 bytes");

  httplib::Client client("127.0.0.1", port_);
  const auto get = client.Get("/rdmClientesServico/GetParamFilial");
  ASSERT_TRUE(get);
  EXPECT_EQ(get->status, 404);
  EXPECT_FALSE(packet::callResultFromJson(nlohmann::json::parse(get->body)).ok);

  expectStillServing();
}

TEST_F(HttpEndpointTest, TwoServersShareOneDatabaseFile) {
  AppServer second(database_.path());
  host::TNetConnection other("rdmClientesServico");
  other.setPort(second.start());
  other.connect();
  auto net = connection();
  ASSERT_TRUE(other.call("ProUpVrPrFixAut", {"0001", "00001", "C1", "S"}).ok);
  const auto rows = net.call("GetServClie", {"0001", "00001", ""});
  ASSERT_TRUE(rows.ok);
  EXPECT_EQ(text(field(*rows.packet, 1, "IDVRPRFIXAUT")), "S");
}

TEST_F(HttpEndpointTest, StopEndsServingAndIsIdempotent) {
  auto net = connection();
  server_.stop();
  server_.stop();
  const auto result = net.call("GetParamFilial", {"0001"});
  EXPECT_FALSE(result.ok);
  EXPECT_THROW(AppServer(database_.path()).start("256.0.0.1", 0), std::runtime_error);
}

}  // namespace
}  // namespace server::testing
