#include "bench/scale_actions.h"

#include <fmt/format.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QMainWindow>
#include <QScrollBar>
#include <chrono>
#include <deque>
#include <fstream>
#include <iostream>
#include <memory>
#include <sstream>

#include "bench/scale_database.h"
#include "bench/scale_server.h"
#include "shell/host_startup.h"
#include "shell/qt/desktop.h"
#include "shell/script/session.h"

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

constexpr const char* kTimedMark = "@@ timed";
constexpr const char* kEndMark = "@@ end";

long residentKb() {
  std::ifstream statm("/proc/self/statm");
  long pages = 0;
  long resident = 0;
  statm >> pages >> resident;
  return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

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

bool inWindow(Action action) {
  return action == Action::LeaveFilterWindow || action == Action::ScrollWindow ||
         action == Action::MoveAllInWindow;
}

void settle() {
  for (int i = 0; i < 3; ++i) {
    QApplication::sendPostedEvents();
    QApplication::processEvents(QEventLoop::AllEvents);
  }
}

// Every item view of the window to its last row and back, painted at each end.
void scrollViews(QMainWindow& window) {
  for (QAbstractItemView* view : window.findChildren<QAbstractItemView*>()) {
    if (!view->isVisible())
      continue;
    view->scrollToBottom();
    view->viewport()->repaint();
    view->verticalScrollBar()->setValue(view->verticalScrollBar()->maximum() / 2);
    view->viewport()->repaint();
    view->scrollToTop();
    view->viewport()->repaint();
  }
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

ActionResult perform(Action action, const std::string& path, int clients,
                     ServerPlacement placement) {
  ActionResult result;
  script::SessionOptions options;
  options.modulePath = shell::defaultModulePath();
  options.databasePath = path;
  // Started first: the server's process is forked before this one has threads.
  std::unique_ptr<ServerProcess> server;
  if (placement == ServerPlacement::OwnProcess) {
    server = std::make_unique<ServerProcess>(path, kOperator);
    options.runningServer =
        script::SessionOptions::RunningServer{server->port(), server->sessionToken(), kOperator};
  }
  std::unique_ptr<QApplication> app;
  if (inWindow(action)) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "scale_bench";
    static char* argv[] = {name, nullptr};
    app = std::make_unique<QApplication>(argc, argv);
  }
  script::Session session(options);
  std::unique_ptr<shell::Desktop> desktop;
  if (app) {
    desktop = std::make_unique<shell::Desktop>(*app, shell::Desktop::Options{false});
    desktop->mainWindow().resize(1280, 1000);
    desktop->mainWindow().show();
  }
  const Scripts scripts = scriptsFor(action, clients);
  Parts parts(session);
  if (parts.run("setup", scripts.setup) != 0) {
    result.error = "the set-up failed";
    return result;
  }
  if (app)
    settle();
  result.rssBeforeKb = residentKb();
  std::cout << kTimedMark << std::endl;
  const auto start = Clock::now();
  const int timed = parts.run("action", scripts.timed);
  if (action == Action::ScrollWindow)
    scrollViews(desktop->mainWindow());
  if (app)
    settle();
  result.seconds = std::chrono::duration<double>(Clock::now() - start).count();
  std::cout << kEndMark << std::endl;
  result.rssKb = residentKb();
  result.anonymousKb = statusKb("RssAnon");
  result.peakKb = statusKb("VmHWM");
  if (server)
    result.serverRssKb = server->residentKb();
  if (timed != 0 || parts.run("check", scripts.check) != 0)
    result.error = "the action or its checks failed";
  return result;
}

std::map<std::string, int> callsBetweenMarks(const std::string& transcript) {
  std::ifstream in(transcript);
  std::map<std::string, int> calls;
  std::string line;
  bool timed = false;
  while (std::getline(in, line)) {
    if (line == kTimedMark)
      timed = true;
    else if (line == kEndMark)
      timed = false;
    else if (timed && line.rfind("call ", 0) == 0)
      ++calls[line.substr(5, line.find(' ', 5) - 5)];
  }
  return calls;
}

std::string lastFailure(const std::string& transcript) {
  std::ifstream in(transcript);
  std::string line;
  std::string failure;
  while (std::getline(in, line)) {
    if (line.find("expected") != std::string::npos || line.find("error") != std::string::npos)
      failure = line;
  }
  return failure;
}

}  // namespace

const char* actionName(Action action) {
  switch (action) {
    case Action::LeaveFilter:
      return "leave the filter";
    case Action::LeaveFilterWindow:
      return "leave the filter, window";
    case Action::ScrollWindow:
      return "scroll list and grid, window";
    case Action::MoveAllIn:
      return "move every client in";
    case Action::MoveAllInWindow:
      return "move every client in, window";
    case Action::ConfirmEdit:
      return "change one row, confirm";
  }
  return "";
}

ActionResult runAction(Action action, const std::string& databasePath, int clients,
                       ServerPlacement placement) {
  char transcript[] = "/tmp/cps-scale-transcript-XXXXXX";
  const int transcriptFd = mkstemp(transcript);
  int channel[2];
  if (transcriptFd < 0 || pipe(channel) != 0)
    return {0, 0, 0, 0, 0, 0, {}, "cannot start the run"};
  std::cout << std::flush;
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    dup2(transcriptFd, STDOUT_FILENO);
    ActionResult result;
    try {
      result = perform(action, databasePath, clients, placement);
    } catch (const std::exception& e) {
      result.error = e.what();
    }
    std::cout << std::flush;
    const std::string report =
        fmt::format("{} {} {} {} {} {}\n{}\n", result.seconds, result.rssKb, result.rssBeforeKb,
                    result.anonymousKb, result.peakKb, result.serverRssKb, result.error);
    ssize_t written = write(channel[1], report.data(), report.size());
    _exit(written == static_cast<ssize_t>(report.size()) ? 0 : 1);
  }
  close(channel[1]);
  const std::string report = readToEnd(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  close(transcriptFd);
  ActionResult result;
  std::istringstream in(report);
  in >> result.seconds >> result.rssKb >> result.rssBeforeKb >> result.anonymousKb >>
      result.peakKb >> result.serverRssKb;
  in.ignore();
  std::getline(in, result.error);
  if (report.empty() || !WIFEXITED(status) || WEXITSTATUS(status) != 0)
    result.error = "the run ended abnormally";
  if (!result.error.empty()) {
    const std::string failure = lastFailure(transcript);
    if (!failure.empty())
      result.error += ": " + failure;
  }
  result.calls = callsBetweenMarks(transcript);
  if (getenv("SCALE_BENCH_KEEP_TRANSCRIPTS") != nullptr)
    std::cerr << "transcript: " << transcript << '\n';
  else
    unlink(transcript);
  return result;
}

}  // namespace bench
