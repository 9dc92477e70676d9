// The script driver's own verbs, as docs/scripts.md states them: what `sql` and `host` do, and
// how a run ends on a wrong statement, setting, verb or expectation.
#include "shell/script/session.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <optional>
#include <string>

#include "host/process_state.h"
#include "host/quendra.h"
#include "host/ui/application.h"
#include "host/ui/regional.h"
#include "server/app_server.h"
#include "server/database_setup.h"
#include "server/service.h"
#include "server/storage.h"
#include "shell/host_startup.h"

namespace script {
namespace {

class SessionTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = std::filesystem::temp_directory_path() /
              ("cps-script-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(folder_);
    std::filesystem::create_directories(folder_);
    database_ = (folder_ / "cps.db").string();
    server::createDatabase(database_, true);
  }
  void TearDown() override {
    host::processState().reset();
    std::filesystem::remove_all(folder_);
  }

  // Runs `text` as the script "run.script" against the test's database; keeps what it printed.
  // With `running`, the session calls that server instead of starting its own.
  int run(const std::string& text,
          std::optional<SessionOptions::RunningServer> running = std::nullopt) {
    SessionOptions options;
    options.modulePath = shell::defaultModulePath();
    options.databasePath = database_;
    options.quiet = true;
    options.runningServer = std::move(running);
    const auto commands = parseScript("run.script", text);
    ::testing::internal::CaptureStdout();
    int status = 1;
    {
      Session session(options);
      status = session.run(commands);
    }
    printed = ::testing::internal::GetCapturedStdout();
    return status;
  }

  std::string clientOf(const std::string& table) {
    server::Database db(database_, false);
    auto row = db.prepare("SELECT CDCLIENTE FROM " + table + " WHERE CDCLIENTE LIKE 'cli-%'");
    return row.step() ? row.text(0) : "none";
  }

  std::string printed;

 protected:
  std::filesystem::path folder_;
  std::string database_;
};

TEST_F(SessionTest, SqlRenamesAKeyAcrossTablesOneStatementAtATime) {
  // Each statement alone breaks a reference the next one mends.
  EXPECT_EQ(run("sql \"UPDATE CLIENTE SET CDCLIENTE = 'cli-lapa' WHERE CDCLIENTE = '101853'\"\n"
                "sql \"UPDATE CLIENTEFILIAL SET CDCLIENTE = 'cli-lapa' "
                "WHERE CDCLIENTE = '101853'\"\n"),
            0)
      << printed;
  EXPECT_EQ(clientOf("CLIENTE"), "cli-lapa");
  EXPECT_EQ(clientOf("CLIENTEFILIAL"), "cli-lapa");
}

TEST_F(SessionTest, AFailedStatementEndsTheRunWithTheDatabasesReason) {
  EXPECT_EQ(run("sql \"SELECT 1\"\nsql \"INSERT INTO NOWHERE VALUES (1)\"\nsql \"SELECT 2\"\n"), 1);
  EXPECT_NE(printed.find("run.script:2: expected the statement to run, got SQL error: "),
            std::string::npos)
      << printed;
  EXPECT_NE(printed.find("NOWHERE"), std::string::npos) << printed;
}

TEST_F(SessionTest, HostSettingsReachTheWorkingContextAndRefuseWrongValues) {
  EXPECT_EQ(run("host DataProc 01/02/2026\nhost ModuloAtiv 36\nhost ModuFili true\n"
                "host FiliProc 0003\n"),
            0)
      << printed;
  EXPECT_EQ(Quendra::context().dataProc, ui::regional::encodeDate(2026, 2, 1));
  EXPECT_EQ(Quendra::context().moduloAtiv, 36);
  EXPECT_TRUE(Quendra::context().moduFili);
  EXPECT_EQ(Quendra::context().filiProc, "0003");

  EXPECT_EQ(run("host ModuFili maybe\n"), 1);
  EXPECT_EQ(printed, "run.script:1: expected true or false, got maybe\n");
  EXPECT_EQ(run("host DataProc 31/02/2026\n"), 1);
  EXPECT_EQ(printed, "run.script:1: expected a date dd/mm/yyyy, got 31/02/2026\n");
  EXPECT_EQ(run("host Colour red\n"), 1);
  EXPECT_NE(printed.find("run.script:1: expected a host setting (FiliProc, "), std::string::npos)
      << printed;
}

TEST_F(SessionTest, UnknownVerbsAndExpectationsAndMissingControlsAreNamed) {
  EXPECT_EQ(run("frobnicate now\n"), 1);
  EXPECT_EQ(printed, "run.script:1: error: run.script:1: unknown command 'frobnicate'\n");
  EXPECT_EQ(run("expect nothing at-all\n"), 1);
  EXPECT_EQ(printed, "run.script:1: error: run.script:1: unknown expectation 'nothing'\n");
  EXPECT_EQ(run("click sbtNowhere\n"), 1);
  EXPECT_EQ(printed, "run.script:1: expected a control or menu item named sbtNowhere, got none\n");
  EXPECT_EQ(run("expect items lsbNowhere 0\n"), 1);
  EXPECT_EQ(printed, "run.script:1: expected a list box named lsbNowhere, got none\n");
  EXPECT_EQ(run("answer maybe\n"), 1);
  EXPECT_EQ(printed, "run.script:1: expected answer yes or no, got maybe\n");
}

TEST_F(SessionTest, ExpectationsOfMessagesAndCallsFailWhenNothingHappened) {
  EXPECT_EQ(run("expect no-message\nexpect no-call GetServClie\nexpect cursor default\n"), 0)
      << printed;
  EXPECT_EQ(run("expect message error \"Filial não cadastrada.\"\n"), 1);
  EXPECT_EQ(printed,
            "run.script:1: expected message error \"Filial não cadastrada.\", got no message\n");
  EXPECT_EQ(run("expect call GetServClie \"0001\" *\n"), 1);
  EXPECT_EQ(printed,
            "run.script:1: expected call GetServClie \"0001\" \"*\", got no call of "
            "GetServClie\n");
}

// The module is opened once in this process (its units keep their state while it is loaded).
TEST_F(SessionTest, ARunningServerIsCalledWithTheSessionItOpened) {
  server::AppServer running(database_);
  const SessionOptions::RunningServer maria{
      running.start(), running.service().openLocalSession("maria").token, "MARIA"};
  // The server refuses calls without a session it opened, so rows reach the grid only through
  // that session.
  EXPECT_EQ(run("open\ntype medCdFilial \"0001\"\ntype medCdServico \"00004\"\n"
                "focus dbgPadrao\nexpect no-message\n"
                "expect field cdsServClie CDCLIENTE \"101915\"\n",
                maria),
            0)
      << printed;
  EXPECT_EQ(Quendra::context().operador, "MARIA");

  EXPECT_EQ(run("host Operador joao\n", maria), 1);
  EXPECT_EQ(printed, "run.script:1: another operator signs in only at a server of this process\n");
  running.stop();
}

}  // namespace
}  // namespace script
