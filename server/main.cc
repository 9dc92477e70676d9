// appserver: the application server as a process.
//
//   appserver --init-db DB [--demo]                   creates a database (schema, optionally
//                                                     demo data)
//   appserver --db DB --port N [--host ADDR]          serves DB until SIGINT or SIGTERM; any
//             [--cert CERT --key KEY]                 address but loopback needs TLS; --log
//             [--log FILE|-]                          writes one line per call to FILE or to
//                                                     standard error (-)
//   appserver --db DB --upgrade-db                    brings an older schema up to date
//   appserver --db FILE --backup COPY                 a consistent copy of a live SQLite file
//   appserver --db DB --add-operator CODE [--name NAME]
//   appserver --db DB --reset-password CODE
//   appserver --db DB --disable-operator CODE | --enable-operator CODE
//
// DB is an SQLite file or a PostgreSQL connection URI or string ("postgresql://user@host/db").
//
// Passwords are asked on the terminal without echo (twice), or read as the first line of the
// standard input when it is not a terminal; never from the command line, where other local
// users could read them.
#include <fmt/format.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "server/app_server.h"
#include "server/database_setup.h"
#include "server/operators.h"

namespace {

constexpr const char* kUsage =
    "Uso:\n"
    "  appserver --init-db BANCO [--demo]\n"
    "  appserver --db BANCO --port PORTA [--host ENDERECO] [--cert CERTIFICADO --key CHAVE]\n"
    "            [--log ARQUIVO|-]\n"
    "  appserver --db BANCO --upgrade-db\n"
    "  appserver --db ARQUIVO --backup COPIA\n"
    "  appserver --db BANCO --add-operator CODIGO [--name NOME]\n"
    "  appserver --db BANCO --reset-password CODIGO\n"
    "  appserver --db BANCO --disable-operator CODIGO\n"
    "  appserver --db BANCO --enable-operator CODIGO\n"
    "BANCO: um arquivo SQLite, ou um banco PostgreSQL (postgresql://usuario@servidor/banco).\n";

const std::vector<std::string> kValued = {"--init-db",
                                          "--db",
                                          "--host",
                                          "--port",
                                          "--cert",
                                          "--key",
                                          "--name",
                                          "--add-operator",
                                          "--reset-password",
                                          "--disable-operator",
                                          "--enable-operator",
                                          "--backup"};
const std::vector<std::string> kOperatorCommands = {"--add-operator", "--reset-password",
                                                    "--disable-operator", "--enable-operator"};

struct Options {
  std::map<std::string, std::string> values;
  bool demo = false;
  bool upgrade = false;
  int port = -1;

  bool has(const std::string& name) const { return values.count(name) > 0; }
  std::string get(const std::string& name) const {
    const auto it = values.find(name);
    return it == values.end() ? std::string() : it->second;
  }
};

// Parses the command line; returns false (after printing why) when it makes no sense.
bool parse(const std::vector<std::string>& args, Options& options) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    if (arg == "--demo" || arg == "--upgrade-db") {
      if (arg == "--demo")
        options.demo = true;
      else
        options.upgrade = true;
      continue;
    }
    const bool valued = std::find(kValued.begin(), kValued.end(), arg) != kValued.end();
    if (!valued || i + 1 >= args.size() || options.has(arg)) {
      fmt::print(stderr, "Argumento inválido: {}\n", arg);
      return false;
    }
    options.values[arg] = args[++i];
  }
  if (options.has("--port")) {
    const std::string value = options.get("--port");
    char* end = nullptr;
    const long port = std::strtol(value.c_str(), &end, 10);
    if (value.empty() || *end != '\0' || port < 0 || port > 65535) {
      fmt::print(stderr, "Porta inválida: {}\n", value);
      return false;
    }
    options.port = static_cast<int>(port);
  }
  int commands =
      options.has("--init-db") + options.has("--port") + options.upgrade + options.has("--backup");
  for (const auto& command : kOperatorCommands)
    commands += options.has(command);
  if (commands != 1 || options.has("--init-db") == options.has("--db")) {
    fmt::print(stderr,
               "Informe --init-db, ou --db com --port, --upgrade-db, --backup ou um comando de "
               "operador.\n");
    return false;
  }
  if (options.has("--cert") != options.has("--key")) {
    fmt::print(stderr, "Informe --cert e --key juntos.\n");
    return false;
  }
  return true;
}

