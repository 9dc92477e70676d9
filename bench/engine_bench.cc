// The two storage engines side by side on the server's part of the scale actions: opening a
// service (GetServClie of every binding), moving every client of the branch in (one UpdServClie
// inserting them all) and confirming one row's edit (UpdServClie of one change). One operator,
// then four at once, each on a service of their own, through two servers on one database
// (operators alternate between them). A timed scenario: run it outside ctest.
//
//   engine_bench [--clients N] [--runs R] [--postgresql URI]
//
// URI names a PostgreSQL server whose role may create databases; without it only SQLite runs.
// Prints the median of the runs per action, in milliseconds, as each operator saw it (a save
// that still collided after the server's retries is redone, as the operator would, and counted
// under "refeitas"), and the ratio of PostgreSQL to SQLite measured in the same run.
#include <fmt/format.h>
#include <stdlib.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <latch>
#include <map>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "server/database_setup.h"
#include "server/service.h"
#include "server/storage.h"

namespace {

using Clock = std::chrono::steady_clock;
constexpr const char* kModule = "rdmClientesServico";
const char* const kActions[] = {"abrir", "mover todos", "confirmar edição"};

struct Settings {
  int clients = 1000;
  int runs = 3;
  std::string postgresql;
};

void fill(const std::string& name, int clients) {
  server::Database db(name, false);
  server::Transaction transaction(db);
  db.exec(
      "INSERT INTO FILIAL VALUES ('0001', 'São Paulo');"
      "INSERT INTO SERVICO VALUES ('0001', '00001', 'Limpeza'), ('0001', '00002', 'Portaria'),"
      " ('0001', '00003', 'Jardinagem'), ('0001', '00004', 'Vigilância');");
  auto client = db.prepare("INSERT INTO CLIENTE VALUES (?, ?, 'J', ?, NULL)");
  auto member = db.prepare("INSERT INTO CLIENTEFILIAL VALUES ('0001', ?, NULL)");
  for (int i = 0; i < clients; ++i) {
    const std::string code = std::to_string(100000 + i);
    client.bind(1, code).bind(2, std::to_string(11222333000100LL + i));
    client.bind(3, fmt::format("Cliente {:05} Comércio Ltda", clients - i)).run();
    client.reset();
    member.bind(1, code).run();
    member.reset();
  }
  transaction.commit();
}

packet::Packet bindings(server::Service& service, const std::string& servico) {
  const auto result = service.call(kModule, "GetServClie", {"0001", servico, "BENCH"}, "BENCH");
  if (!result.ok || !result.packet)
    throw std::runtime_error("GetServClie: " + result.message);
  return *result.packet;
}

// Saves a collision undid after the server's own retries, which the operator then redoes.
std::atomic<int> redone{0};

void save(server::Service& service, const packet::Delta& delta) {
  for (int attempt = 1;; ++attempt) {
    const auto result = service.call(kModule, "UpdServClie", {delta, "BENCH"}, "BENCH");
    if (result.ok)
      return;
    if (result.message.find("coincidiu com outra") == std::string::npos || attempt == 50)
      throw std::runtime_error("UpdServClie: " + result.message);
    ++redone;
  }
}

packet::Row rowOf(const packet::Packet& packet,
                  const std::vector<std::pair<std::string, packet::Value>>& values) {
  packet::Row row(packet.fields.size());
  for (const auto& [field, value] : values)
    row[static_cast<size_t>(packet.fieldIndex(field))] = value;
  return row;
}

// One operator's round on its service: the three actions' times, in milliseconds, then the
// bindings removed again (not timed).
std::vector<double> round(server::Service& service, const std::string& servico, int clients,
                          int run) {
  std::vector<double> took;
  const auto timed = [&](auto&& action) {
    const auto start = Clock::now();
    action();
    took.push_back(std::chrono::duration<double, std::milli>(Clock::now() - start).count());
  };

  packet::Packet empty = bindings(service, servico);
  packet::Delta moveIn{empty.fields, {}};
  for (int i = 0; i < clients; ++i) {
    moveIn.changes.push_back({packet::ChangeKind::Insert,
                              {},
                              rowOf(empty, {{"CDFILIAL", "0001"},
                                            {"CDSERVFILI", servico},
                                            {"CDCLIENTE", std::to_string(100000 + i)},
                                            {"VRSERVFATU", 750.0},
                                            {"DTSERVFATU", 46023.0},
                                            {"CDPRODUTO", " "},
                                            {"IDATIVATABCOR", "S"}})});
  }
  packet::Packet opened;
  timed([&] { save(service, moveIn); });
  timed([&] { opened = bindings(service, servico); });
  packet::Delta edit{opened.fields, {}};
  packet::Row changed = opened.rows.front();
  changed[static_cast<size_t>(opened.fieldIndex("DSEMISSERCLI"))] = fmt::format("edição {}", run);
  edit.changes.push_back({packet::ChangeKind::Modify, opened.rows.front(), changed});
  timed([&] { save(service, edit); });

  packet::Delta out{opened.fields, {}};
  for (const auto& row : bindings(service, servico).rows)
    out.changes.push_back({packet::ChangeKind::Delete, row, {}});
  save(service, out);
  // In the order of kActions.
  return {took[1], took[0], took[2]};
}

double median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

// Medians per action for 1 and 4 operators: results[operators][action].
std::map<int, std::vector<double>> measure(const std::string& name, const Settings& settings) {
  server::ServiceOptions options;
  server::Service first(name, options);
  server::Service second(name, options);
  std::map<int, std::vector<double>> results;
  for (const int operators : {1, 4}) {
    std::vector<std::vector<double>> samples(std::size(kActions));
    for (int run = 0; run < settings.runs; ++run) {
      std::vector<std::vector<double>> times(static_cast<size_t>(operators));
      std::latch start(operators);
      std::vector<std::thread> threads;
      for (int k = 0; k < operators; ++k) {
        threads.emplace_back([&, k] {
          server::Service& service = k % 2 == 0 ? first : second;
          start.arrive_and_wait();
          times[static_cast<size_t>(k)] =
              round(service, fmt::format("{:05}", k + 1), settings.clients, run);
        });
      }
      for (auto& thread : threads)
        thread.join();
      for (const auto& operatorTimes : times) {
        for (size_t a = 0; a < operatorTimes.size(); ++a)
          samples[a].push_back(operatorTimes[a]);
      }
    }
    for (const auto& sample : samples)
      results[operators].push_back(median(sample));
    results[operators].push_back(redone.exchange(0));
  }
  return results;
}

Settings parse(int argc, char** argv) {
  Settings settings;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string option = argv[i];
    if (option == "--clients")
      settings.clients = std::max(1, std::atoi(argv[i + 1]));
    else if (option == "--runs")
      settings.runs = std::max(1, std::atoi(argv[i + 1]));
    else if (option == "--postgresql")
      settings.postgresql = argv[i + 1];
  }
  return settings;
}

}  // namespace

