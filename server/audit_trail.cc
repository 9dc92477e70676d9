#include "server/audit_trail.h"

#include <fmt/format.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <vector>

#include "server/day_count.h"

namespace server {

namespace {

// The row's own key beyond branch, service and client, and the columns that only record who
// changed it and when, of each table the methods write.
struct TrailedTable {
  std::string_view name;
  std::vector<std::string_view> key;
  std::vector<std::string_view> changeStamp;
};

const std::array<TrailedTable, 6> kTables = {{
    {"SERVCLIE", {}, {"CDOPERALTSERVCLIE", "DTALTSERVCLIE", "NRVERSAO"}},
    {"HISTSERVFATU", {"DTSRVFATUHIS", "DTALTEFATHIS"}, {"CDOPERALTHIS"}},
    {"TURNOSERVCLIE", {"CDTURNO"}, {"DTALTSERVCLIETURN", "CDOPERALTSERVCLIETURN"}},
    {"HISTTURNOSERVCLIE",
     {"CDTURNO", "DTSERVCLIETURN", "DTALTSERVCLIETURN"},
     {"CDOPERALTSERVCLIETURN"}},
    {"CORRPRECSERV", {"VRPEINICSERV", "VRPEFIMSERV"}, {"CDOPERALTCORR", "DTALTCORR"}},
    {"DTREPLICAVALOR", {"DTALTREPLICA"}, {"CDOPERALT"}},
}};

// Trail rows written by one statement in a batch: 13 parameters each, under the 999 an older
// SQLite allows.
constexpr size_t kRowsPerStatement = 64;

// The connection keeps each statement by its text, so each size is prepared once.
std::string insertSql(size_t rows) {
  std::string sql =
      "INSERT INTO TRILHAALT (DTALTERACAO, CDOPERADOR, NMMETODO, NMTABELA, IDOPERACAO, "
      "CDFILIAL, CDSERVFILI, CDCLIENTE, DSCHAVE, NMCAMPO, IDTIPOVALOR, DSVALORANT, "
      "DSVALORNOVO) VALUES ";
  for (size_t i = 0; i < rows; ++i)
    sql += i == 0 ? "(?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)"
                  : ", (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)";
  return sql;
}

// The texts of the two sizes written most: one row, and a full batch.
const std::string& commonInsertSql(size_t rows) {
  static const std::string one = insertSql(1);
  static const std::string full = insertSql(kRowsPerStatement);
  return rows == 1 ? one : full;
}

constexpr std::array<std::string_view, 3> kBindingColumns = {"CDFILIAL", "CDSERVFILI", "CDCLIENTE"};

const TrailedTable& tableOf(std::string_view name) {
  for (const auto& table : kTables) {
    if (table.name == name)
      return table;
  }
  throw DbError(fmt::format("A tabela {} não tem trilha de alterações.", name));
}

bool contains(const std::vector<std::string_view>& names, std::string_view name) {
  return std::find(names.begin(), names.end(), name) != names.end();
}

// Whether a column is a field people change, rather than part of the row's identity or its
// change stamp.
bool isTrailedField(const TrailedTable& table, std::string_view column) {
  return std::find(kBindingColumns.begin(), kBindingColumns.end(), column) ==
             kBindingColumns.end() &&
         !contains(table.key, column) && !contains(table.changeStamp, column);
}

// Every date column of this schema is named DT...; the trail writes dates as day counts.
bool isDateColumn(std::string_view column) {
  return column.starts_with("DT");
}

// "01/04/2026", or with the time when it has one: "15/03/2026 10:22:01,123".
std::string formatInstant(double dayCount) {
  const double fraction = dayCount - std::floor(dayCount);
  const auto ms = static_cast<long long>(std::llround(fraction * 86'400'000.0));
  if (!std::isfinite(dayCount) || ms == 0 || ms >= 86'400'000)
    return formatDate(std::round(dayCount));
  return fmt::format("{} {:02}:{:02}:{:02},{:03}", formatDate(dayCount), ms / 3'600'000,
                     ms / 60'000 % 60, ms / 1000 % 60, ms % 1000);
}

std::string describeKeyValue(std::string_view column, const packet::Value& value) {
  if (const auto* text = std::get_if<std::string>(&value))
    return *text;
  if (const auto* number = std::get_if<double>(&value); number != nullptr && isDateColumn(column))
    return formatInstant(*number);
  return describeValue(value);
}

const packet::Value& columnValue(const ColumnValues& values, std::string_view column) {
  static const packet::Value none;
  for (const auto& [name, value] : values) {
    if (name == column)
      return value;
  }
  return none;
}

}  // namespace

std::optional<std::string> trailText(const packet::Value& value) {
  if (const auto* text = std::get_if<std::string>(&value))
    return *text;
  if (const auto* number = std::get_if<double>(&value))
    return fmt::format("{}", *number);
  return std::nullopt;
}

AuditTrail::AuditTrail(Database& db, std::string operatorCode, std::string method)
    : db_(db),
      operatorCode_(std::move(operatorCode)),
      method_(std::move(method)),
      when_(nowAsDayCount()) {
}

template <typename ValueOf>
AuditTrail::RowIdentity AuditTrail::identify(std::string_view table, const ValueOf& valueOf) {
  std::string key;
  for (const auto column : tableOf(table).key) {
    if (!key.empty())
      key += "; ";
    key += fmt::format("{}={}", column, describeKeyValue(column, valueOf(column)));
  }
  return {valueOf("CDFILIAL"), valueOf("CDSERVFILI"), valueOf("CDCLIENTE"),
          key.empty() ? std::nullopt : std::optional<std::string>(std::move(key))};
}

void AuditTrail::record(std::string_view table, TrailOperation operation, const Record& row,
                        std::string_view field, const packet::Value& before,
                        const packet::Value& after) {
  const auto valueOf = [&](std::string_view column) -> const packet::Value& {
    return row.get(column);
  };
  append(table, operation, identify(table, valueOf), field, before, after);
}

void AuditTrail::append(std::string_view table, TrailOperation operation, const RowIdentity& row,
                        std::string_view field, const packet::Value& before,
                        const packet::Value& after) {
  const char* kind = isDateColumn(field)                               ? "D"
                     : packet::isText(before) || packet::isText(after) ? "T"
                                                                       : "N";
  TrailRow trailRow{std::string(table),
                    operation == TrailOperation::Insert  ? "I"
                    : operation == TrailOperation::Alter ? "A"
                                                         : "E",
                    row.filial,
                    row.servico,
                    row.cliente,
                    row.key,
                    std::string(field),
                    kind,
                    trailText(before),
                    trailText(after)};
  if (!batching_)
    return write(&trailRow, 1);
  pending_.push_back(std::move(trailRow));
  if (pending_.size() == kRowsPerStatement) {
    write(pending_.data(), pending_.size());
    pending_.clear();
  }
}

void AuditTrail::beginBatch() {
  pending_.clear();
  batching_ = true;
}

void AuditTrail::flush() {
  batching_ = false;
  if (!pending_.empty())
    write(pending_.data(), pending_.size());
  pending_.clear();
}

void AuditTrail::write(const TrailRow* rows, size_t count) {
  Statement append = db_.prepare(count == 1 || count == kRowsPerStatement ? commonInsertSql(count)
                                                                          : insertSql(count));
  // The rows and this trail outlive the statement, so their texts are bound where they stand:
  // a batch binds hundreds of texts per statement.
  const auto bindText = [&](int index, const std::optional<std::string>& text) {
    if (text)
      append.bindUnowned(index, *text);
    else
      append.bindNull(index);
  };
  const auto bindValue = [&](int index, const packet::Value& value) {
    if (const auto* text = std::get_if<std::string>(&value))
      append.bindUnowned(index, *text);
    else
      append.bind(index, value);
  };
  for (size_t i = 0; i < count; ++i) {
    const TrailRow& row = rows[i];
    const int first = static_cast<int>(i) * 13;
    append.bind(first + 1, when_).bindUnowned(first + 2, operatorCode_);
    append.bindUnowned(first + 3, method_).bindUnowned(first + 4, row.table);
    append.bindUnowned(first + 5, row.operation);
    bindValue(first + 6, row.filial);
    bindValue(first + 7, row.servico);
    bindValue(first + 8, row.cliente);
    bindText(first + 9, row.key);
    append.bindUnowned(first + 10, row.field).bindUnowned(first + 11, row.kind);
    bindText(first + 12, row.before);
    bindText(first + 13, row.after);
  }
  append.run();
}

void AuditTrail::insert(std::string_view table, const ColumnValues& values) {
  insertRow(db_, table, values);
  const TrailedTable& trailed = tableOf(table);
  const RowIdentity row = identify(table, [&](std::string_view column) -> const packet::Value& {
    return columnValue(values, column);
  });
  for (const auto& [column, value] : values) {
    if (isTrailedField(trailed, column) && !sameValue(value, std::monostate{}))
      append(table, TrailOperation::Insert, row, column, std::monostate{}, value);
  }
}

void AuditTrail::update(std::string_view table, const Record& stored, const ColumnValues& set,
                        const ColumnValues& where) {
  updateRows(db_, table, set, where);
  const TrailedTable& trailed = tableOf(table);
  Record stated = stored;
  for (const auto& [column, value] : where)
    stated.set(column, value);
  const RowIdentity row = identify(
      table, [&](std::string_view column) -> const packet::Value& { return stated.get(column); });
  // A key field may change too (a correction interval's bounds): the trail names the row by its
  // old key and records the new one as a field.
  for (const auto& [column, value] : set) {
    const packet::Value& before = stored.get(column);
    const bool changeable = isTrailedField(trailed, column) || contains(trailed.key, column);
    if (changeable && !sameValue(before, value))
      append(table, TrailOperation::Alter, row, column, before, value);
  }
}

void AuditTrail::remove(std::string_view table, const ColumnValues& where) {
  const TrailedTable& trailed = tableOf(table);
  std::string condition;
  for (const auto& [column, value] : where)
    condition += fmt::format("{}{} = ?", condition.empty() ? "" : " AND ", column);
  auto rows = db_.prepare(fmt::format("SELECT * FROM {} WHERE {}", table, condition));
  int index = 1;
  for (const auto& [column, value] : where)
    rows.bind(index++, value);
  std::vector<ColumnValues> removed;
  while (rows.step()) {
    ColumnValues columns;
    for (int i = 0; i < rows.columnCount(); ++i)
      columns.emplace_back(rows.columnName(i), rows.value(i));
    removed.push_back(std::move(columns));
  }
  for (const ColumnValues& columns : removed) {
    const RowIdentity row = identify(table, [&](std::string_view column) -> const packet::Value& {
      return columnValue(columns, column);
    });
    for (const auto& [column, value] : columns) {
      if (isTrailedField(trailed, column) && !sameValue(value, std::monostate{}))
        append(table, TrailOperation::Delete, row, column, value, std::monostate{});
    }
  }
  deleteRows(db_, table, where);
}

}  // namespace server
