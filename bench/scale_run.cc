#include "bench/scale_run.h"

#include <fmt/format.h>
#include <unistd.h>

#include <chrono>
#include <deque>
#include <fstream>
#include <iostream>
#include <sstream>

#include "bench/scale_server.h"
#include "shell/host_startup.h"
#include "shell/script/session.h"

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kOperator = "OPERADOR";

// A figure in kB of /proc/self/status: "RssAnon" is the resident pages that are the process's
// own data (its heap and anonymous mappings, not the code of the program and its libraries),
// "VmHWM" the most the process has held resident.
long statusKb(const std::string& name) {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line)) {
    if (line.rfind(name + ":", 0) == 0)
      return std::stol(line.substr(name.size() + 1));
  }
  return 0;
}

const char* const kOpen =
    "host Hoje 15/03/2026\n"
    "open\n"
    "type medCdFilial \"0001\"\n"
    "type medCdServico \"00001\"\n";

struct Scripts {
  std::string setup;
  std::string timed;
  std::string check;
};

Scripts scriptsFor(Action action, int clients) {
  const std::string loaded = fmt::format(
      "expect count cdsServClie {0}\nexpect items lsbPossiveis {0}\nexpect items lsbCdPossiveis "
      "{0}\n",
      clients);
  switch (action) {
    case Action::LeaveFilter:
    case Action::LeaveFilterWindow:
      return {kOpen, "focus lsbPossiveis\n", loaded};
    case Action::ScrollWindow:
      return {std::string(kOpen) + "focus lsbPossiveis\n" + loaded, "", loaded};
    case Action::MoveAllIn:
    case Action::MoveAllInWindow:
      // Leaving the filter puts the focus on the grid; the batch starts from the list.
      return {std::string(kOpen) + "focus lsbPossiveis\n" + loaded + "focus lsbPossiveis\n" +
                  "modal frmDtValidade\n"
                  "  type depDataIni \"01/04/2026\"\n"
                  "  type nedVrSevico \"2750,5\"\n"
                  "  click sbtConfirma\n"
                  "end\n",
              "click sbtTodos\n",
              fmt::format("expect no-message\nexpect count cdsServClie {}\nexpect items "
                          "lsbPossiveis 0\n",
                          2 * clients)};
    case Action::ConfirmEdit:
      return {std::string(kOpen) + "focus dbgPadrao\n" + loaded +
                  fmt::format("row dbgPadrao {}\n", clients / 2),
              "click sbtAlterar\n"
              "col dbgPadrao DSEMISSERCLI\n"
              "type dbgPadrao \"Portaria 24 horas\"\n"
              "click sbtConfirmar\n",
              "expect no-message\n"
              "expect state cdsServClie browse\n"
              "expect field cdsServClie DSEMISSERCLI \"Portaria 24 horas\"\n" +
                  fmt::format("expect count cdsServClie {}\n", clients)};
  }
  return {};
}

// Runs a part of the action's script. The session keeps pointers into the commands (a modal
// block queued for later), so every part lives as long as the session.
class Parts {
 public:
  explicit Parts(script::Session& session) : session_(session) {}
  int run(const std::string& name, const std::string& text) {
    parts_.push_back(script::parseScript(name, text));
    return session_.run(parts_.back());
  }

 private:
  script::Session& session_;
  std::deque<std::vector<script::Command>> parts_;
};

}  // namespace

ActionResult perform(Action action, const std::string& databasePath, int clients,
                     ServerPlacement placement,
                     const std::function<std::unique_ptr<RunWindow>()>& makeWindow) {
  ActionResult result;
  result.startKb = residentKbOf(getpid());
  auto dumpSmaps = [](const char* suffix) {
    if (const char* dump = getenv("SMAPS_DUMP")) {
      std::ifstream in("/proc/self/smaps");
      std::ofstream out(std::string(dump) + suffix);
      out << in.rdbuf();
    }
  };
  dumpSmaps(".start");
  script::SessionOptions options;
  options.modulePath = shell::defaultModulePath();
  options.databasePath = databasePath;
  // Started first: the server's process is forked before this one has threads.
  std::unique_ptr<ServerProcess> server;
  if (placement == ServerPlacement::OwnProcess) {
    server = std::make_unique<ServerProcess>(databasePath, kOperator);
    options.runningServer =
        script::SessionOptions::RunningServer{server->port(), server->sessionToken(), kOperator};
  }
  std::unique_ptr<RunWindow> window = makeWindow ? makeWindow() : nullptr;
  script::Session session(options);
  if (window)
    window->show();
  const Scripts scripts = scriptsFor(action, clients);
  Parts parts(session);
  if (parts.run("setup", scripts.setup) != 0) {
    result.error = "the set-up failed";
    return result;
  }
  if (window)
    window->settle();
  result.rssBeforeKb = residentKbOf(getpid());
  dumpSmaps(".before");
  std::cout << kTimedMark << std::endl;
  const auto start = Clock::now();
  const int timed = parts.run("action", scripts.timed);
  if (window) {
    window->afterAction(action);
    window->settle();
  }
  result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::cout << kEndMark << std::endl;
  result.rssKb = residentKbOf(getpid());
  result.anonymousKb = statusKb("RssAnon");
  result.peakKb = statusKb("VmHWM");
  dumpSmaps(".after");
  if (server)
    result.serverRssKb = server->residentKb();
  if (timed != 0 || parts.run("check", scripts.check) != 0)
    result.error = "the action or its checks failed";
  return result;
}

std::string reportText(const ActionResult& result) {
  return fmt::format("{} {} {} {} {} {} {}\n{}\n", result.seconds, result.rssKb, result.rssBeforeKb,
                     result.startKb, result.anonymousKb, result.peakKb, result.serverRssKb,
                     result.error);
}

ActionResult parseReport(const std::string& text) {
  ActionResult result;
  std::istringstream in(text);
  in >> result.seconds >> result.rssKb >> result.rssBeforeKb >> result.startKb >>
      result.anonymousKb >> result.peakKb >> result.serverRssKb;
  in.ignore();
  std::getline(in, result.error);
  return result;
}

}  // namespace bench