int main(int argc, char** argv) {
  const Settings settings = parse(argc, argv);
  std::string directory = (std::filesystem::temp_directory_path() / "cps-engine-XXXXXX").string();
  if (mkdtemp(directory.data()) == nullptr)
    return 1;
  std::map<std::string, std::map<int, std::vector<double>>> results;
  try {
    const std::string file = directory + "/bench.db";
    server::createDatabase(file, false);
    fill(file, settings.clients);
    results["SQLite"] = measure(file, settings);
    if (!settings.postgresql.empty()) {
      const std::string database = fmt::format("cps_engine_bench_{}", ::getpid());
      server::Database(settings.postgresql).exec("CREATE DATABASE " + database);
      const std::string name = storage::withDatabase(settings.postgresql, database);
      try {
        server::createDatabase(name, false);
        fill(name, settings.clients);
        results["PostgreSQL"] = measure(name, settings);
      } catch (...) {
        server::Database(settings.postgresql)
            .exec("DROP DATABASE IF EXISTS " + database + " WITH (FORCE)");
        throw;
      }
      server::Database(settings.postgresql)
          .exec("DROP DATABASE IF EXISTS " + database + " WITH (FORCE)");
    }
  } catch (const std::exception& e) {
    fmt::print(stderr, "engine_bench: {}\n", e.what());
    std::filesystem::remove_all(directory);
    return 1;
  }
  std::filesystem::remove_all(directory);

  fmt::print("{} clients, median of {} runs, ms per operator\n\n", settings.clients, settings.runs);
  fmt::print("| engine | operators | abrir | mover todos | confirmar edição | refeitas |\n");
  fmt::print("|---|---|---|---|---|---|\n");
  for (const auto& [engine, byOperators] : results) {
    for (const auto& [operators, times] : byOperators)
      fmt::print("| {} | {} | {:.1f} | {:.1f} | {:.1f} | {:.0f} |\n", engine, operators, times[0],
                 times[1], times[2], times[3]);
  }
  if (results.count("PostgreSQL") != 0) {
    fmt::print("\nPostgreSQL / SQLite\n\n| operators | abrir | mover todos | confirmar edição |\n");
    fmt::print("|---|---|---|---|\n");
    for (const int operators : {1, 4}) {
      const auto& pg = results["PostgreSQL"][operators];
      const auto& lite = results["SQLite"][operators];
      fmt::print("| {} | {:.2f} | {:.2f} | {:.2f} |\n", operators, pg[0] / lite[0], pg[1] / lite[1],
                 pg[2] / lite[2]);
    }
  }
  return 0;
}
