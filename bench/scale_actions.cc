#include "bench/scale_actions.h"

#include <fmt/format.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QAbstractItemView>
#include <QApplication>
#include <QMainWindow>
#include <QScrollBar>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <vector>

#include "bench/scale_run.h"
#include "bench/scale_server.h"
#include "shell/qt/desktop.h"

namespace bench {

namespace {

bool inWindow(Action action) {
  return action == Action::LeaveFilterWindow || action == Action::ScrollWindow ||
         action == Action::MoveAllInWindow;
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

// The desktop window on the offscreen platform, mirroring the forms of the run.
class OffscreenWindow : public RunWindow {
 public:
  OffscreenWindow() {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    static int argc = 1;
    static char name[] = "scale_bench";
    static char* argv[] = {name, nullptr};
    app_ = std::make_unique<QApplication>(argc, argv);
  }
  void show() override {
    desktop_ = std::make_unique<shell::Desktop>(*app_, shell::Desktop::Options{false});
    desktop_->mainWindow().resize(1280, 1000);
    desktop_->mainWindow().show();
  }
  void settle() override {
    for (int i = 0; i < 3; ++i) {
      QApplication::sendPostedEvents();
      QApplication::processEvents(QEventLoop::AllEvents);
    }
  }
  void afterAction(Action action) override {
    if (action == Action::ScrollWindow)
      scrollViews(desktop_->mainWindow());
  }

 private:
  std::unique_ptr<QApplication> app_;
  std::unique_ptr<shell::Desktop> desktop_;
};

// The scale_client program next to this one.
std::string clientProgram() {
  std::error_code error;
  const std::filesystem::path self = std::filesystem::read_symlink("/proc/self/exe", error);
  return (self.parent_path() / "scale_client").string();
}

// The child's side of a run: a headless action runs in scale_client, started afresh; a run in
// the window runs here, in the fork of the benchmark, since it needs the desktop.
[[noreturn]] void runChild(Action action, const std::string& databasePath, int clients,
                           ServerPlacement placement, int reportFd) {
  ActionResult result;
  if (!inWindow(action)) {
    const std::string program = clientProgram();
    const std::vector<std::string> args = {program,
                                           std::to_string(static_cast<int>(action)),
                                           databasePath,
                                           std::to_string(clients),
                                           std::to_string(static_cast<int>(placement)),
                                           std::to_string(reportFd)};
    std::vector<char*> argv;
    for (const std::string& arg : args)
      argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    result.error = "cannot start " + program;
  } else {
    try {
      result = perform(action, databasePath, clients, placement,
                       [] { return std::make_unique<OffscreenWindow>(); });
    } catch (const std::exception& e) {
      result.error = e.what();
    }
  }
  std::cout << std::flush;
  const std::string report = reportText(result);
  const ssize_t written = write(reportFd, report.data(), report.size());
  _exit(written == static_cast<ssize_t>(report.size()) ? 0 : 1);
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
  if (transcriptFd < 0 || pipe(channel) != 0) {
    ActionResult failed;
    failed.error = "cannot start the run";
    return failed;
  }
  std::cout << std::flush;
  const pid_t child = fork();
  if (child == 0) {
    close(channel[0]);
    dup2(transcriptFd, STDOUT_FILENO);
    runChild(action, databasePath, clients, placement, channel[1]);
  }
  close(channel[1]);
  const std::string report = readToEnd(channel[0]);
  int status = 0;
  waitpid(child, &status, 0);
  close(transcriptFd);
  ActionResult result = parseReport(report);
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
