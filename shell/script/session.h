// Session: one script run against the real module, a fresh database (or one the caller names)
// and its own application server on loopback.
//
// The session installs itself as the toolkit's runner (modal runs execute the commands queued
// by `modal FORM ... end`; confirmation boxes take the answers queued by `answer`), as the
// connection's call hook (every remote call is logged; `fail` makes the next call of a method
// fail) and as a change observer (every wait indicator is logged). Actions go through the
// event dispatcher exactly as a user's would. `screenshot` asks the host's camera for a
// picture; the renderer it starts only watches, the session stays the runner. The first expectation
// that fails ends the run with "FILE:LINE: expected ..., got ...".
#pragma once

#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "host/net_connection.h"
#include "host/ui/application.h"
#include "host/ui/component.h"
#include "shell/script/actions.h"
#include "shell/script/camera.h"
#include "shell/script/failure.h"
#include "shell/script/script.h"
#include "shell/script/transcript.h"

namespace server {
class AppServer;
}

namespace script {

struct SessionOptions {
  std::string modulePath;      // the module's shared library
  bool emptyDatabase = false;  // schema only, no demo data
  // An existing database to run against instead of a fresh one; it is kept afterwards, with
  // whatever the script changed in it.
  std::string databasePath;
  bool quiet = false;  // print failures only
  // An application server already running on loopback, in a process of its own as in a
  // deployment, to call instead of starting one in this process: its port, and a session it
  // opened for the operator. The database above must be the one it serves. Signing another
  // operator in (`host Operador`) needs the server in this process.
  struct RunningServer {
    int port = 0;
    std::string sessionToken;
    std::string operatorCode;
  };
  std::optional<RunningServer> runningServer;
  // Makes the camera at the first `screenshot`; without one the command fails.
  std::function<std::unique_ptr<Camera>()> camera;
};

class Session : public ui::Runner,
                public host::CallHook,
                public ui::ChangeObserver,
                private ActionDelegate {
 public:
  explicit Session(SessionOptions options);
  ~Session() override;

  // Runs the commands; returns 0 when every expectation holds, 1 otherwise (after printing the
  // failure).
  int run(const std::vector<Command>& commands);

  // ui::Runner
  void runModal(ui::Form& form) override;
  int messageBox(ui::MessageKind kind, const std::string& text,
                 ui::MessageButtons buttons) override;

  // host::CallHook
  std::optional<packet::CallResult> before(const host::TNetConnection& connection,
                                           const std::string& method,
                                           const std::vector<packet::Arg>& args) override;
  void after(const host::TNetConnection& connection, const std::string& method,
             const std::vector<packet::Arg>& args, const packet::CallResult& result) override;

  // ui::ChangeObserver
  void propertyChanged(ui::Component& component, ui::Property property) override;

 private:
  struct QueuedBlock {
    std::string form;
    const std::vector<Command>* commands;
  };
  using Verb = void (Session::*)(const Command& command);

  void runCommands(const std::vector<Command>& commands);
  void runCommand(const Command& command);
  // The verbs that are neither actions nor expectations.
  void expect(const Command& command);
  void hostSetting(const Command& command);
  void sql(const Command& command);
  void queueFailure(const Command& command);
  // `operator CODE "PASSWORD"`: registers the operator, or gives it that password.
  void registerOperator(const Command& command);
  void queueModal(const Command& command);
  void queueAnswer(const Command& command);
  void printComponent(const Command& command);
  void act(const Command& command);

  // ActionDelegate
  void openModule() override;
  void screenshot(const Command& command) override;
  void print(const std::string& line) override;

  [[noreturn]] void failText(const std::string& message);

  SessionOptions options_;
  std::string tempDir_;
  std::string databasePath_;
  std::unique_ptr<server::AppServer> server_;
  void* module_ = nullptr;
  std::unique_ptr<Camera> camera_;
  const Command* current_ = nullptr;

  Transcript transcript_;
  std::deque<int> answers_;
  std::deque<QueuedBlock> modalBlocks_;
  std::map<std::string, std::deque<std::string>> failures_;
};

}  // namespace script