// One line of the standard input, without echo when it is a terminal.
std::string readSecretLine(const char* prompt) {
  const bool terminal = ::isatty(STDIN_FILENO) != 0;
  termios saved{};
  if (terminal) {
    fmt::print(stderr, "{}", prompt);
    tcgetattr(STDIN_FILENO, &saved);
    termios silent = saved;
    silent.c_lflag &= ~static_cast<tcflag_t>(ECHO);
    tcsetattr(STDIN_FILENO, TCSANOW, &silent);
  }
  std::string line;
  std::getline(std::cin, line);
  if (terminal) {
    tcsetattr(STDIN_FILENO, TCSANOW, &saved);
    fmt::print(stderr, "\n");
  }
  if (!line.empty() && line.back() == '\r')
    line.pop_back();
  return line;
}

std::string askNewPassword() {
  const std::string password = readSecretLine("Senha: ");
  if (::isatty(STDIN_FILENO) != 0 && readSecretLine("Confirme a senha: ") != password)
    throw server::OperatorError("As senhas digitadas não conferem; nada foi alterado.");
  return password;
}

int runOperatorCommand(const Options& options) {
  server::Database db(options.get("--db"), false);
  server::prepareForServing(db);
  const server::SignInPolicy policy;
  if (options.has("--add-operator")) {
    const std::string code = options.get("--add-operator");
    server::addOperator(db, code, options.get("--name"), askNewPassword(), policy);
    fmt::print("Operador {} cadastrado.\n", server::normalizeOperatorCode(code));
  } else if (options.has("--reset-password")) {
    const std::string code = options.get("--reset-password");
    server::resetPassword(db, code, askNewPassword(), policy);
    fmt::print("Senha do operador {} redefinida; as sessões abertas foram encerradas.\n",
               server::normalizeOperatorCode(code));
  } else {
    const bool enable = options.has("--enable-operator");
    const std::string code = options.get(enable ? "--enable-operator" : "--disable-operator");
    server::setOperatorActive(db, code, enable);
    fmt::print("Operador {} {}.\n", server::normalizeOperatorCode(code),
               enable ? "reativado" : "desativado; as sessões abertas foram encerradas");
  }
  return EXIT_SUCCESS;
}

int upgrade(const Options& options) {
  server::Database db(options.get("--db"));
  const auto result = server::upgradeDatabase(db);
  if (result.from == result.to)
    fmt::print("O esquema do banco de dados {} já está na versão {}.\n", db.name(), result.to);
  else
    fmt::print("Esquema do banco de dados {} atualizado da versão {} para a {}.\n", db.name(),
               result.from, result.to);
  return EXIT_SUCCESS;
}

int serve(const Options& options) {
  // Block the stop signals before any thread starts, so only sigwait below receives them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  server::AppServerOptions serverOptions;
  serverOptions.certificateFile = options.get("--cert");
  serverOptions.privateKeyFile = options.get("--key");
  if (options.has("--log"))
    serverOptions.requestLog = server::RequestLog::open(options.get("--log"));
  server::AppServer appServer(options.get("--db"), serverOptions);
  const std::string host = options.has("--host") ? options.get("--host") : "127.0.0.1";
  const int port = appServer.start(host, options.port);
  fmt::print("Servidor de aplicação em {}://{}:{} (banco {})\n",
             serverOptions.certificateFile.empty() ? "http" : "https", host, port,
             storage::displayName(options.get("--db")));
  std::fflush(stdout);
  int signal = 0;
  sigwait(&stopSignals, &signal);
  appServer.stop();
  return EXIT_SUCCESS;
}

}  // namespace

int main(int argc, char** argv) {
  Options options;
  if (!parse(std::vector<std::string>(argv + 1, argv + argc), options)) {
    fmt::print(stderr, "{}", kUsage);
    return 2;
  }
  try {
    if (options.has("--init-db")) {
      server::createDatabase(options.get("--init-db"), options.demo);
      fmt::print("Banco de dados criado: {}{}\n", storage::displayName(options.get("--init-db")),
                 options.demo ? " (com dados de demonstração)" : "");
      return EXIT_SUCCESS;
    }
    if (options.has("--port"))
      return serve(options);
    if (options.upgrade)
      return upgrade(options);
    if (options.has("--backup")) {
      server::backupDatabase(options.get("--db"), options.get("--backup"));
      fmt::print("Cópia do banco de dados gravada em {}\n", options.get("--backup"));
      return EXIT_SUCCESS;
    }
    return runOperatorCommand(options);
  } catch (const std::exception& e) {
    fmt::print(stderr, "{}\n", e.what());
    return EXIT_FAILURE;
  }
}
