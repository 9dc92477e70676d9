#include "shell/script/session.h"

#include <dlfcn.h>
#include <fmt/format.h>
#include <stdlib.h>

#include <filesystem>
#include <iostream>
#include <string_view>

#include "host/frm_principal.h"
#include "host/quendra.h"
#include "host/report_listing_engine.h"
#include "host/showavi.h"
#include "host/ui/regional.h"
#include "server/app_server.h"
#include "server/database_setup.h"
#include "server/operators.h"
#include "server/service.h"
#include "server/storage.h"
#include "shell/host_startup.h"
#include "shell/script/expectations.h"
#include "shell/script/host_settings.h"
#include "shell/script/lookup.h"

namespace script {

namespace {

std::string makeTempDir() {
  std::string pattern = (std::filesystem::temp_directory_path() / "cps-script-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr) {
    throw std::runtime_error("não foi possível criar a pasta temporária do roteiro");
  }
  return pattern;
}

}  // namespace

Session::Session(SessionOptions options)
    : options_(std::move(options)), transcript_(options_.quiet) {
  tempDir_ = makeTempDir();
  if (options_.databasePath.empty()) {
    databasePath_ = tempDir_ + "/clientes-servico.db";
    server::createDatabase(databasePath_, !options_.emptyDatabase);
  } else if (server::isMissingOrEmpty(options_.databasePath)) {
    std::filesystem::remove_all(tempDir_);
    throw std::runtime_error(
        fmt::format("o banco de dados {} não existe ou está vazio", options_.databasePath));
  } else {
    databasePath_ = options_.databasePath;
  }
  auto& context = Quendra::context();
  context.webURL = "127.0.0.1";
  context.databasePath = databasePath_;
  if (options_.runningServer) {
    context.webPort = options_.runningServer->port;
    context.operador = options_.runningServer->operatorCode;
    host::TNetConnection::setSessionToken(options_.runningServer->sessionToken);
  } else {
    server_ = std::make_unique<server::AppServer>(databasePath_);
    context.webPort = server_->start();
    shell::signInLocally(server_->service(), context.operador);
  }

  ui::application().setRunner(this);
  host::CriaPrincipal();
  ui::addChangeObserver(this);
  host::TNetConnection::setCallHook(this);
  host::installReportEngine(host::offlineReportEngineOptions(tempDir_));

  module_ = dlopen(options_.modulePath.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (module_ == nullptr) {
    throw std::runtime_error(
        fmt::format("não foi possível carregar o módulo {}: {}", options_.modulePath, dlerror()));
  }
}

Session::~Session() {
  // The forms go while the module and the server they use are still there; the camera's
  // renderer sees them go.
  ui::resetApplication();
  camera_.reset();
  host::TNetConnection::setCallHook(nullptr);
  ui::removeChangeObserver(this);
  if (server_) {
    shell::signOutLocally(server_->service());
    server_->stop();
  } else {
    host::TNetConnection::setSessionToken({});
  }
  std::error_code ignored;
  std::filesystem::remove_all(tempDir_, ignored);
}

void Session::print(const std::string& line) {
  transcript_.print(line);
}

void Session::failText(const std::string& message) {
  const std::string where = current_ != nullptr ? current_->where() + ": " : std::string();
  throw ScriptFailure{where + message};
}

int Session::run(const std::vector<Command>& commands) {
  try {
    runCommands(commands);
  } catch (const ScriptFailure& failure) {
    std::cout << failure.message << '\n' << std::flush;
    return 1;
  } catch (const std::exception& e) {
    const std::string where = current_ != nullptr ? current_->where() + ": " : std::string();
    std::cout << where << "error: " << e.what() << '\n' << std::flush;
    return 1;
  }
  return 0;
}

void Session::runCommands(const std::vector<Command>& commands) {
  for (const Command& command : commands)
    runCommand(command);
}

void Session::runCommand(const Command& command) {
  static const std::map<std::string_view, Verb> verbs = {
      {"expect", &Session::expect},
      {"host", &Session::hostSetting},
      {"sql", &Session::sql},
      {"fail", &Session::queueFailure},
      {"operator", &Session::registerOperator},
      {"modal", &Session::queueModal},
      {"answer", &Session::queueAnswer},
      {"print", &Session::printComponent},
  };
  const Command* outer = current_;
  current_ = &command;
  const auto found = verbs.find(command.verb());
  (this->*(found != verbs.end() ? found->second : &Session::act))(command);
  current_ = outer;
}

void Session::act(const Command& command) {
  runAction(command, *this);
  // Inside a modal block the user event that opened the dialog is still running: a closed
  // form goes only when it ends, as at the desktop.
  if (!ui::application().dispatching())
    ui::application().flushReleases();
}

void Session::expect(const Command& command) {
  runExpectation(command, transcript_);
}

void Session::hostSetting(const Command& command) {
  applyHostSetting(command, [this](const std::string& operatorCode) {
    if (!server_)
      failText("another operator signs in only at a server of this process");
    shell::signInLocally(server_->service(), operatorCode);
  });
}

void Session::sql(const Command& command) {
  std::optional<server::Database> db;
  try {
    db.emplace(databasePath_, false);
  } catch (const server::DbError&) {
    failText("cannot open the script's database");
  }
  try {
    // As any client of the database would: foreign keys are the server's own rule, not the
    // script's, so a script may rename a key across tables one statement at a time (on
    // PostgreSQL as a replica session, which keeps the row versions' triggers).
    db->exec(db->engine() == storage::Engine::Postgresql ? "SET session_replication_role = replica"
                                                         : "PRAGMA foreign_keys = OFF");
    db->exec(command.arg(1));
  } catch (const server::DbError& e) {
    fail(command, "the statement to run", std::string("SQL error: ") + e.what());
  }
}

void Session::queueFailure(const Command& command) {
  failures_[command.arg(1)].push_back(command.arg(2));
}

void Session::queueModal(const Command& command) {
  modalBlocks_.push_back({command.arg(1), &command.block});
}

void Session::queueAnswer(const Command& command) {
  const std::string& answer = command.arg(1);
  if (answer != "yes" && answer != "no")
    fail(command, "answer yes or no", answer);
  answers_.push_back(answer == "yes" ? ui::mrYes : ui::mrNo);
}

void Session::printComponent(const Command& command) {
  ui::Component* component = findComponent(command.arg(1));
  if (component == nullptr)
    fail(command, "a component named " + command.arg(1), "none");
  std::cout << describe(*component) << '\n' << std::flush;
}

void Session::registerOperator(const Command& command) {
  try {
    server::Database db(databasePath_, false);
    const std::string code = server::normalizeOperatorCode(command.arg(1));
    auto known = db.prepare("SELECT 1 FROM OPERADOR WHERE CDOPERADOR = ?");
    if (known.bind(1, code).step())
      server::resetPassword(db, code, command.arg(2), {});
    else
      server::addOperator(db, code, {}, command.arg(2), {});
  } catch (const std::exception& e) {
    fail(command, "an operator to register", e.what());
  }
}

void Session::openModule() {
  using EntryPoint = void (*)();
  auto* entry = reinterpret_cast<EntryPoint>(dlsym(module_, "IniProc"));
  if (entry == nullptr)
    failText("the module exports no IniProc");
  // The host fills the branch names from its database unless the script named them.
  auto& context = Quendra::context();
  if (context.nomeFiliProc.empty())
    context.nomeFiliProc = shell::lookUpBranchName(context.filiProc);
  if (context.nomeFiliProcFat.empty()) {
    context.nomeFiliProcFat = shell::lookUpBranchName(context.filiProcFat);
  }
  print("open");
  ui::application().dispatch([&] { entry(); });
}

void Session::screenshot(const Command& command) {
  if (!camera_) {
    if (!options_.camera)
      failText("screenshots need the desktop shell (clientes-servico script)");
    camera_ = options_.camera();
  }
  // A relative path is the script's neighbour, wherever the script is run from.
  std::filesystem::path path(command.arg(1));
  if (path.is_relative())
    path = std::filesystem::path(command.file).parent_path() / path;
  const std::string error = camera_->capture(path.string());
  if (!error.empty())
    fail(command, "a picture written to " + path.string(), error);
  print("screenshot " + path.string());
}

void Session::runModal(ui::Form& form) {
  print("modal " + form.name());
  if (modalBlocks_.empty() || modalBlocks_.front().form != form.name()) {
    failText("unexpected modal " + form.name());
  }
  const QueuedBlock block = modalBlocks_.front();
  modalBlocks_.pop_front();
  runCommands(*block.commands);
  if (form.modalResult() == ui::mrNone && form.visible()) {
    failText("the modal block of " + form.name() + " ends with the form still open");
  }
}

int Session::messageBox(ui::MessageKind kind, const std::string& text, ui::MessageButtons buttons) {
  std::string name = "info";
  if (kind == ui::MessageKind::Error)
    name = "error";
  if (kind == ui::MessageKind::Confirmation || buttons == ui::MessageButtons::YesNo) {
    name = "question";
  }
  print(fmt::format("message {} \"{}\"", name, text));
  transcript_.messages.push_back({name, text});
  if (name != "question")
    return ui::mrOk;
  if (answers_.empty())
    failText("unexpected question " + text);
  const int answer = answers_.front();
  answers_.pop_front();
  print(answer == ui::mrYes ? "answer yes" : "answer no");
  return answer;
}

std::optional<packet::CallResult> Session::before(const host::TNetConnection&,
                                                  const std::string& method,
                                                  const std::vector<packet::Arg>&) {
  auto it = failures_.find(method);
  if (it == failures_.end() || it->second.empty())
    return std::nullopt;
  packet::CallResult result;
  result.ok = false;
  result.message = it->second.front();
  it->second.pop_front();
  return result;
}

void Session::after(const host::TNetConnection&, const std::string& method,
                    const std::vector<packet::Arg>& args, const packet::CallResult& result) {
  Transcript::Call call{method, {}, result.ok};
  std::string line = "call " + method;
  for (const auto& arg : args) {
    // A password never reaches the transcript.
    const bool secret = method == "Login" && call.args.size() == 1;
    call.args.push_back(secret ? std::string("***") : argText(arg));
    line += " \"" + call.args.back() + "\"";
  }
  line += result.ok ? " -> ok" : " -> error \"" + result.message + "\"";
  print(line);
  transcript_.calls.push_back(std::move(call));
}

void Session::propertyChanged(ui::Component& component, ui::Property property) {
  // Each activation of the indicator is one notification with the state active; the count of
  // a long operation (Property::Text) shows only after a time, so it stays out of the run.
  if (&component != &Showavi::indicator() || property != ui::Property::Other)
    return;
  const auto& state = Showavi::state();
  if (!state.active)
    return;
  print(fmt::format("wait {} \"{}\"", state.kind, state.text));
  transcript_.waits.push_back({state.kind, state.text});
}

}  // namespace script
