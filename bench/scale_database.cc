#include "bench/scale_database.h"

#include <array>
#include <cstdint>
#include <filesystem>

#include "server/database_setup.h"
#include "server/storage.h"

namespace bench {

namespace {

constexpr std::array<const char*, 12> kKinds = {
    "Condomínio Edifício", "Residencial", "Clínica Médica", "Hotel",       "Escola",
    "Supermercado",        "Indústria",   "Ótica",          "Água Branca", "Edifício Comercial",
    "Associação",          "Laboratório"};
constexpr std::array<const char*, 10> kPlaces = {"Jardins",      "Moema",     "Lapa",  "Ipiranga",
                                                 "Santana",      "Pinheiros", "Mooca", "Tatuapé",
                                                 "Vila Mariana", "Butantã"};

// A fixed pseudo-random sequence, so every run builds the same database.
std::uint32_t scramble(std::uint32_t x) {
  x ^= x >> 16;
  x *= 0x7feb352dU;
  x ^= x >> 15;
  x *= 0x846ca68bU;
  x ^= x >> 16;
  return x;
}

std::string clientCode(int i) {
  return std::to_string(1000000 + i);
}

}  // namespace

void buildScaleDatabase(const std::string& path, int clients) {
  server::createDatabase(path, false);
  server::Database db(path, false);
  db.exec("PRAGMA synchronous = OFF");
  server::Transaction transaction(db);
  db.exec(
      "INSERT INTO FILIAL VALUES ('0001', 'São Paulo');"
      "INSERT INTO SERVICO VALUES ('0001', '00001', 'Limpeza e conservação');"
      "INSERT INTO PRODUTO VALUES ('000001', 'Detergente neutro 5 L', '1.01.001', '3');"
      "INSERT INTO TIPOCUSTO VALUES ('01', 'Custo médio', 'S');"
      "INSERT INTO TIPOCUSTO VALUES ('02', 'Última compra', 'S');"
      "INSERT INTO TURNO VALUES ('0001', '00001', '1', 'Diurno');"
      "INSERT INTO TURNO VALUES ('0001', '00001', '2', 'Noturno');"
      "INSERT INTO TURNO VALUES ('0001', '00001', '3', 'Integral');");
  auto client = db.prepare("INSERT INTO CLIENTE VALUES (?, ?, 'J', ?, ?)");
  auto member = db.prepare("INSERT INTO CLIENTEFILIAL VALUES ('0001', ?, NULL)");
  auto binding = db.prepare(
      "INSERT INTO SERVCLIE (CDFILIAL, CDSERVFILI, CDCLIENTE, CDPRODUTO, IDTCUSPRVAR, VRTAXAPRVAR, "
      "VRSERVFATU, DTSERVFATU, VRSERVFATDOM, VRSERVFATSEG, VRSERVFATTER, VRSERVFATQUA, "
      "VRSERVFATQUI, VRSERVFATSEX, VRSERVFATSAB, VRSERVFATFER, QTEFETMINI, QTEFETMINDOM, "
      "QTEFETMINSEG, QTEFETMINTER, QTEFETMINQUA, QTEFETMINQUI, QTEFETMINSEX, QTEFETMINSAB, "
      "QTEFETMINFER, QTVOLPROSERVCLI, IDEXVLRVENDA, IDVRPRFIXAUT, IDATIVATABCOR, DSEMISSERCLI, "
      "DSPRODEMISDOM) VALUES ('0001', '00001', ?, ' ', 1, 0, ?, 46023, 0, ?, ?, ?, ?, ?, 0, 0, 4, "
      "0, 4, 4, 4, 4, 4, 0, 0, 800, 'N', 'N', 'S', ?, 'Plantão de domingo')");
  // Clients and their branch rows first: a branch row's trigger looks for the client's bindings
  // among all the branch's bindings, so bindings written before would make the build quadratic.
  for (int i = 0; i < 2 * clients; ++i) {
    const std::uint32_t r = scramble(static_cast<std::uint32_t>(i));
    const std::string code = clientCode(i);
    const std::string name = std::string(kKinds[r % kKinds.size()]) + " " +
                             kPlaces[(r / 16) % kPlaces.size()] + " " + std::to_string(r % 100000) +
                             " Ltda";
    client.bind(1, code).bind(2, std::to_string(11222333000100LL + i)).bind(3, name);
    client.bind(4, std::string(kPlaces[(r / 256) % kPlaces.size()]) + " " + code).run();
    client.reset();
    member.bind(1, code).run();
    member.reset();
  }
  for (int i = 0; i < clients; ++i) {
    const std::uint32_t r = scramble(static_cast<std::uint32_t>(i));
    const std::string code = clientCode(i);
    const double value = 1500.0 + (r % 400000) / 100.0;
    binding.bind(1, code).bind(2, value);
    for (int day = 0; day < 5; ++day)
      binding.bind(3 + day, value / 22.0);
    binding.bind(8, "Limpeza e conservação - mensal").run();
    binding.reset();
  }
  transaction.commit();
  db.exec("PRAGMA wal_checkpoint(TRUNCATE)");
}

void copyDatabase(const std::string& from, const std::string& to) {
  std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing);
  for (const char* suffix : {"-wal", "-shm"}) {
    std::error_code ignored;
    std::filesystem::remove(to + suffix, ignored);
  }
}

}  // namespace bench
