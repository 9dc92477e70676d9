#include "host/db/sql_query.h"

#include <sqlite3.h>
#include <strings.h>

#include <charconv>
#include <cstdio>
#include <memory>

#include <fmt/format.h>

#include "host/db/database.h"
#include "host/ui/regional.h"

namespace db {

namespace {

bool isNameStart(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
}

bool isNameChar(char c) {
  return isNameStart(c) || (c >= '0' && c <= '9');
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::string text;
  for (const auto& line : lines) {
    text += line;
    text += '\n';
  }
  return text;
}

struct StatementDeleter {
  void operator()(sqlite3_stmt* statement) const { sqlite3_finalize(statement); }
};
using Statement = std::unique_ptr<sqlite3_stmt, StatementDeleter>;

std::string columnText(sqlite3_stmt* statement, int column) {
  const auto* text = sqlite3_column_text(statement, column);
  const int bytes = sqlite3_column_bytes(statement, column);
  return text != nullptr ? std::string(reinterpret_cast<const char*>(text), bytes) : std::string();
}

// ISO texts ("2024-03-01" or "2024-03-01 10:30:00") as day counts.
std::optional<double> isoDate(const std::string& text) {
  int y = 0, m = 0, d = 0, hh = 0, mm = 0, ss = 0;
  const int read =
      std::sscanf(text.c_str(), "%4d-%2d-%2d%*[ T]%2d:%2d:%2d", &y, &m, &d, &hh, &mm, &ss);
  if (read < 3 || !ui::regional::isValidDate(y, m, d))
    return std::nullopt;
  if (hh > 23 || mm > 59 || ss > 59 || hh < 0 || mm < 0 || ss < 0)
    return std::nullopt;
  return ui::regional::encodeDate(y, m, d) + ui::regional::encodeTime(hh, mm, ss);
}

packet::Value columnValue(sqlite3_stmt* statement, int column, const Field& field) {
  const int kind = sqlite3_column_type(statement, column);
  if (kind == SQLITE_NULL)
    return {};
  if (field.type() == packet::FieldType::Text)
    return columnText(statement, column);
  if (kind == SQLITE_INTEGER || kind == SQLITE_FLOAT)
    return sqlite3_column_double(statement, column);
  const std::string text = columnText(statement, column);
  if (field.type() == packet::FieldType::DateTime) {
    if (const auto days = isoDate(text))
      return *days;
  } else {
    double number = 0;
    const auto end = text.data() + text.size();
    const auto result = std::from_chars(text.data(), end, number);
    if (result.ec == std::errc() && result.ptr == end)
      return number;
  }
  throw DataError(fmt::format("{} ('{}')", messages::wrongValueType(field.name()), text));
}

packet::FieldType typeOfColumn(sqlite3_stmt* statement, int column) {
  const char* declared = sqlite3_column_decltype(statement, column);
  const std::string type = declared != nullptr ? declared : "";
  auto has = [&](const char* word) { return strcasestr(type.c_str(), word) != nullptr; };
  if (has("DATE") || has("TIME"))
    return packet::FieldType::DateTime;
  if (has("INT") || has("REAL") || has("FLOA") || has("DOUB") || has("NUM") || has("DEC"))
    return packet::FieldType::Double;
  if (declared == nullptr) {
    const int kind = sqlite3_column_type(statement, column);
    if (kind == SQLITE_INTEGER || kind == SQLITE_FLOAT)
      return packet::FieldType::Double;
  }
  return packet::FieldType::Text;
}

}  // namespace

std::vector<std::string> sqlParamNames(std::string_view sql) {
  std::vector<std::string> names;
  std::size_t i = 0;
  auto skipTo = [&](std::string_view end) {
    const auto at = sql.find(end, i);
    i = at == std::string_view::npos ? sql.size() : at + end.size();
  };
  while (i < sql.size()) {
    const char c = sql[i];
    if (c == '\'' || c == '"') {
      ++i;
      skipTo(std::string_view(&c, 1));  // a doubled quote just starts the next quoted run
    } else if (c == '-' && i + 1 < sql.size() && sql[i + 1] == '-') {
      skipTo("\n");
    } else if (c == '/' && i + 1 < sql.size() && sql[i + 1] == '*') {
      i += 2;
      skipTo("*/");
    } else if (c == ':' && i + 1 < sql.size() && isNameStart(sql[i + 1]) &&
               (i == 0 || sql[i - 1] != ':')) {
      std::size_t end = i + 1;
      while (end < sql.size() && isNameChar(sql[end]))
        ++end;
      std::string name(sql.substr(i + 1, end - i - 1));
      bool known = false;
      for (const auto& n : names)
        known = known || strcasecmp(n.c_str(), name.c_str()) == 0;
      if (!known)
        names.push_back(std::move(name));
      i = end;
    } else {
      ++i;
    }
  }
  return names;
}

SqlQuery::SqlQuery(std::string name, Database* database)
    : DataSet(std::move(name)), database_(database) {
  setReadOnly(true);
}

void SqlQuery::setSql(std::vector<std::string> lines) {
  if (active())
    throw DataError(messages::kOpen);
  sql_ = std::move(lines);
  std::vector<Param> params;
  for (auto& name : sqlParamNames(joinLines(sql_))) {
    Param param(name);
    for (const auto& old : params_)
      if (strcasecmp(old.name().c_str(), name.c_str()) == 0 && !old.isNull())
        param.setAsString(old.asString());
    params.push_back(std::move(param));
  }
  params_ = std::move(params);
}

Param& SqlQuery::paramByName(std::string_view name) {
  const std::string key(name);
  for (auto& p : params_)
    if (strcasecmp(p.name().c_str(), key.c_str()) == 0)
      return p;
  throw DataError(messages::paramNotFound(name));
}

void SqlQuery::open() {
  if (active())
    return;
  if (database_ == nullptr)
    throw DataError(fmt::format("A consulta '{}' não tem banco de dados.", name()));
  sqlite3* handle = database_->handle();
  const std::string text = joinLines(sql_);
  sqlite3_stmt* raw = nullptr;
  if (sqlite3_prepare_v2(handle, text.c_str(), static_cast<int>(text.size()), &raw, nullptr) !=
          SQLITE_OK ||
      raw == nullptr) {
    sqlite3_finalize(raw);
    throw DataError(fmt::format("Erro na consulta '{}': {}", name(), sqlite3_errmsg(handle)));
  }
  Statement statement(raw);
  for (const auto& param : params_) {
    const std::string key = ":" + param.name();
    const int index = sqlite3_bind_parameter_index(raw, key.c_str());
    if (index == 0)
      continue;
    const int rc = param.isNull() ? sqlite3_bind_null(raw, index)
                                  : sqlite3_bind_text(raw, index, param.asString().c_str(),
                                                      static_cast<int>(param.asString().size()),
                                                      SQLITE_TRANSIENT);
    if (rc != SQLITE_OK)
      throw DataError(fmt::format("Erro na consulta '{}': {}", name(), sqlite3_errmsg(handle)));
  }

  const int columns = sqlite3_column_count(raw);
  std::vector<int> columnOf;
  bool defineFields = fieldCount() == 0;
  packet::Packet packet;
  int rc = sqlite3_step(raw);
  if (defineFields) {
    for (int c = 0; c < columns; ++c)
      addField(sqlite3_column_name(raw, c), typeOfColumn(raw, c));
  }
  for (int f = 0; f < fieldCount(); ++f) {
    int found = -1;
    for (int c = 0; c < columns && found < 0; ++c)
      if (strcasecmp(sqlite3_column_name(raw, c), field(f).name().c_str()) == 0)
        found = c;
    if (found < 0)
      throw DataError(messages::fieldNotFound(field(f).name()));
    columnOf.push_back(found);
  }
  packet.fields = fieldDefs();
  for (; rc == SQLITE_ROW; rc = sqlite3_step(raw)) {
    packet::Row row;
    row.reserve(columnOf.size());
    for (int f = 0; f < fieldCount(); ++f)
      row.push_back(columnValue(raw, columnOf[static_cast<std::size_t>(f)], field(f)));
    packet.rows.push_back(std::move(row));
  }
  if (rc != SQLITE_DONE)
    throw DataError(fmt::format("Erro na consulta '{}': {}", name(), sqlite3_errmsg(handle)));
  loadPacket(packet);
}

}  // namespace db
