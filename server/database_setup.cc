#include "server/database_setup.h"

#include <fmt/format.h>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
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

// The file holds client inscriptions (CPF, CNPJ): only its owner may read it. SQLite gives its
// journal, WAL and shared-memory files the mode of the database file.
void createOwnerOnlyFile(const std::string& path) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, S_IRUSR | S_IWUSR);
  if (fd < 0 || ::fchmod(fd, S_IRUSR | S_IWUSR) != 0) {
    const std::string reason = std::strerror(errno);
    if (fd >= 0) {
      ::close(fd);
      ::unlink(path.c_str());
    }
    throw SetupError(fmt::format("Não foi possível criar o banco de dados '{}': {}", path, reason));
  }
  ::close(fd);
}

int schemaVersion(Database& db) {
  auto statement = db.prepare("PRAGMA user_version");
  return statement.step() ? static_cast<int>(statement.number(0)) : 0;
}

// Runs the upgrades past `version`, inside the caller's transaction.
void applyUpgrades(Database& db, int version) {
  for (const SchemaUpgrade& upgrade : kSchemaUpgrades) {
    if (upgrade.version > version)
      db.exec(upgrade.sql);
  }
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
  createOwnerOnlyFile(path);
  try {
    Database db(path, true);
    db.exec("PRAGMA journal_mode = WAL");
    Transaction transaction(db);
    db.exec(kSchemaSql);
    applyUpgrades(db, 1);
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
  if (version >= 1 && version < kSchemaVersion) {
    try {
      Transaction transaction(db);
      // Another server may have upgraded the file while this one waited for the lock.
      applyUpgrades(db, schemaVersion(db));
      transaction.commit();
    } catch (const DbError& e) {
      throw SetupError(
          fmt::format("Não foi possível atualizar o esquema do banco de dados '{}' "
                      "da versão {} para a {}: {}",
                      db.name(), version, kSchemaVersion, e.what()));
    }
    return prepareForServing(db);
  }
  if (version != kSchemaVersion) {
    throw SetupError(fmt::format(
        "O banco de dados '{}' não tem o esquema do Clientes por Serviço (versão {}, esperada "
        "{}). Crie-o com: appserver --init-db ARQUIVO [--demo]",
        db.name(), version, kSchemaVersion));
  }
  db.exec("PRAGMA journal_mode = WAL");
}

}  // namespace server
