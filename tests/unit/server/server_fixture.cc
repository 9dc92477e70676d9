#include "server_fixture.h"

#include <fmt/format.h>
#include <stdlib.h>
#include <unistd.h>

#include <atomic>
#include <cstdlib>

#include <filesystem>
#include <stdexcept>

#include "server/database_setup.h"
#include "server/storage.h"

namespace server::testing {

namespace {

// Branch 0001 has services 00001 (Limpeza) and 00002 (Portaria, three shifts) and clients C1,
// C2 (correction "U") and C3; branch 0002 has C4. C1 and C2 are bound to 0001/00001, C2 also
// to 0001/00002. Names start with accented and plain letters to exercise the ordering.
constexpr const char* kFixtureSql = R"sql(
INSERT INTO FILIAL VALUES ('0001', 'São Paulo'), ('0002', 'Campinas');
INSERT INTO SERVICO VALUES ('0001', '00001', 'Limpeza'), ('0001', '00002', 'Portaria'),
                           ('0002', '00001', 'Limpeza');
INSERT INTO TURNO VALUES ('0001', '00002', '1', 'Diurno'), ('0001', '00002', '2', 'Noturno'),
                         ('0001', '00002', '3', 'Integral');
INSERT INTO CLIENTE VALUES ('C1', '11144477735', 'F', 'Zélia Souza', 'Zélia'),
                           ('C2', '11222333000181', 'J', 'Água Viva Ltda', 'Água Viva'),
                           ('C3', '52998224725', 'F', 'Bruno Lima', 'Bruno'),
                           ('C4', '45301287000128', 'J', 'Condomínio Aurora', 'Ed. Aurora');
INSERT INTO CLIENTEFILIAL VALUES ('0001', 'C1', NULL), ('0001', 'C2', 'U'), ('0001', 'C3', NULL),
                                 ('0002', 'C4', NULL);
INSERT INTO PRODUTO VALUES ('P1', 'Materiais', '1', '1'), ('P2', 'Químicos', '1.01', '2'),
                           ('P3', 'Detergente neutro', '1.01.001', '3');
INSERT INTO TIPOCUSTO VALUES ('01', 'Custo médio', 'S'), ('04', 'Custo padrão', 'N');
INSERT INTO TIPOFATUR VALUES ('001', 'Faturamento por período');
INSERT INTO PARAMFILIAL VALUES ('0001', '001', 'MINEFECONSID=2;MINEFECORRIG=1');
INSERT INTO SERVCLIE (CDFILIAL, CDSERVFILI, CDCLIENTE, CDPRODUTO, VRSERVFATU, DTSERVFATU,
                      VRSERVFATSEG, QTEFETMINI, QTVOLPROSERVCLI, IDVRPRFIXAUT, IDATIVATABCOR,
                      DSEMISSERCLI)
  VALUES ('0001', '00001', 'C1', 'P3', 1000, 45900, 50, 2, 1000, 'N', 'S', 'Limpeza mensal'),
         ('0001', '00001', 'C2', ' ', 2000, 45800, NULL, 3, 500, 'S', 'S', NULL),
         ('0001', '00002', 'C2', ' ', 3000, 45800, NULL, 1, 100, 'N', 'S', NULL);
INSERT INTO HISTSERVFATU (CDFILIAL, CDSERVFILI, CDCLIENTE, DTSRVFATUHIS, DTALTEFATHIS,
                          VRSERVFATHIS, VRFATUSEGHIS, CDOPERALTHIS)
  VALUES ('0001', '00001', 'C1', 45700, 45690.5, 900, 45, 'ADMIN'),
         ('0001', '00001', 'C1', 45900, 45890.25, 1000, 50, 'ADMIN'),
         ('0001', '00001', 'C1', 45900, 45895.75, 1000, 50, 'ADMIN');
INSERT INTO TURNOSERVCLIE (CDFILIAL, CDSERVFILI, CDCLIENTE, CDTURNO, DSEMISTURCLI, VRSERVFATTUR,
                           DTSERVCLIETURN, DTALTSERVCLIETURN, CDOPERALTSERVCLIETURN, VRSVFATTUDOM)
  VALUES ('0001', '00002', 'C2', '2', 'Posto noturno', 1500, 45800, 45790.5, 'ADMIN', 80);
INSERT INTO HISTTURNOSERVCLIE (CDFILIAL, CDSERVFILI, CDCLIENTE, CDTURNO, DTSERVCLIETURN,
                               DTALTSERVCLIETURN, VRSERVFATTUR)
  VALUES ('0001', '00002', 'C2', '2', 45600, 45590.5, 1400),
         ('0001', '00002', 'C2', '2', 45800, 45790.5, 1500);
INSERT INTO CORRPRECSERV (CDFILIAL, CDSERVFILI, CDCLIENTE, VRPEINICSERV, VRPEFIMSERV, VRPECORRSERV)
  VALUES ('0001', '00001', 'C2', 10, 25, 3.5), ('0001', '00001', 'C2', 0, 10, 0);
)sql";

std::string postgresqlServer() {
  const char* server = std::getenv("CPS_TEST_POSTGRESQL");
  return server != nullptr ? server : "";
}

// Skips every test of a PostgreSQL run that has no server to run on.
class EngineEnvironment : public ::testing::Environment {
 public:
  void SetUp() override {
    if (onPostgresql() && postgresqlServer().empty())
      GTEST_SKIP() << "CPS_TEST_POSTGRESQL names no PostgreSQL server";
  }
};

const auto* const kEngineEnvironment = ::testing::AddGlobalTestEnvironment(new EngineEnvironment);

}  // namespace

