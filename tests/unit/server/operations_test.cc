// What operations see of a running server: the request log's lines and the health route.
#include <gtest/gtest.h>
#include <httplib.h>

#include <fstream>
#include <optional>
#include <regex>
#include <string>
#include <vector>

#include "server/app_server.h"
#include "server_fixture.h"

namespace server::testing {
namespace {

class OperationsTest : public ::testing::Test {
 protected:
  OperationsTest() : logPath_(database_.directory() + "/chamadas.log") {
    AppServerOptions options;
    options.requestLog = RequestLog::open(logPath_);
    server_.emplace(database_.path(), options);
    port_ = server_->start();
  }

  int post(const std::string& path, const std::string& token, const std::string& body) {
    httplib::Client client("127.0.0.1", port_);
    const auto response =
        client.Post(path.c_str(), {{"Authorization", "Bearer " + token}}, body, "application/json");
    return response ? response->status : 0;
  }

  std::vector<std::string> logLines() {
    std::ifstream in(logPath_);
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);)
      lines.push_back(line);
    return lines;
  }

  TempDatabase database_;
  std::string logPath_;
  std::optional<AppServer> server_;
  int port_ = 0;
};

TEST_F(OperationsTest, EveryCallIsOneLineWithOperatorMethodDurationAndOutcome) {
  const std::string token = server_->service().openLocalSession("jose").token;
  EXPECT_EQ(post("/rdmClientesServico/GetParamFilial", token, R"(["0001"])"), 200);
  EXPECT_EQ(post("/rdmClientesServico/GetParamFilial", token, R"([1, 2, 3])"), 200);
  EXPECT_EQ(post("/rdmClientesServico/GetParamFilial", "falsa", R"(["0001"])"), 401);
  EXPECT_EQ(post("/rdmClientesServico/GetParamFilial", token, "[\"0001\"\n"), 400);

  const auto lines = logLines();
  ASSERT_EQ(lines.size(), 4u);
  // 2026-12-09T14:03:07.412Z JOSE rdmClientesServico.GetParamFilial 1.2ms ok
  const std::regex okLine(
      R"(^\d{4}-\d\d-\d\dT\d\d:\d\d:\d\d\.\d{3}Z JOSE rdmClientesServico\.GetParamFilial \d+\.\dms ok$)");
  EXPECT_TRUE(std::regex_match(lines[0], okLine)) << lines[0];
  EXPECT_NE(lines[1].find(" JOSE rdmClientesServico.GetParamFilial "), std::string::npos);
  EXPECT_NE(lines[1].find("ms recusada \""), std::string::npos) << lines[1];
  EXPECT_NE(lines[2].find(" - rdmClientesServico.GetParamFilial "), std::string::npos);
  EXPECT_NE(lines[2].find("ms sem sessão"), std::string::npos) << lines[2];
  EXPECT_NE(lines[3].find("ms recusada \"O corpo da requisição não é um JSON válido.\""),
            std::string::npos)
      << lines[3];
}

TEST_F(OperationsTest, TheHealthRouteAnswersWithoutASessionWhileTheDatabaseAnswers) {
  httplib::Client client("127.0.0.1", port_);
  const auto response = client.Get("/saude");
  ASSERT_TRUE(response);
  EXPECT_EQ(response->status, 200);
  EXPECT_NE(response->body.find("\"ok\""), std::string::npos) << response->body;
}

}  // namespace
}  // namespace server::testing
