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

bool isPostgresql(Database& db) {
  return db.engine() == storage::Engine::Postgresql;
}

int countOf(Database& db, const char* sql) {
  auto statement = db.prepare(sql);
  return statement.step() ? static_cast<int>(statement.number(0)) : 0;
}

const std::span<const SchemaUpgrade>& upgradesOf(Database& db) {
  return isPostgresql(db) ? kPostgresqlSchemaUpgrades : kSchemaUpgrades;
}

// Runs the upgrades past `version`, inside the caller's transaction.
void applyUpgrades(Database& db, int version) {
  for (const SchemaUpgrade& upgrade : upgradesOf(db)) {
    if (upgrade.version > version)
      db.exec(upgrade.sql);
  }
}

// The version inside a transaction that keeps other upgrades out until it ends: SQLite's
// write lock is already held; on PostgreSQL the version row is locked.
int lockedSchemaVersion(Database& db) {
  if (!isPostgresql(db))
    return schemaVersion(db);
  auto statement = db.prepare("SELECT NRVERSAO FROM VERSAOESQUEMA FOR UPDATE");
  return statement.step() ? static_cast<int>(statement.number(0)) : 0;
}

void createPostgresqlDatabase(const std::string& name, bool withDemoData) {
  Database db(name);
  if (countOf(db,
              "SELECT COUNT(*) FROM information_schema.tables "
              "WHERE table_schema = current_schema()") > 0) {
    throw SetupError(fmt::format(
        "O banco de dados '{}' já tem tabelas; nada foi alterado. Use um banco de dados vazio.",
        db.name()));
  }
  try {
    Transaction transaction(db);
    db.exec(kPostgresqlSchemaSql);
    applyUpgrades(db, 1);
    if (withDemoData)
      db.exec(kDemoSql);
    transaction.commit();
  } catch (const DbError& e) {
    throw SetupError(
        fmt::format("Não foi possível criar o banco de dados '{}': {}", db.name(), e.what()));
  }
}

std::string missingSchemaMessage(Database& db, int version) {
  return fmt::format(
      "O banco de dados '{}' não tem o esquema do Clientes por Serviço (versão {}, esperada "
      "{}). Crie-o com: appserver --init-db {} [--demo]",
      db.name(), version, kSchemaVersion, isPostgresql(db) ? "URI" : "ARQUIVO");
}

}  // namespace

int schemaVersion(Database& db) {
  if (!isPostgresql(db)) {
    auto statement = db.prepare("PRAGMA user_version");
    return statement.step() ? static_cast<int>(statement.number(0)) : 0;
  }
  if (countOf(db,
              "SELECT COUNT(*) FROM information_schema.tables WHERE table_schema = "
              "current_schema() AND table_name = 'versaoesquema'") == 0) {
    return 0;
  }
  return countOf(db, "SELECT MAX(NRVERSAO) FROM VERSAOESQUEMA");
}

bool isMissingOrEmpty(const std::string& name) {
  if (storage::isPostgresqlName(name))
    return false;
  std::error_code error;
  const auto status = std::filesystem::status(name, error);
  if (!std::filesystem::exists(status))
    return true;
  return std::filesystem::is_regular_file(status) && std::filesystem::file_size(name, error) == 0;
}

void createDatabase(const std::string& name, bool withDemoData) {
  if (storage::isPostgresqlName(name))
    return createPostgresqlDatabase(name, withDemoData);
  const std::string& path = name;
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

SchemaUpgradeResult upgradeDatabase(Database& db) {
  const int found = schemaVersion(db);
  if (found < 1)
    throw SetupError(missingSchemaMessage(db, found));
  if (found > kSchemaVersion) {
    throw SetupError(fmt::format(
        "O banco de dados '{}' tem o esquema da versão {}, mais nova que a {} deste servidor; "
        "use um servidor atualizado.",
        db.name(), found, kSchemaVersion));
  }
  try {
    Transaction transaction(db);
    // Another server may have upgraded the database while this one waited for the lock.
    const int from = lockedSchemaVersion(db);
    applyUpgrades(db, from);
    transaction.commit();
    return {from, kSchemaVersion};
  } catch (const DbError& e) {
    throw SetupError(
        fmt::format("Não foi possível atualizar o esquema do banco de dados '{}' da versão {} "
                    "para a {}: {}",
                    db.name(), found, kSchemaVersion, e.what()));
  }
}

void backupDatabase(const std::string& name, const std::string& target) {
  if (storage::isPostgresqlName(name)) {
    throw SetupError(
        "A cópia de um banco PostgreSQL é feita com pg_dump (veja a documentação de "
        "implantação); --backup copia bancos SQLite.");
  }
  if (!isMissingOrEmpty(target)) {
    throw SetupError(fmt::format(
        "O arquivo '{}' já existe e não está vazio; nada foi alterado. Escolha outro nome.",
        target));
  }
  if (isMissingOrEmpty(name))
    throw SetupError(fmt::format("O banco de dados '{}' não existe ou está vazio.", name));
  createOwnerOnlyFile(target);
  try {
    storage::backupSqlite(name, target);
  } catch (const DbError& e) {
    ::unlink(target.c_str());
    throw SetupError(fmt::format("Não foi possível copiar o banco de dados '{}' para '{}': {}",
                                 name, target, e.what()));
  }
}

void prepareForServing(Database& db) {
  const int version = schemaVersion(db);
  if (version < 1)
    throw SetupError(missingSchemaMessage(db, version));
  if (version > kSchemaVersion) {
    throw SetupError(fmt::format(
        "O banco de dados '{}' tem o esquema da versão {}, mais nova que a {} deste servidor; "
        "use um servidor atualizado.",
        db.name(), version, kSchemaVersion));
  }
  if (isPostgresql(db)) {
    // Several servers share the database: its upgrade is the administrator's step.
    if (version < kSchemaVersion) {
      throw SetupError(fmt::format(
          "O banco de dados '{}' tem o esquema da versão {}; este servidor usa a {}. Atualize-o "
          "com: appserver --db URI --upgrade-db",
          db.name(), version, kSchemaVersion));
    }
    return;
  }
  if (version < kSchemaVersion)
    upgradeDatabase(db);
  db.exec("PRAGMA journal_mode = WAL");
}

}  // namespace server
