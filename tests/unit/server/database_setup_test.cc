// Creating databases from the embedded scripts, and what the demo data promises.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>
#include <fstream>

#include "packet/name_order.h"
#include "server/database_setup.h"
#include "server/embedded_sql.h"
#include "server/row_versions.h"
#include "server/service.h"
#include "server/storage.h"
#include "server_fixture.h"

namespace server::testing {
namespace {

int digitAt(const std::string& s, size_t i) {
  return s[i] - '0';
}

bool validCpf(const std::string& cpf) {
  if (cpf.size() != 11 || cpf.find_first_not_of("0123456789") != std::string::npos)
    return false;
  for (size_t length : {9u, 10u}) {
    int sum = 0;
    for (size_t i = 0; i < length; ++i)
      sum += digitAt(cpf, i) * static_cast<int>(length + 1 - i);
    if ((sum * 10 % 11) % 10 != digitAt(cpf, length))
      return false;
  }
  return true;
}

bool validCnpj(const std::string& cnpj) {
  if (cnpj.size() != 14 || cnpj.find_first_not_of("0123456789") != std::string::npos) {
    return false;
  }
  const int weights[] = {6, 5, 4, 3, 2, 9, 8, 7, 6, 5, 4, 3, 2};
  for (size_t length : {12u, 13u}) {
    int sum = 0;
    for (size_t i = 0; i < length; ++i)
      sum += digitAt(cnpj, i) * weights[i + 13 - length];
    const int rest = sum % 11;
    if ((rest < 2 ? 0 : 11 - rest) != digitAt(cnpj, length))
      return false;
  }
  return true;
}

int count(Database& db, const char* sql) {
  auto statement = db.prepare(sql);
  return statement.step() ? static_cast<int>(statement.number(0)) : -1;
}

TEST(DemoData, ClientsHaveValidInscriptionsOfBothPersonTypes) {
  ASSERT_TRUE(validCpf("11144477735"));
  ASSERT_FALSE(validCpf("11144477736"));
  ASSERT_TRUE(validCnpj("11222333000181"));
  ASSERT_FALSE(validCnpj("11222333000182"));

  TempDatabase demo(Contents::Demo);
  Database db(demo.path(), false);
  auto clients = db.prepare("SELECT CDCLIENTE, NRINSJURCLIE, IDTPIJURCLIE FROM CLIENTE");
  int persons = 0;
  int companies = 0;
  while (clients.step()) {
    const std::string number = clients.text(1);
    if (clients.text(2) == "F") {
      ++persons;
      EXPECT_TRUE(validCpf(number)) << clients.text(0) << " " << number;
    } else {
      ++companies;
      EXPECT_TRUE(validCnpj(number)) << clients.text(0) << " " << number;
    }
  }
  EXPECT_GE(persons + companies, 250);
  EXPECT_GT(persons, 30);
  EXPECT_GT(companies, 30);
}

TEST(DemoData, RegistersHangTogether) {
  TempDatabase demo(Contents::Demo);
  Database db(demo.path(), false);
  EXPECT_EQ(count(db, "SELECT COUNT(*) FROM FILIAL"), 3);
  EXPECT_EQ(count(db,
                  "SELECT COUNT(*) FROM CLIENTE WHERE CDCLIENTE NOT IN "
                  "(SELECT CDCLIENTE FROM CLIENTEFILIAL)"),
            0);
  EXPECT_GT(count(db, "SELECT COUNT(*) FROM CLIENTEFILIAL WHERE IDCOREFECLIFILI = 'U'"), 0);
  // Tree codes match their level: "1", "1.01", "1.01.001".
  EXPECT_EQ(count(db,
                  "SELECT COUNT(*) FROM PRODUTO WHERE LENGTH(CDARVPROD) <> "
                  "CASE CDNVPRODUTO WHEN '1' THEN 1 WHEN '2' THEN 4 ELSE 8 END"),
            0);
  EXPECT_EQ(count(db, "SELECT COUNT(*) FROM TIPOCUSTO WHERE IDUTTPCUSTO = 'N'"), 2);
  EXPECT_EQ(count(db, "SELECT COUNT(*) FROM PARAMFILIAL"), 3);
  EXPECT_EQ(count(db,
                  "SELECT COUNT(*) FROM SERVCLIE S WHERE NOT EXISTS (SELECT 1 FROM "
                  "HISTSERVFATU H WHERE H.CDFILIAL = S.CDFILIAL AND "
                  "H.CDSERVFILI = S.CDSERVFILI AND H.CDCLIENTE = S.CDCLIENTE)"),
            0);
  for (const char* table :
       {"TURNOSERVCLIE", "HISTTURNOSERVCLIE", "CORRPRECSERV", "DTREPLICAVALOR"}) {
    EXPECT_GT(count(db, (std::string("SELECT COUNT(*) FROM ") + table).c_str()), 0) << table;
  }
  // PostgreSQL enforced the foreign keys as the data went in; SQLite is asked.
  if (!onPostgresql()) {
    db.exec("PRAGMA foreign_keys = ON");
    auto violations = db.prepare("PRAGMA foreign_key_check");
    EXPECT_FALSE(violations.step());
  }
}

TEST(DatabaseSetup, RefusesToOverwriteAFileThatIsNotEmpty) {
  TempDatabase existing(Contents::SchemaOnly);
  try {
    createDatabase(existing.path(), true);
    FAIL() << "overwrote an existing database";
  } catch (const SetupError& e) {
    EXPECT_NE(std::string(e.what()).find(onPostgresql() ? "já tem tabelas"
                                                        : "já existe e não está vazio"),
              std::string::npos)
        << e.what();
  }
  Database db(existing.path(), false);
  EXPECT_EQ(count(db, "SELECT COUNT(*) FROM CLIENTE"), 0);
}

// The file holds CPF and CNPJ numbers: no other local user may read it, nor its WAL files.
TEST(DatabaseSetup, CreatesTheFileAndItsCompanionsOwnerOnly) {
  if (onPostgresql())
    GTEST_SKIP() << "SQLite files only";
  TempDatabase place(Contents::SchemaOnly);
  const std::string path = place.directory() + "/novo.db";
  const mode_t previous = ::umask(022);
  createDatabase(path, false);
  ::umask(previous);
  {
    Service service(path);
    ASSERT_TRUE(service.call("rdmClientesServico", "GetParamFilial", {"0001"}, "TESTE").ok);
    for (const char* suffix : {"", "-wal", "-shm"}) {
      struct stat info {};
      ASSERT_EQ(::stat((path + suffix).c_str(), &info), 0) << suffix;
      EXPECT_EQ(info.st_mode & 077, 0u) << suffix << " is open to others";
    }
  }
}

TEST(DatabaseSetup, ServingRefusesAFileWithoutTheSchema) {
  if (onPostgresql())
    GTEST_SKIP() << "SQLite files only";
  TempDatabase place(Contents::SchemaOnly);
  const std::string other = place.directory() + "/outro.db";
  Database(other, true).exec("CREATE TABLE X (A)");
  EXPECT_THROW(Service{other}, SetupError);
  EXPECT_THROW(Service{place.directory() + "/nao-existe.db"}, DbError);

  const std::string notSqlite = place.directory() + "/texto.db";
  std::ofstream(notSqlite) << "isto não é um banco de dados";
  EXPECT_THROW(Service{notSqlite}, DbError);
}

// A database made before operators existed is brought up to date when first served; one from a
// newer server is refused untouched.
TEST(DatabaseSetup, ServingUpgradesAnOlderSchemaAndRefusesANewerOne) {
  if (onPostgresql())
    GTEST_SKIP() << "SQLite files only";
  TempDatabase old(Contents::Fixture);
  {
    Database db(old.path(), false);
    std::vector<std::string> triggers;
    for (auto list = db.prepare("SELECT name FROM sqlite_master WHERE type = 'trigger'");
         list.step();)
      triggers.push_back(list.text(0));
    for (const auto& name : triggers)
      db.exec("DROP TRIGGER " + name);
    db.exec(
        "DROP INDEX SERVCLIE_VERSAO; DROP INDEX SERVCLIE_CLIENTE_FILIAL; ALTER TABLE SERVCLIE DROP "
        "COLUMN NRVERSAO; DROP TABLE SERVCLIEEXCLUIDO; DROP TABLE VERSAOSERVICO;"
        "DROP TABLE TRILHAALT; DROP TABLE SESSAO; DROP TABLE OPERADOR; PRAGMA user_version = 1;");
  }
  {
    Service service(old.path());
    EXPECT_EQ(service.openLocalSession("ana").operatorCode, "ANA");
    EXPECT_TRUE(service.call("rdmClientesServico", "GetParamFilial", {"0001"}, "ANA").ok);
  }
  Database db(old.path(), false);
  EXPECT_EQ(count(db, "PRAGMA user_version"), kSchemaVersion);
  EXPECT_EQ(count(db, "SELECT COUNT(*) FROM SERVCLIE"), 3);
  // The bindings of the old file keep versions from now on.
  db.exec("UPDATE SERVCLIE SET DSEMISSERCLI = 'x' WHERE rowid = (SELECT MIN(rowid) FROM SERVCLIE)");
  EXPECT_EQ(count(db, "SELECT MAX(NRVERSAO) FROM SERVCLIE"), 1);

  db.exec("PRAGMA user_version = 99");
  try {
    Service newer(old.path());
    ADD_FAILURE() << "served a newer schema";
  } catch (const SetupError& e) {
    EXPECT_NE(std::string(e.what()).find("versão 99"), std::string::npos) << e.what();
  }
}

// Several servers share a PostgreSQL database: none upgrades it on its own. The administrator's
// upgrade runs in one transaction, so one that fails midway leaves the old schema whole.
TEST(DatabaseSetup, PostgresqlIsUpgradedByTheAdministratorInOneTransaction) {
  if (!onPostgresql())
    GTEST_SKIP() << "PostgreSQL only";
  TempDatabase old(Contents::Fixture);
  Database db(old.path(), false);
  db.exec(
      "DROP TABLE SERVCLIEEXCLUIDO, VERSAOSERVICO, TRILHAALT, SESSAO, OPERADOR; "
      "DROP FUNCTION SERVCLIE_VERSAO, CLIENTE_VERSAO, CLIENTEFILIAL_VERSAO, PRODUTO_VERSAO, "
      "TRILHAALT_SO_INCLUSAO CASCADE; DROP INDEX SERVCLIE_CLIENTE_FILIAL; "
      "ALTER TABLE SERVCLIE DROP COLUMN NRVERSAO; UPDATE VERSAOESQUEMA SET NRVERSAO = 1");
  try {
    Service service(old.path());
    ADD_FAILURE() << "served an older schema";
  } catch (const SetupError& e) {
    EXPECT_NE(std::string(e.what()).find("--upgrade-db"), std::string::npos) << e.what();
  }

  // A table in the way makes the third step fail: nothing of the first two stays.
  db.exec("CREATE TABLE TRILHAALT (X TEXT)");
  EXPECT_THROW(upgradeDatabase(db), SetupError);
  EXPECT_EQ(schemaVersion(db), 1);
  EXPECT_EQ(count(db,
                  "SELECT COUNT(*) FROM information_schema.tables WHERE table_name = "
                  "'operador'"),
            0);
  db.exec("DROP TABLE TRILHAALT");

  const SchemaUpgradeResult result = upgradeDatabase(db);
  EXPECT_EQ(result.from, 1);
  EXPECT_EQ(result.to, kSchemaVersion);
  EXPECT_EQ(schemaVersion(db), kSchemaVersion);
  EXPECT_EQ(count(db, "SELECT COUNT(*) FROM SERVCLIE"), 3);
  {
    Service service(old.path());
    EXPECT_EQ(service.openLocalSession("ana").operatorCode, "ANA");
  }

  db.exec("UPDATE VERSAOESQUEMA SET NRVERSAO = 99");
  EXPECT_THROW(upgradeDatabase(db), SetupError);
  try {
    Service newer(old.path());
    ADD_FAILURE() << "served a newer schema";
  } catch (const SetupError& e) {
    EXPECT_NE(std::string(e.what()).find("versão 99"), std::string::npos) << e.what();
  }
}

// Row versions came from one counter before they were counted per service: every service starts
// from the old counter, so a reader that holds a number of any service is told every later
// change of it, and never meets its service's number going back.
TEST(DatabaseSetup, UpgradingRowVersionsToOneCounterPerServiceNeverGoesBack) {
  TempDatabase place(Contents::SchemaOnly);
  const std::string name = onPostgresql() ? place.path() : place.directory() + "/versao4.db";
  Database db(name, true);
  if (onPostgresql())
    db.exec("DROP SCHEMA public CASCADE; CREATE SCHEMA public");
  db.exec(onPostgresql() ? kPostgresqlSchemaSql : kSchemaSql);
  for (const SchemaUpgrade& step : onPostgresql() ? kPostgresqlSchemaUpgrades : kSchemaUpgrades) {
    if (step.version <= 4)
      db.exec(step.sql);
  }
  ASSERT_EQ(schemaVersion(db), 4);
  db.exec(R"sql(
INSERT INTO FILIAL VALUES ('0001', 'São Paulo');
INSERT INTO SERVICO VALUES ('0001', '00001', 'Limpeza'), ('0001', '00002', 'Portaria'),
                           ('0001', '00003', 'Jardinagem');
INSERT INTO CLIENTE VALUES ('C1', '11144477735', 'F', 'Zélia Souza', 'Zélia'),
                           ('C2', '52998224725', 'F', 'Bruno Lima', 'Bruno');
INSERT INTO CLIENTEFILIAL VALUES ('0001', 'C1', NULL), ('0001', 'C2', NULL);
INSERT INTO SERVCLIE (CDFILIAL, CDSERVFILI, CDCLIENTE)
  VALUES ('0001', '00001', 'C1'), ('0001', '00001', 'C2'), ('0001', '00002', 'C1');
DELETE FROM SERVCLIE WHERE CDSERVFILI = '00001' AND CDCLIENTE = 'C2';
UPDATE SERVCLIE SET DSEMISSERCLI = 'x' WHERE CDSERVFILI = '00002';
)sql");
  // The number every reader was last told, whichever service it read.
  const int held = count(db, "SELECT NRVERSAO FROM VERSAOLINHA");
  ASSERT_GT(held, 0);

  const SchemaUpgradeResult result = upgradeDatabase(db);
  EXPECT_EQ(result.from, 4);
  EXPECT_EQ(result.to, kSchemaVersion);
  for (const char* servico : {"00001", "00002", "00003"})
    EXPECT_EQ(currentRowVersion(db, "0001", servico), held) << servico;

  db.exec("UPDATE SERVCLIE SET DSEMISSERCLI = 'y' WHERE CDSERVFILI = '00002'");
  db.exec("DELETE FROM SERVCLIE WHERE CDSERVFILI = '00001'");
  db.exec("INSERT INTO SERVCLIE (CDFILIAL, CDSERVFILI, CDCLIENTE) VALUES ('0001', '00003', 'C2')");
  for (const char* servico : {"00001", "00002", "00003"})
    EXPECT_EQ(currentRowVersion(db, "0001", servico), held + 1) << servico;
  EXPECT_EQ(
      count(db,
            ("SELECT COUNT(*) FROM SERVCLIE WHERE NRVERSAO <= " + std::to_string(held)).c_str()),
      0);
  const auto left = bindingsGone(db, "0001", "00001", held, held + 1);
  ASSERT_EQ(left.size(), 1u);
  EXPECT_EQ(left[0].at(2), packet::Value{std::string("C1")});
}

// A change of a client's data in a branch finds the client's bindings there by index, not by
// passing over the branch's bindings; it still gives them the next number of their service.
TEST(DatabaseSetup, UpgradingToTheClientBranchIndexKeepsBindingsAndTheirVersions) {
  TempDatabase place(Contents::SchemaOnly);
  const std::string name = onPostgresql() ? place.path() : place.directory() + "/versao5.db";
  Database db(name, true);
  if (onPostgresql())
    db.exec("DROP SCHEMA public CASCADE; CREATE SCHEMA public");
  db.exec(onPostgresql() ? kPostgresqlSchemaSql : kSchemaSql);
  for (const SchemaUpgrade& step : onPostgresql() ? kPostgresqlSchemaUpgrades : kSchemaUpgrades) {
    if (step.version <= 5)
      db.exec(step.sql);
  }
  ASSERT_EQ(schemaVersion(db), 5);
  db.exec(R"sql(
INSERT INTO FILIAL VALUES ('0001', 'São Paulo'), ('0002', 'Campinas');
INSERT INTO SERVICO VALUES ('0001', '00001', 'Limpeza'), ('0002', '00001', 'Limpeza');
INSERT INTO CLIENTE VALUES ('C1', '11144477735', 'F', 'Zélia Souza', 'Zélia');
INSERT INTO CLIENTEFILIAL VALUES ('0001', 'C1', NULL), ('0002', 'C1', NULL);
INSERT INTO SERVCLIE (CDFILIAL, CDSERVFILI, CDCLIENTE)
  VALUES ('0001', '00001', 'C1'), ('0002', '00001', 'C1');
)sql");

  const SchemaUpgradeResult result = upgradeDatabase(db);
  EXPECT_EQ(result.from, 5);
  EXPECT_EQ(result.to, 6);
  EXPECT_EQ(count(db, "SELECT COUNT(*) FROM SERVCLIE"), 2);
  if (onPostgresql()) {
    EXPECT_EQ(count(db,
                    "SELECT COUNT(*) FROM pg_indexes WHERE tablename = 'servclie' AND indexname "
                    "IN ('servclie_cliente_filial', 'servclie_cliente')"),
              1);
    EXPECT_EQ(count(db,
                    "SELECT COUNT(*) FROM pg_indexes WHERE indexname = 'servclie_cliente_filial' "
                    "AND indexdef LIKE '%(cdcliente, cdfilial)'"),
              1);
  } else {
    auto plan = db.prepare(
        "EXPLAIN QUERY PLAN UPDATE SERVCLIE SET NRVERSAO = NRVERSAO "
        "WHERE CDCLIENTE = 'C1' AND CDFILIAL = '0001'");
    std::string steps;
    while (plan.step())
      steps += plan.text(3) + "\n";
    EXPECT_NE(steps.find("INDEX SERVCLIE_CLIENTE_FILIAL (CDCLIENTE=? AND CDFILIAL=?)"),
              std::string::npos)
        << steps;
  }
  const std::int64_t before = currentRowVersion(db, "0001", "00001");
  const int otherBranch = count(db, "SELECT NRVERSAO FROM SERVCLIE WHERE CDFILIAL = '0002'");
  db.exec("UPDATE CLIENTEFILIAL SET IDCOREFECLIFILI = 'U' WHERE CDFILIAL = '0001'");
  EXPECT_EQ(currentRowVersion(db, "0001", "00001"), before + 1);
  EXPECT_EQ(count(db, "SELECT NRVERSAO FROM SERVCLIE WHERE CDFILIAL = '0001'"), before + 1);
  EXPECT_EQ(count(db, "SELECT NRVERSAO FROM SERVCLIE WHERE CDFILIAL = '0002'"), otherBranch);
}

// The copy is what was committed when it was taken, whatever a writer has under way, and it is
// as private as the database.
TEST(DatabaseSetup, BackupCopiesWhatIsCommittedWhileAWriteIsUnderWay) {
  if (onPostgresql())
    GTEST_SKIP() << "SQLite files only";
  TempDatabase live(Contents::Fixture);
  Service service(live.path());
  Database writer(live.path(), false);
  writer.begin();
  writer.exec("DELETE FROM CORRPRECSERV; UPDATE SERVCLIE SET DSEMISSERCLI = 'pela metade'");
  const std::string copy = live.directory() + "/copia.db";
  backupDatabase(live.path(), copy);
  writer.rollback();

  struct stat info {};
  ASSERT_EQ(::stat(copy.c_str(), &info), 0);
  EXPECT_EQ(info.st_mode & 0777, 0600u);
  {
    Database copied(copy, false);
    EXPECT_EQ(count(copied, "SELECT COUNT(*) FROM SERVCLIE"), 3);
    EXPECT_EQ(count(copied, "SELECT COUNT(*) FROM SERVCLIE WHERE DSEMISSERCLI = 'pela metade'"), 0);
    EXPECT_GT(count(copied, "SELECT COUNT(*) FROM CORRPRECSERV"), 0);
    EXPECT_EQ(count(copied, "PRAGMA user_version"), kSchemaVersion);
  }
  EXPECT_THROW(backupDatabase(live.path(), copy), SetupError);
  EXPECT_THROW(backupDatabase(live.directory() + "/nao-existe.db", live.directory() + "/b.db"),
               SetupError);
  EXPECT_FALSE(std::filesystem::exists(live.directory() + "/b.db"));
}

TEST(TextCollation, IgnoresCaseAndPortugueseAccents) {
  EXPECT_EQ(packet::foldForSorting("Água Ótica ÇÃO ñ"), "agua otica cao n");
  EXPECT_LT(packet::compareForSorting("Água", "Bruno"), 0);
  EXPECT_LT(packet::compareForSorting("ana", "Bruno"), 0);
  EXPECT_NE(packet::compareForSorting("Ana", "ana"), 0);  // different texts never compare equal
}

}  // namespace
}  // namespace server::testing
