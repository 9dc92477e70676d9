// appserver: the application server as a process.
//
//   appserver --init-db FILE [--demo]          creates a database (schema, optionally demo data)
//   appserver --db FILE --port N [--host ADDR] serves FILE until SIGINT or SIGTERM
#include <fmt/format.h>

#include <csignal>
#include <cstdlib>
#include <exception>
#include <string>
#include <vector>

#include "server/app_server.h"
#include "server/database_setup.h"

namespace {

constexpr const char* kUsage =
    "Uso:\n"
    "  appserver --init-db ARQUIVO [--demo]\n"
    "  appserver --db ARQUIVO --port PORTA [--host ENDERECO]\n";

struct Options {
  std::string initDb;
  bool demo = false;
  std::string db;
  std::string host = "127.0.0.1";
  int port = -1;
};

// Parses the command line; returns false (after printing why) when it makes no sense.
bool parse(const std::vector<std::string>& args, Options& options) {
  for (size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    const bool hasValue = i + 1 < args.size();
    if (arg == "--demo") {
      options.demo = true;
    } else if ((arg == "--init-db" || arg == "--db" || arg == "--host" || arg == "--port") &&
               hasValue) {
      const std::string& value = args[++i];
      if (arg == "--init-db")
        options.initDb = value;
      if (arg == "--db")
        options.db = value;
      if (arg == "--host")
        options.host = value;
      if (arg == "--port") {
        char* end = nullptr;
        const long port = std::strtol(value.c_str(), &end, 10);
        if (*end != '\0' || port < 0 || port > 65535) {
          fmt::print(stderr, "Porta inválida: {}\n", value);
          return false;
        }
        options.port = static_cast<int>(port);
      }
    } else {
      fmt::print(stderr, "Argumento inválido: {}\n", arg);
      return false;
    }
  }
  if (options.initDb.empty() == (options.db.empty() || options.port < 0)) {
    fmt::print(stderr, "Informe --init-db, ou --db com --port.\n");
    return false;
  }
  return true;
}

int serve(const Options& options) {
  // Block the stop signals before any thread starts, so only sigwait below receives them.
  sigset_t stopSignals;
  sigemptyset(&stopSignals);
  sigaddset(&stopSignals, SIGINT);
  sigaddset(&stopSignals, SIGTERM);
  pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);

  server::AppServer appServer(options.db);
  const int port = appServer.start(options.host, options.port);
  fmt::print("Servidor de aplicação em http://{}:{} (banco {})\n", options.host, port, options.db);
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
    if (!options.initDb.empty()) {
      server::createDatabase(options.initDb, options.demo);
      fmt::print("Banco de dados criado: {}{}\n", options.initDb,
                 options.demo ? " (com dados de demonstração)" : "");
      return EXIT_SUCCESS;
    }
    return serve(options);
  } catch (const std::exception& e) {
    fmt::print(stderr, "{}\n", e.what());
    return EXIT_FAILURE;
  }
}
