// clientes-servico: the host application of the module.
//
//   clientes-servico [options]                       the desktop window
//   clientes-servico script [--empty | --db FILE] [--quiet] FILE...   runs scripts headlessly
//                                                    (their screenshots render offscreen)
//   clientes-servico --screenshot FILE [options]     renders the main form to a PNG
#include <cxxopts.hpp>
#include <iostream>

#include "host/sign_in.h"
#include "server/app_server.h"
#include "shell/desktop_main.h"
#include "shell/host_startup.h"
#include "shell/script/run_scripts.h"

namespace {

int runScripts(int argc, char** argv) {
  cxxopts::Options options("clientes-servico script",
                           "Runs scripts against the module, each with a fresh database");
  options.add_options()("empty", "start each script with the schema only, no demo data")(
      "db", "run against this existing database instead of a fresh one (kept, with the changes)",
      cxxopts::value<std::string>())("quiet", "print failures only")("module", "the module library",
                                                                     cxxopts::value<std::string>())(
      "files", "script files", cxxopts::value<std::vector<std::string>>())("h,help", "help");
  options.parse_positional({"files"});
  options.positional_help("FILE...");
  const auto parsed = options.parse(argc, argv);
  if (parsed.count("help") || !parsed.count("files")) {
    std::cout << options.help() << '\n';
    return parsed.count("help") ? 0 : 2;
  }
  script::SessionOptions session;
  session.emptyDatabase = parsed.count("empty") > 0;
  if (parsed.count("db"))
    session.databasePath = parsed["db"].as<std::string>();
  session.quiet = parsed.count("quiet") > 0;
  session.modulePath =
      parsed.count("module") ? parsed["module"].as<std::string>() : shell::defaultModulePath();
  session.camera = shell::makeOffscreenCamera;
  return script::runScriptFiles(parsed["files"].as<std::vector<std::string>>(), session);
}

int runHost(int argc, char** argv) {
  cxxopts::Options options("clientes-servico", "Clientes por Serviço");
  shell::HostOptions host;
  options.add_options()("server",
                        "application server HOST:PORT or https://HOST:PORT (none: start one in "
                        "process)",
                        cxxopts::value<std::string>())(
      "ca", "PEM file of the certificate authorities to trust for an https server",
      cxxopts::value<std::string>())(
      "db",
      "the database the lookups read: a local SQLite file (created with demo data "
      "when missing) or the deployment's PostgreSQL URI",
      cxxopts::value<std::string>())("filial", "processing branch (FiliProc)",
                                     cxxopts::value<std::string>())("nome-filial", "its name",
                                                                    cxxopts::value<std::string>())(
      "filial-fat", "billing branch (FiliProcFat)", cxxopts::value<std::string>())(
      "nome-filial-fat", "its name", cxxopts::value<std::string>())(
      "modufili", "the branch cannot be changed (ModuFili)")(
      "operador", "operator code", cxxopts::value<std::string>()->default_value("OPERADOR"))(
      "data-proc", "processing date dd/mm/yyyy", cxxopts::value<std::string>())(
      "modulo", "active module code (ModuloAtiv)", cxxopts::value<int>()->default_value("0"))(
      "pict", "product-code picture", cxxopts::value<std::string>())(
      "screen", "screen size WxH", cxxopts::value<std::string>())("module", "the module library",
                                                                  cxxopts::value<std::string>())(
      "screenshot", "render the main form to this PNG and exit", cxxopts::value<std::string>())(
      "h,help", "help");
  const auto parsed = options.parse(argc, argv);
  if (parsed.count("help")) {
    std::cout << options.help()
              << "\nSubcommand: clientes-servico script [--empty | --db FILE] [--quiet] "
                 "FILE...\n";
    return 0;
  }
  auto text = [&](const char* name) -> std::optional<std::string> {
    if (!parsed.count(name))
      return std::nullopt;
    return parsed[name].as<std::string>();
  };
  host.server = text("server").value_or("");
  host.trustedCertificates = text("ca").value_or("");
  host.database = text("db").value_or(shell::defaultDatabasePath());
  host.filiProc = text("filial");
  host.nomeFiliProc = text("nome-filial");
  host.filiProcFat = text("filial-fat");
  host.nomeFiliProcFat = text("nome-filial-fat");
  host.moduFili = parsed.count("modufili") > 0;
  host.operador = parsed["operador"].as<std::string>();
  host.dataProc = text("data-proc").value_or("");
  host.moduloAtiv = parsed["modulo"].as<int>();
  if (auto pict = text("pict"))
    host.dbPict = *pict;
  if (auto screen = text("screen")) {
    const auto x = screen->find('x');
    try {
      host.screenWidth = std::stoi(screen->substr(0, x));
      host.screenHeight = std::stoi(screen->substr(x + 1));
    } catch (const std::exception&) {
      std::cerr << "Tamanho de tela inválido (use LxA, por exemplo 1280x1024): " << *screen << '\n';
      return 2;
    }
  }
  host.modulePath = text("module").value_or(shell::defaultModulePath());

  const auto embedded = shell::startHost(host);
  const auto entry = shell::loadModule(host.modulePath);
  int status = 0;
  if (auto screenshot = text("screenshot")) {
    status = shell::renderScreenshot(argc, argv, *screenshot, entry) ? 0 : 1;
  } else {
    status = shell::runDesktop(argc, argv, entry, !embedded);
  }
  if (embedded)
    shell::signOutLocally(embedded->service());
  else
    host::signOut();
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  try {
    if (argc > 1 && std::string(argv[1]) == "script")
      return runScripts(argc - 1, argv + 1);
    return runHost(argc, argv);
  } catch (const cxxopts::exceptions::exception& e) {
    std::cerr << e.what() << '\n';
    return 2;
  } catch (const std::exception& e) {
    std::cerr << e.what() << '\n';
    return 1;
  }
}