bool onPostgresql() {
  const char* engine = std::getenv("CPS_TEST_ENGINE");
  return engine != nullptr && std::string_view(engine) == "postgresql";
}

void withoutForeignKeys(Database& db) {
  db.exec(onPostgresql() ? "SET session_replication_role = replica" : "PRAGMA foreign_keys = OFF");
}

TempDatabase::TempDatabase(Contents contents) {
  std::string pattern = (std::filesystem::temp_directory_path() / "cps-server-XXXXXX").string();
  if (mkdtemp(pattern.data()) == nullptr)
    throw std::runtime_error("mkdtemp failed");
  directory_ = pattern;
  if (onPostgresql()) {
    static std::atomic<int> made{0};
    postgresqlDatabase_ = fmt::format("cps_test_{}_{}", ::getpid(), ++made);
    Database(postgresqlServer()).exec("CREATE DATABASE " + postgresqlDatabase_);
    path_ = storage::withDatabase(postgresqlServer(), postgresqlDatabase_);
  } else {
    path_ = directory_ + "/clientes.db";
  }
  createDatabase(path_, contents == Contents::Demo);
  if (contents == Contents::Fixture) {
    Database db(path_, false);
    db.exec(kFixtureSql);
  }
}

TempDatabase::~TempDatabase() {
  std::error_code ignored;
  std::filesystem::remove_all(directory_, ignored);
  if (!postgresqlDatabase_.empty()) {
    try {
      Database(postgresqlServer())
          .exec("DROP DATABASE IF EXISTS " + postgresqlDatabase_ + " WITH (FORCE)");
    } catch (const DbError& e) {
      ADD_FAILURE() << "could not drop " << postgresqlDatabase_ << ": " << e.what();
    }
  }
}

packet::Value field(const packet::Packet& packet, size_t row, std::string_view name) {
  const int index = packet.fieldIndex(std::string(name));
  EXPECT_GE(index, 0) << "no field " << name;
  if (index < 0 || row >= packet.rows.size())
    return {};
  return packet.rows[row][static_cast<size_t>(index)];
}

std::string text(const packet::Value& value) {
  const auto* t = std::get_if<std::string>(&value);
  return t != nullptr ? *t : "<not text>";
}

double number(const packet::Value& value) {
  const auto* n = std::get_if<double>(&value);
  EXPECT_NE(n, nullptr) << "not a number";
  return n != nullptr ? *n : 0.0;
}

int findRow(const packet::Packet& packet, std::string_view fieldName, std::string_view value) {
  const int index = packet.fieldIndex(std::string(fieldName));
  for (size_t i = 0; index >= 0 && i < packet.rows.size(); ++i) {
    const auto* t = std::get_if<std::string>(&packet.rows[i][static_cast<size_t>(index)]);
    if (t != nullptr && *t == value)
      return static_cast<int>(i);
  }
  return -1;
}

DeltaBuilder::DeltaBuilder(const packet::Packet& source) : source_(source) {
  delta_.fields = source.fields;
}

packet::Row DeltaBuilder::withChanges(packet::Row row, Changes changes) const {
  for (const auto& [name, value] : changes) {
    const int index = source_.fieldIndex(std::string(name));
    EXPECT_GE(index, 0) << "no field " << name;
    if (index >= 0)
      row[static_cast<size_t>(index)] = value;
  }
  return row;
}

DeltaBuilder& DeltaBuilder::modify(size_t row, Changes changes) {
  const packet::Row& old = source_.rows.at(row);
  delta_.changes.push_back({packet::ChangeKind::Modify, old, withChanges(old, changes)});
  return *this;
}

DeltaBuilder& DeltaBuilder::remove(size_t row) {
  delta_.changes.push_back({packet::ChangeKind::Delete, source_.rows.at(row), {}});
  return *this;
}

DeltaBuilder& DeltaBuilder::insert(Changes values) {
  delta_.changes.push_back(
      {packet::ChangeKind::Insert, {}, withChanges(packet::Row(source_.fields.size()), values)});
  return *this;
}

ServiceOptions cheapSignIn() {
  ServiceOptions options;
  options.signIn.passwordCost = kTestPasswordCost;
  return options;
}

packet::CallResult ServiceTest::call(std::string_view method, std::vector<packet::Arg> args,
                                     const std::string& operatorCode) {
  const bool custProd = method == "GetListaTipoCusto";
  return service_.call(custProd ? "rdmCustProd" : "rdmClientesServico", method, args, operatorCode);
}

packet::Packet ServiceTest::get(std::string_view method, std::vector<packet::Arg> args) {
  const auto result = call(method, std::move(args));
  EXPECT_TRUE(result.ok) << method << ": " << result.message;
  EXPECT_TRUE(result.packet.has_value()) << method;
  return result.packet.value_or(packet::Packet{});
}

}  // namespace server::testing
