// Cost of the application server's busiest calls on a service with 2,000 bound clients, each
// next to a baseline measured in the same run, so results read as ratios:
//
//   GetServClie in process   vs  a bare SELECT stepping the same rows and columns, in the same
//                                order (names as the operator reads them, then code)
//   GetServClie over HTTP    vs  GetServClie in process (transport and JSON)
//   UpdServClie of one row   vs  a bare UPDATE of that row in its own transaction
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <memory>
#include <string>

#include "host/net_connection.h"
#include "server/app_server.h"
#include "server/database_setup.h"
#include "server/storage.h"

namespace {

constexpr int kClients = 2000;

// A database with one service and kClients bound clients, and a server on it.
struct BenchData {
  BenchData() {
    std::string pattern = (std::filesystem::temp_directory_path() / "cps-bench-XXXXXX").string();
    directory = mkdtemp(pattern.data());
    path = directory + "/bench.db";
    server::createDatabase(path, false);
    fill();
    appServer = std::make_unique<server::AppServer>(path);
    connection.setPort(appServer->start());
    connection.connect();
    host::TNetConnection::setSessionToken(appServer->service().openLocalSession("BENCH").token);
  }
  ~BenchData() {
    connection.disconnect();
    appServer.reset();
    std::filesystem::remove_all(directory);
  }

  void fill() {
    server::Database db(path, false);
    server::Transaction transaction(db);
    db.exec(
        "INSERT INTO FILIAL VALUES ('0001', 'São Paulo');"
        "INSERT INTO SERVICO VALUES ('0001', '00001', 'Limpeza e conservação');"
        "INSERT INTO PRODUTO VALUES ('000001', 'Detergente neutro 5 L', '1.01.001', '3');");
    auto client = db.prepare("INSERT INTO CLIENTE VALUES (?, ?, 'J', ?, ?)");
    auto member = db.prepare("INSERT INTO CLIENTEFILIAL VALUES ('0001', ?, NULL)");
    auto binding = db.prepare(
        "INSERT INTO SERVCLIE (CDFILIAL, CDSERVFILI, CDCLIENTE, CDPRODUTO, VRSERVFATU, "
        "DTSERVFATU, VRSERVFATSEG, QTEFETMINI, QTVOLPROSERVCLI, IDVRPRFIXAUT, IDATIVATABCOR, "
        "IDEXVLRVENDA, DSEMISSERCLI, DSPRODEMISDOM) VALUES ('0001', '00001', ?, '000001', ?, "
        "46023, 120.5, 4, 800, 'N', 'S', 'N', 'Limpeza e conservação - mensal', "
        "'Plantão de domingo')");
    for (int i = 0; i < kClients; ++i) {
      const std::string code = std::to_string(100000 + i);
      client.bind(1, code).bind(2, std::to_string(11222333000100LL + i));
      client.bind(3, "Condomínio Edifício Número " + code).bind(4, "Ed. " + code).run();
      member.bind(1, code).run();
      binding.bind(1, code).bind(2, 3500.0 + i).run();
      for (auto* statement : {&client, &member, &binding})
        statement->reset();
    }
    transaction.commit();
  }

  std::string directory;
  std::string path;
  std::unique_ptr<server::AppServer> appServer;
  host::TNetConnection connection{"rdmClientesServico"};
};

BenchData& data() {
  static BenchData instance;
  return instance;
}

packet::CallResult getServClie() {
  return data().appServer->service().call("rdmClientesServico", "GetServClie",
                                          {"0001", "00001", "BENCH"}, "BENCH");
}

void BM_BareSelectOfTheSameRows(benchmark::State& state) {
  server::Database db(data().path, false);
  for (auto _ : state) {
    auto statement = db.prepare(
        "SELECT SC.*, C.NMRAZSOCCLIE, C.NRINSJURCLIE, C.IDTPIJURCLIE, C.NMFANTCLIE, "
        "P.CDARVPROD, P.NMPRODUTO, CF.IDCOREFECLIFILI FROM SERVCLIE SC "
        "JOIN CLIENTE C ON C.CDCLIENTE = SC.CDCLIENTE "
        "LEFT JOIN PRODUTO P ON P.CDPRODUTO = SC.CDPRODUTO "
        "LEFT JOIN CLIENTEFILIAL CF ON CF.CDFILIAL = SC.CDFILIAL AND "
        "CF.CDCLIENTE = SC.CDCLIENTE WHERE SC.CDFILIAL = ? AND SC.CDSERVFILI = ? "
        "ORDER BY C.NMRAZSOCCLIE COLLATE PTBR, SC.CDCLIENTE");
    statement.bind(1, "0001").bind(2, "00001");
    int rows = 0;
    while (statement.step()) {
      for (int c = 0; c < statement.columnCount(); ++c)
        benchmark::DoNotOptimize(statement.value(c));
      ++rows;
    }
    benchmark::DoNotOptimize(rows);
  }
  state.SetItemsProcessed(state.iterations() * kClients);
}

void BM_GetServClieInProcess(benchmark::State& state) {
  for (auto _ : state) {
    const auto result = getServClie();
    if (!result.ok || result.packet->rows.size() != kClients)
      state.SkipWithError("bad answer");
  }
  state.SetItemsProcessed(state.iterations() * kClients);
}

void BM_GetServClieOverHttp(benchmark::State& state) {
  for (auto _ : state) {
    const auto result = data().connection.call("GetServClie", {"0001", "00001", "BENCH"});
    if (!result.ok || result.packet->rows.size() != kClients)
      state.SkipWithError("bad answer");
  }
  state.SetItemsProcessed(state.iterations() * kClients);
}

void BM_BareUpdateOfOneRow(benchmark::State& state) {
  server::Database db(data().path, false);
  bool flip = false;
  for (auto _ : state) {
    server::Transaction transaction(db);
    auto statement = db.prepare(
        "UPDATE SERVCLIE SET DSEMISSERCLI = ? WHERE CDFILIAL = '0001' AND "
        "CDSERVFILI = '00001' AND CDCLIENTE = '100500'");
    statement.bind(1, (flip = !flip) ? "Descrição A" : "Descrição B").run();
    transaction.commit();
  }
}

void BM_UpdServClieOfOneRow(benchmark::State& state) {
  const auto rows = getServClie().packet.value();
  const int description = rows.fieldIndex("DSEMISSERCLI");
  packet::Row a = rows.rows[500];
  packet::Row b = a;
  a[description] = std::string("Descrição A");
  b[description] = std::string("Descrição B");
  // Start from a known stored value, then alternate between the two.
  packet::Delta delta{rows.fields, {{packet::ChangeKind::Modify, rows.rows[500], a}}};
  auto& service = data().appServer->service();
  if (!service.call("rdmClientesServico", "UpdServClie", {delta, "BENCH"}, "BENCH").ok) {
    state.SkipWithError("first save failed");
  }
  for (auto _ : state) {
    std::swap(a, b);
    delta.changes[0] = {packet::ChangeKind::Modify, b, a};
    const auto result =
        service.call("rdmClientesServico", "UpdServClie", {delta, "BENCH"}, "BENCH");
    if (!result.ok)
      state.SkipWithError(result.message.c_str());
  }
}

BENCHMARK(BM_BareSelectOfTheSameRows)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetServClieInProcess)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_GetServClieOverHttp)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BareUpdateOfOneRow)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_UpdServClieOfOneRow)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
