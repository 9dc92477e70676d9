#include "host/db/sql_query.h"

#include <strings.h>

#include <charconv>
#include <cstdio>
#include <functional>

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

packet::Value columnValue(const storage::Statement& statement, int column, const Field& field) {
  packet::Value stored = statement.value(column);
  if (std::holds_alternative<std::monostate>(stored) || field.type() == packet::FieldType::Text)
    return std::holds_alternative<double>(stored) ? statement.text(column) : stored;
  if (std::holds_alternative<double>(stored))
    return stored;
  const std::string& text = std::get<std::string>(stored);
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

packet::FieldType typeOfColumn(const storage::Statement& statement, int column) {
  const std::string type = statement.declaredType(column);
  auto has = [&](const char* word) { return strcasestr(type.c_str(), word) != nullptr; };
  if (has("DATE") || has("TIME"))
    return packet::FieldType::DateTime;
  if (has("INT") || has("REAL") || has("FLOA") || has("DOUB") || has("NUM") || has("DEC"))
    return packet::FieldType::Double;
  if (type.empty() && std::holds_alternative<double>(statement.value(column)))
    return packet::FieldType::Double;
  return packet::FieldType::Text;
}

// Calls `found(position, length, name)` for each ":NAME" parameter of an SQL text; quoted texts,
// quoted names, comments and "::" casts are skipped.
void forEachParam(std::string_view sql,
                  const std::function<void(std::size_t, std::size_t, std::string_view)>& found) {
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
      found(i, end - i, sql.substr(i + 1, end - i - 1));
      i = end;
    } else {
      ++i;
    }
  }
}

}  // namespace

std::vector<std::string> sqlParamNames(std::string_view sql) {
  std::vector<std::string> names;
  forEachParam(sql, [&](std::size_t, std::size_t, std::string_view found) {
    for (const auto& n : names) {
      if (n.size() == found.size() && strncasecmp(n.data(), found.data(), found.size()) == 0)
        return;
    }
    names.emplace_back(found);
  });
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
  readParams();
}

void SqlQuery::setDialectSql(storage::Engine engine, std::vector<std::string> lines) {
  if (active())
    throw DataError(messages::kOpen);
  dialectSql_[engine] = std::move(lines);
  readParams();
}

const std::vector<std::string>& SqlQuery::sqlFor(storage::Engine engine) const {
  const auto found = dialectSql_.find(engine);
  return found != dialectSql_.end() ? found->second : sql_;
}

void SqlQuery::readParams() {
  std::vector<std::string> names = sqlParamNames(joinLines(sql_));
  for (const auto& [engine, lines] : dialectSql_) {
    for (auto& name : sqlParamNames(joinLines(lines))) {
      bool known = false;
      for (const auto& n : names)
        known = known || strcasecmp(n.c_str(), name.c_str()) == 0;
      if (!known)
        names.push_back(std::move(name));
    }
  }
  std::vector<Param> params;
  for (auto& name : names) {
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
  // Each ":NAME" becomes the positional parameter of its name, which either engine binds.
  const std::string text = joinLines(sqlFor(database_->engine()));
  std::string positional;
  std::size_t copied = 0;
  forEachParam(text, [&](std::size_t at, std::size_t length, std::string_view found) {
    std::size_t index = 0;
    while (index < params_.size() &&
           !(params_[index].name().size() == found.size() &&
             strncasecmp(params_[index].name().data(), found.data(), found.size()) == 0))
      ++index;
    positional.append(text, copied, at - copied);
    positional += fmt::format("?{}", index + 1);
    copied = at + length;
  });
  positional.append(text, copied, std::string::npos);

  packet::Packet packet;
  try {
    storage::Statement statement = database_->connection().prepare(positional);
    for (std::size_t i = 0; i < params_.size(); ++i) {
      if (!params_[i].isNull())
        statement.bind(static_cast<int>(i + 1), params_[i].asString());
    }
    const bool hasRow = statement.step();
    const int columns = statement.columnCount();
    if (fieldCount() == 0) {
      for (int c = 0; c < columns; ++c)
        addField(statement.columnName(c), typeOfColumn(statement, c));
    }
    std::vector<int> columnOf;
    for (int f = 0; f < fieldCount(); ++f) {
      int found = -1;
      for (int c = 0; c < columns && found < 0; ++c)
        if (strcasecmp(statement.columnName(c).c_str(), field(f).name().c_str()) == 0)
          found = c;
      if (found < 0)
        throw DataError(messages::fieldNotFound(field(f).name()));
      columnOf.push_back(found);
    }
    packet.fields = fieldDefs();
    for (bool row = hasRow; row; row = statement.step()) {
      packet::Row values;
      values.reserve(columnOf.size());
      for (int f = 0; f < fieldCount(); ++f)
        values.push_back(columnValue(statement, columnOf[static_cast<std::size_t>(f)], field(f)));
      packet.rows.push_back(std::move(values));
    }
  } catch (const storage::DbError& e) {
    throw DataError(fmt::format("Erro na consulta '{}': {}", name(), e.what()));
  }
  loadPacket(packet);
}

}  // namespace db
