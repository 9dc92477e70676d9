#include "shell/script/session.h"

#include <dlfcn.h>
#include <fmt/format.h>
#include <sqlite3.h>
#include <stdlib.h>

#include <filesystem>
#include <iostream>

#include "host/quendra.h"
#include "host/report_listing_engine.h"
#include "host/showavi.h"
#include "host/ui/regional.h"
#include "server/app_server.h"
#include "server/database_setup.h"
#include "server/operators.h"
#include "server/service.h"
#include "shell/host_startup.h"
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

Session::Session(SessionOptions options) : options_(std::move(options)) {
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
  server_ = std::make_unique<server::AppServer>(databasePath_);
  const int port = server_->start();

  auto& context = Quendra::context();
  context.webURL = "127.0.0.1";
  context.webPort = port;
  context.databasePath = databasePath_;
  shell::signInLocally(server_->service(), context.operador);

  ui::application().setRunner(this);
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
  }
  std::error_code ignored;
  std::filesystem::remove_all(tempDir_, ignored);
}

void Session::print(const std::string& line) {
  if (!options_.quiet)
    std::cout << line << '\n' << std::flush;
}

void Session::fail(const Command& command, const std::string& expected, const std::string& got) {
  throw ScriptFailure{fmt::format("{}: expected {}, got {}", command.where(), expected, got)};
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
  const Command* outer = current_;
  current_ = &command;
  const std::string& verb = command.verb();
  if (verb == "expect") {
    runExpectation(command);
  } else if (verb == "host" || verb == "sql" || verb == "fail" || verb == "operator") {
    setUp(command);
  } else if (verb == "modal") {
    modalBlocks_.push_back({command.arg(1), &command.block});
  } else if (verb == "answer") {
    const std::string& answer = command.arg(1);
    if (answer != "yes" && answer != "no")
      fail(command, "answer yes or no", answer);
    answers_.push_back(answer == "yes" ? ui::mrYes : ui::mrNo);
  } else if (verb == "print") {
    ui::Component* component = findComponent(command.arg(1));
    if (component == nullptr)
      fail(command, "a component named " + command.arg(1), "none");
    std::cout << describe(*component) << '\n' << std::flush;
  } else {
    runAction(command);
    // Inside a modal block the user event that opened the dialog is still running: a closed
    // form goes only when it ends, as at the desktop.
    if (!ui::application().dispatching())
      ui::application().flushReleases();
  }
  current_ = outer;
}

void Session::setUp(const Command& command) {
  const std::string& verb = command.verb();
  if (verb == "fail") {
    failures_[command.arg(1)].push_back(command.arg(2));
    return;
  }
  if (verb == "operator") {
    registerOperator(command);
    return;
  }
  if (verb == "sql") {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(databasePath_.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK) {
      sqlite3_close(db);
      failText("cannot open the script's database");
    }
    sqlite3_busy_timeout(db, 5000);
    char* error = nullptr;
    const int rc = sqlite3_exec(db, command.arg(1).c_str(), nullptr, nullptr, &error);
    const std::string message = error != nullptr ? error : "";
    sqlite3_free(error);
    sqlite3_close(db);
    if (rc != SQLITE_OK)
      fail(command, "the statement to run", "SQL error: " + message);
    return;
  }
  const std::string& name = command.arg(1);
  const std::string& value = command.arg(2);
  auto& context = Quendra::context();
  auto date = [&] {
    auto parsed = ui::regional::parseDate(value);
    if (!parsed)
      fail(command, "a date dd/mm/yyyy", value);
    return *parsed;
  };
  auto number = [&] {
    try {
      return std::stoi(value);
    } catch (const std::exception&) {
      fail(command, "a whole number", value);
    }
  };
  if (name == "FiliProc") {
    context.filiProc = value;
  } else if (name == "NomeFiliProc") {
    context.nomeFiliProc = value;
  } else if (name == "FiliProcFat") {
    context.filiProcFat = value;
  } else if (name == "NomeFiliProcFat") {
    context.nomeFiliProcFat = value;
  } else if (name == "ModuFili") {
    if (value != "true" && value != "false")
      fail(command, "true or false", value);
    context.moduFili = value == "true";
  } else if (name == "Operador") {
    shell::signInLocally(server_->service(), value);
  } else if (name == "DataProc") {
    context.dataProc = date();
  } else if (name == "Hoje") {
    ui::regional::setClockForTesting(date() + 0.5);
  } else if (name == "ModuloAtiv") {
    context.moduloAtiv = number();
  } else if (name == "ScreenWidth") {
    ui::application().screen().setSize(number(), ui::application().screen().height());
  } else if (name == "ScreenHeight") {
    ui::application().screen().setSize(ui::application().screen().width(), number());
  } else if (name == "DBPict") {
    context.dbPict = value;
  } else {
    fail(command,
         "a host setting (FiliProc, NomeFiliProc, FiliProcFat, NomeFiliProcFat, "
         "ModuFili, Operador, DataProc, Hoje, ModuloAtiv, ScreenWidth, ScreenHeight, "
         "DBPict)",
         name);
  }
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
  messages_.push_back({name, text});
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
  LoggedCall call{method, {}, result.ok};
  std::string line = "call " + method;
  for (const auto& arg : args) {
    // A password never reaches the transcript.
    const bool secret = method == "Login" && call.args.size() == 1;
    call.args.push_back(secret ? std::string("***") : argText(arg));
    line += " \"" + call.args.back() + "\"";
  }
  line += result.ok ? " -> ok" : " -> error \"" + result.message + "\"";
  print(line);
  calls_.push_back(std::move(call));
}

void Session::propertyChanged(ui::Component& component, ui::Property) {
  if (&component != &Showavi::indicator())
    return;
  // Each activation of the indicator is one notification with the state active.
  const auto& state = Showavi::state();
  if (!state.active)
    return;
  print(fmt::format("wait {} \"{}\"", state.kind, state.text));
  waits_.push_back({state.kind, state.text});
}

}  // namespace script
