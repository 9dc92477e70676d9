#include "server/database_setup.h"

#include <fmt/format.h>

#include <filesystem>
#include <system_error>

#include "server/embedded_sql.h"

namespace server {

namespace {

void removeDatabaseFiles(const std::string& path) {
  std::error_code ignored;
  for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
    std::filesystem::remove(path + suffix, ignored);
  }
}

int schemaVersion(Database& db) {
  auto statement = db.prepare("PRAGMA user_version");
  return statement.step() ? static_cast<int>(statement.number(0)) : 0;
}

}  // namespace

bool isMissingOrEmpty(const std::string& path) {
  std::error_code error;
  const auto status = std::filesystem::status(path, error);
  if (!std::filesystem::exists(status))
    return true;
  return std::filesystem::is_regular_file(status) && std::filesystem::file_size(path, error) == 0;
}

void createDatabase(const std::string& path, bool withDemoData) {
  if (!isMissingOrEmpty(path)) {
    throw SetupError(fmt::format(
        "O arquivo '{}' já existe e não está vazio; nada foi alterado. Escolha outro nome ou "
        "remova o arquivo.",
        path));
  }
  try {
    Database db(path, true);
    db.exec("PRAGMA journal_mode = WAL");
    Transaction transaction(db);
    db.exec(kSchemaSql);
    if (withDemoData)
      db.exec(kDemoSql);
    transaction.commit();
  } catch (const DbError& e) {
    removeDatabaseFiles(path);
    throw SetupError(
        fmt::format("Não foi possível criar o banco de dados '{}': {}", path, e.what()));
  }
}

void prepareForServing(Database& db) {
  const int version = schemaVersion(db);
  if (version != kSchemaVersion) {
    throw SetupError(fmt::format(
        "O banco de dados '{}' não tem o esquema do Clientes por Serviço (versão {}, esperada "
        "{}). Crie-o com: appserver --init-db ARQUIVO [--demo]",
        db.path(), version, kSchemaVersion));
  }
  db.exec("PRAGMA journal_mode = WAL");
}

}  // namespace server
