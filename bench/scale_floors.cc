#include "bench/scale_floors.h"

#include <algorithm>
#include <chrono>
#include <optional>
#include <vector>

#include "bench/scale_database.h"
#include "packet/json_text.h"
#include "server/storage.h"

namespace bench {

namespace {

using Clock = std::chrono::steady_clock;

double since(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The columns and joins of the bound clients as the server reads them.
constexpr const char* kBoundSql =
    "SELECT SC.CDFILIAL, SC.CDCLIENTE, C.NMRAZSOCCLIE, SC.CDGRSERVFAT, SC.CDPRODUTO, P.CDARVPROD, "
    "P.NMPRODUTO, SC.VRTAXAPRVAR, SC.IDTCUSPRVAR, SC.DTSERVFATU, SC.VRSERVFATU, SC.VRSERVFATDOM, "
    "SC.VRSERVFATSEG, SC.VRSERVFATTER, SC.VRSERVFATQUA, SC.VRSERVFATQUI, SC.VRSERVFATSEX, "
    "SC.VRSERVFATSAB, SC.VRSERVFATFER, SC.QTEFETMINI, SC.QTEFETMINDOM, SC.QTEFETMINSEG, "
    "SC.QTEFETMINTER, SC.QTEFETMINQUA, SC.QTEFETMINQUI, SC.QTEFETMINSEX, SC.QTEFETMINSAB, "
    "SC.QTEFETMINFER, C.NRINSJURCLIE, C.IDTPIJURCLIE, SC.IDEXVLRVENDA, SC.IDVRPRFIXAUT, "
    "C.NMFANTCLIE, SC.CDSERVFILI, SC.DSEMISSERCLI, SC.DSPRODEMISDOM, SC.DSPRODEMISSEG, "
    "SC.DSPRODEMISTER, SC.DSPRODEMISQUA, SC.DSPRODEMISQUI, SC.DSPRODEMISSEX, SC.DSPRODEMISSAB, "
    "SC.DSPRODEMISFER, SC.QTVOLPROSERVCLI, SC.IDATIVATABCOR, CF.IDCOREFECLIFILI "
    "FROM SERVCLIE SC JOIN CLIENTE C ON C.CDCLIENTE = SC.CDCLIENTE "
    "LEFT JOIN PRODUTO P ON P.CDPRODUTO = SC.CDPRODUTO "
    "LEFT JOIN CLIENTEFILIAL CF ON CF.CDFILIAL = SC.CDFILIAL AND CF.CDCLIENTE = SC.CDCLIENTE "
    "WHERE SC.CDFILIAL = ? AND SC.CDSERVFILI = ? "
    "ORDER BY C.NMRAZSOCCLIE COLLATE PTBR, SC.CDCLIENTE";

constexpr const char* kBindableSql =
    "SELECT C.NMRAZSOCCLIE, C.NRINSJURCLIE, C.IDTPIJURCLIE, C.CDCLIENTE, C.NMFANTCLIE "
    "FROM CLIENTEFILIAL CF JOIN CLIENTE C ON C.CDCLIENTE = CF.CDCLIENTE "
    "WHERE CF.CDFILIAL = ? AND NOT EXISTS (SELECT 1 FROM SERVCLIE SC WHERE "
    "SC.CDFILIAL = CF.CDFILIAL AND SC.CDSERVFILI = ? AND SC.CDCLIENTE = CF.CDCLIENTE) "
    "ORDER BY C.NMRAZSOCCLIE COLLATE PTBR, C.CDCLIENTE";

// Steps the query and writes its rows as the arrays of values a packet carries.
void readAsJson(server::Database& db, const char* sql, ReadFloor& floor) {
  auto statement = db.prepare(sql);
  statement.bind(1, kBranch).bind(2, kService);
  std::string json = "[";
  // Each value is written into a text of its own, then appended: the writer grows the text it
  // writes into by its whole size, which on the growing answer would cost more than the floor.
  std::string valueText;
  const int width = statement.columnCount();
  while (statement.step()) {
    json += floor.rows++ > 0 ? ",[" : "[";
    for (int c = 0; c < width; ++c) {
      if (c > 0)
        json += ',';
      const packet::Value value = statement.value(c);
      if (const auto* text = std::get_if<std::string>(&value)) {
        floor.valueBytes += static_cast<std::int64_t>(text->size());
        valueText.clear();
        packet::appendJsonString(valueText, *text);
        json += valueText;
      } else if (const auto* number = std::get_if<double>(&value)) {
        floor.valueBytes += 8;
        valueText.clear();
        packet::appendJsonNumber(valueText, *number);
        json += valueText;
      } else {
        json += "null";
      }
    }
    json += ']';
  }
  json += ']';
  floor.jsonBytes += static_cast<std::int64_t>(json.size());
}

}  // namespace

ReadFloor readFloor(const std::string& path) {
  server::Database db(path, false);
  ReadFloor floor;
  const auto start = Clock::now();
  readAsJson(db, kBoundSql, floor);
  readAsJson(db, kBindableSql, floor);
  floor.seconds = since(start);
  return floor;
}

ReadFloor reloadFloor(const std::string& path) {
  server::Database db(path, false);
  ReadFloor floor;
  const auto start = Clock::now();
  readAsJson(db, kBoundSql, floor);
  floor.seconds = since(start);
  return floor;
}

namespace {

void dropTriggers(server::Database& db) {
  std::vector<std::string> triggers;
  {
    auto list = db.prepare("SELECT name FROM sqlite_master WHERE type = 'trigger'");
    while (list.step())
      triggers.push_back(list.text(0));
  }
  for (const auto& name : triggers)
    db.exec("DROP TRIGGER \"" + name + "\"");
}

std::int64_t lastRowid(server::Database& db, const std::string& table) {
  auto statement = db.prepare("SELECT COALESCE(MAX(rowid), 0) FROM " + table);
  return statement.step() ? static_cast<std::int64_t>(statement.number(0)) : 0;
}

}  // namespace

WrittenRows readWrittenRows(const std::string& pristine, const std::string& moved) {
  WrittenRows written;
  server::Database before(pristine, false);
  server::Database after(moved, false);
  for (const char* table : {"SERVCLIE", "HISTSERVFATU", "TRILHAALT"}) {
    TableRows gained{table, {}, {}};
    auto rows = after.prepare("SELECT * FROM " + gained.table + " WHERE rowid > ?");
    rows.bind(1, static_cast<double>(lastRowid(before, gained.table)));
    for (int c = 0; c < rows.columnCount(); ++c)
      gained.columns.push_back(rows.columnName(c));
    while (rows.step()) {
      std::vector<packet::Value> values;
      values.reserve(gained.columns.size());
      for (int c = 0; c < rows.columnCount(); ++c)
        values.push_back(rows.value(c));
      gained.rows.push_back(std::move(values));
    }
    written.push_back(std::move(gained));
  }
  return written;
}

std::int64_t rowCount(const WrittenRows& written) {
  std::int64_t rows = 0;
  for (const TableRows& gained : written)
    rows += static_cast<std::int64_t>(gained.rows.size());
  return rows;
}

double writtenRowsFloor(const WrittenRows& written, const std::string& pristine,
                        const std::string& scratch) {
  copyDatabase(pristine, scratch);
  server::Database db(scratch, false);
  dropTriggers(db);
  const auto start = Clock::now();
  server::Transaction transaction(db);
  for (const TableRows& gained : written) {
    // As many rows to a statement as 900 parameters take: the statements' own cost is
    // spread over the rows, as the server's batched trail does.
    const size_t width = gained.columns.size();
    const size_t perStatement = std::max<size_t>(1, 900 / std::max<size_t>(1, width));
    std::string columns, marks;
    for (const auto& column : gained.columns) {
      columns += (columns.empty() ? "" : ", ") + column;
      marks += marks.empty() ? "(?" : ", ?";
    }
    marks += ')';
    const auto insertSql = [&](size_t rows) {
      std::string sql = "INSERT INTO " + gained.table + " (" + columns + ") VALUES ";
      for (size_t r = 0; r < rows; ++r)
        sql += (r > 0 ? ", " : "") + marks;
      return sql;
    };
    auto full = db.prepare(insertSql(perStatement));
    for (size_t first = 0; first < gained.rows.size(); first += perStatement) {
      const size_t count = std::min(perStatement, gained.rows.size() - first);
      auto partial =
          count < perStatement ? std::optional(db.prepare(insertSql(count))) : std::nullopt;
      server::Statement& insert = partial ? *partial : full;
      for (size_t r = 0; r < count; ++r) {
        const auto& values = gained.rows[first + r];
        for (size_t c = 0; c < width; ++c)
          insert.bind(static_cast<int>(r * width + c) + 1, values[c]);
      }
      insert.run();
      insert.reset();
    }
  }
  transaction.commit();
  return since(start);
}

double insertFloor(const std::string& path, int clients) {
  server::Database db(path, false);
  dropTriggers(db);
  const auto start = Clock::now();
  server::Transaction transaction(db);
  auto insert = db.prepare(
      "INSERT INTO SERVCLIE (CDFILIAL, CDSERVFILI, CDCLIENTE, CDPRODUTO, VRTAXAPRVAR, IDTCUSPRVAR, "
      "DTSERVFATU, VRSERVFATU, VRSERVFATDOM, VRSERVFATSEG, VRSERVFATTER, VRSERVFATQUA, "
      "VRSERVFATQUI, VRSERVFATSEX, VRSERVFATSAB, VRSERVFATFER, QTEFETMINI, QTEFETMINDOM, "
      "QTEFETMINSEG, QTEFETMINTER, QTEFETMINQUA, QTEFETMINQUI, QTEFETMINSEX, QTEFETMINSAB, "
      "QTEFETMINFER, QTVOLPROSERVCLI, IDATIVATABCOR, CDOPERALTSERVCLIE, DTALTSERVCLIE) "
      "VALUES ('0001', '00001', ?, ' ', 0, 0, 46113, 2750.5, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, "
      "0, 0, 0, 0, 0, 0, 0, 'S', 'OPERADOR', 46096.5)");
  for (int i = clients; i < 2 * clients; ++i) {
    insert.bind(1, std::to_string(1000000 + i)).run();
    insert.reset();
  }
  transaction.commit();
  return since(start);
}

double updateFloor(const std::string& path) {
  server::Database db(path, false);
  const auto start = Clock::now();
  server::Transaction transaction(db);
  auto update = db.prepare(
      "UPDATE SERVCLIE SET DSEMISSERCLI = ? WHERE CDFILIAL = '0001' AND CDSERVFILI = '00001' AND "
      "CDCLIENTE = '1000001'");
  update.bind(1, "Portaria 24 horas").run();
  transaction.commit();
  return since(start);
}

}  // namespace bench
