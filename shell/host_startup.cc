#include "shell/host_startup.h"

#include <dlfcn.h>
#include <fmt/format.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "host/db/sql_query.h"
#include "host/dtm_db_geral.h"
#include "host/net_connection.h"
#include "host/quendra.h"
#include "host/report_listing_engine.h"
#include "host/ui/application.h"
#include "host/ui/regional.h"
#include "server/app_server.h"
#include "server/database_setup.h"
#include "server/service.h"
#include "storage/database.h"

namespace shell {

namespace fs = std::filesystem;

std::string defaultDatabasePath() {
  const char* dataHome = std::getenv("XDG_DATA_HOME");
  const char* home = std::getenv("HOME");
  fs::path base = dataHome != nullptr && *dataHome != '\0'
                      ? fs::path(dataHome)
                      : fs::path(home != nullptr ? home : ".") / ".local" / "share";
  return (base / "clientes-servico" / "clientes-servico.db").string();
}

std::string defaultModulePath() {
  std::error_code error;
  const fs::path exe = fs::read_symlink("/proc/self/exe", error);
  const fs::path dir = error ? fs::current_path() : exe.parent_path();
  return (dir.parent_path() / "lib" / "libclientes_servico.so").string();
}

std::string lookUpBranchName(const std::string& code) {
  try {
    db::SqlQuery query("qryNomeFilial", &dtmDBGeral::adcGeral());
    query.setSql({"SELECT NMFILIAL FROM FILIAL WHERE CDFILIAL = :P_CDFILIAL"});
    query.addField("NMFILIAL", packet::FieldType::Text, 30);
    query.setParam("P_CDFILIAL", code);
    query.open();
    return query.isEmpty() ? std::string() : query.fieldByName("NMFILIAL").asString();
  } catch (const std::exception&) {
    return {};
  }
}

std::unique_ptr<server::AppServer> startHost(const HostOptions& options) {
  auto& context = Quendra::context();
  context.databasePath = options.database;
  context.moduFili = options.moduFili;
  context.operador = options.operador;
  context.moduloAtiv = options.moduloAtiv;
  context.dbPict = options.dbPict;
  if (!options.dataProc.empty()) {
    auto date = ui::regional::parseDate(options.dataProc);
    if (!date)
      throw std::runtime_error("Data de processamento inválida: " + options.dataProc);
    context.dataProc = *date;
  }
  ui::application().screen().setSize(options.screenWidth, options.screenHeight);
  host::installReportEngine();

  std::unique_ptr<server::AppServer> embedded;
  if (options.server.empty()) {
    if (server::isMissingOrEmpty(options.database)) {
      // The folder of a database the host makes is the user's alone, like the file.
      const fs::path folder = fs::path(options.database).parent_path();
      if (!folder.empty() && fs::create_directories(folder))
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::replace);
      server::createDatabase(options.database, true);
    }
    embedded = std::make_unique<server::AppServer>(options.database);
    context.webURL = "127.0.0.1";
    context.webPort = embedded->start();
    signInLocally(embedded->service(), options.operador);
  } else {
    const auto colon = options.server.rfind(':');
    if (colon == std::string::npos) {
      throw std::runtime_error("Endereço do servidor deve ser HOST:PORTA: " + options.server);
    }
    context.webURL = options.server.substr(0, colon);
    host::TNetConnection::setTrustedCertificates(options.trustedCertificates);
    try {
      context.webPort = std::stoi(options.server.substr(colon + 1));
    } catch (const std::exception&) {
      throw std::runtime_error("Porta do servidor inválida: " + options.server);
    }
    // The registers the forms look up are read from the deployment's database: on PostgreSQL
    // the one the servers use, reached directly; else a local copy of them.
    if (!storage::isPostgresqlName(options.database) && !fs::exists(options.database)) {
      throw std::runtime_error("Banco de dados local não encontrado: " + options.database);
    }
  }

  context.filiProc = options.filiProc.value_or("0001");
  context.filiProcFat = options.filiProcFat.value_or(context.filiProc);
  context.nomeFiliProc = options.nomeFiliProc.value_or(lookUpBranchName(context.filiProc));
  context.nomeFiliProcFat = options.nomeFiliProcFat.value_or(lookUpBranchName(context.filiProcFat));
  return embedded;
}

void signInLocally(server::Service& service, const std::string& operatorCode) {
  server::OpenedSession session;
  try {
    session = service.openLocalSession(operatorCode);
  } catch (const std::exception& e) {
    throw std::runtime_error(
        fmt::format("O operador {} não pôde entrar: {}", operatorCode, e.what()));
  }
  Quendra::context().operador = session.operatorCode;
  host::TNetConnection::setSessionToken(session.token);
  host::TNetConnection::setSessionRenewer([&service, code = session.operatorCode] {
    try {
      host::TNetConnection::setSessionToken(service.openLocalSession(code).token);
      return true;
    } catch (const std::exception&) {
      return false;
    }
  });
}

void signOutLocally(server::Service& service) {
  host::TNetConnection::setSessionRenewer(nullptr);
  const std::string token = host::TNetConnection::sessionToken();
  host::TNetConnection::setSessionToken({});
  try {
    if (!token.empty())
      service.signOut(token);
  } catch (const std::exception&) {
    // Left to expire: ending the session is courtesy, not something to fail over.
  }
}

EntryPoint loadModule(const std::string& path) {
  void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  if (handle == nullptr) {
    throw std::runtime_error(
        fmt::format("Não foi possível carregar o módulo {}: {}", path, dlerror()));
  }
  auto* entry = reinterpret_cast<EntryPoint>(dlsym(handle, "IniProc"));
  if (entry == nullptr)
    throw std::runtime_error("O módulo não exporta IniProc: " + path);
  return entry;
}

}  // namespace shell
