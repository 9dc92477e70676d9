#include "server/table_rows.h"

#include <fmt/format.h>
#include <strings.h>

#include <algorithm>

namespace server {

namespace {

std::string joined(const ColumnValues& columns, std::string_view format, std::string_view sep) {
  std::string out;
  for (size_t i = 0; i < columns.size(); ++i) {
    if (i > 0)
      out += sep;
    out += fmt::format(fmt::runtime(format), columns[i].first);
  }
  return out;
}

int bindAll(Statement& statement, const ColumnValues& values, int first) {
  int index = first;
  for (const auto& [name, value] : values)
    statement.bind(index++, value);
  return index;
}

}  // namespace

packet::Packet readPacket(Statement& statement, const DataSetSpec& spec, packet::RowForm form) {
  const auto& fields = spec.fields();
  const int width = static_cast<int>(fields.size());
  if (statement.columnCount() != width) {
    throw DbError(fmt::format("Consulta de {} com {} colunas; esperadas {}.", spec.name(),
                              statement.columnCount(), width));
  }
  for (int i = 0; i < width; ++i) {
    if (strcasecmp(statement.columnName(i).c_str(), fields[i].name.c_str()) != 0) {
      throw DbError(fmt::format("Consulta de {}: coluna {} é '{}', esperado '{}'.", spec.name(),
                                i + 1, statement.columnName(i), fields[i].name));
    }
  }
  packet::Packet packet;
  packet.fields = spec.fieldDefs();
  if (form == packet::RowForm::Packed) {
    packet::PackedRowBuilder row;
    while (statement.step()) {
      for (int i = 0; i < width; ++i) {
        if (statement.isNull(i))
          row.addNull();
        else if (fields[i].type == packet::FieldType::Text)
          row.addText(statement.textView(i));
        else
          row.addNumber(statement.number(i));
      }
      packet.packedRows.push_back(row.take());
    }
    return packet;
  }
  while (statement.step()) {
    packet::Row row;
    row.reserve(fields.size());
    for (int i = 0; i < width; ++i) {
      if (statement.isNull(i)) {
        row.emplace_back(std::monostate{});
      } else if (fields[i].type == packet::FieldType::Text) {
        row.emplace_back(statement.text(i));
      } else {
        row.emplace_back(statement.number(i));
      }
    }
    packet.rows.push_back(std::move(row));
  }
  return packet;
}

std::string selectList(
    const DataSetSpec& spec, std::string_view alias,
    std::initializer_list<std::pair<std::string_view, std::string_view>> sources) {
  std::string list;
  for (const auto& f : spec.fields()) {
    if (!list.empty())
      list += ", ";
    const auto* source = std::find_if(sources.begin(), sources.end(),
                                      [&](const auto& s) { return s.first == f.name; });
    if (source != sources.end()) {
      list += fmt::format("{} AS {}", source->second, f.name);
    } else {
      list += fmt::format("{}.{} AS {}", alias, f.name, f.name);
    }
  }
  return list;
}

Record readRecord(const Statement& statement) {
  Record record;
  for (int i = 0; i < statement.columnCount(); ++i) {
    record.set(statement.columnName(i), statement.value(i));
  }
  return record;
}

std::optional<Record> selectRow(Database& db, std::string_view table,
                                const std::vector<std::string>& columns,
                                const ColumnValues& where) {
  std::string list;
  for (size_t i = 0; i < columns.size(); ++i)
    list += (i > 0 ? ", " : "") + columns[i];
  auto statement = db.prepare(fmt::format("SELECT {} FROM {} WHERE {} LIMIT 1", list, table,
                                          joined(where, "{} = ?", " AND ")));
  bindAll(statement, where, 1);
  if (!statement.step())
    return std::nullopt;
  return readRecord(statement);
}

void insertRow(Database& db, std::string_view table, const ColumnValues& values) {
  std::string marks;
  for (size_t i = 0; i < values.size(); ++i)
    marks += i > 0 ? ", ?" : "?";
  auto statement = db.prepare(
      fmt::format("INSERT INTO {} ({}) VALUES ({})", table, joined(values, "{}", ", "), marks));
  bindAll(statement, values, 1);
  statement.run();
}

int updateRows(Database& db, std::string_view table, const ColumnValues& set,
               const ColumnValues& where) {
  if (set.empty())
    return 0;
  auto statement =
      db.prepare(fmt::format("UPDATE {} SET {} WHERE {}", table, joined(set, "{} = ?", ", "),
                             joined(where, "{} = ?", " AND ")));
  bindAll(statement, where, bindAll(statement, set, 1));
  statement.run();
  return db.changes();
}

int deleteRows(Database& db, std::string_view table, const ColumnValues& where) {
  auto statement =
      db.prepare(fmt::format("DELETE FROM {} WHERE {}", table, joined(where, "{} = ?", " AND ")));
  bindAll(statement, where, 1);
  statement.run();
  return db.changes();
}

std::vector<std::string> fieldsWithRole(const DataSetSpec& spec,
                                        std::initializer_list<FieldRole> roles) {
  std::vector<std::string> names;
  for (const auto& f : spec.fields()) {
    if (std::find(roles.begin(), roles.end(), f.role) != roles.end())
      names.push_back(f.name);
  }
  return names;
}

ColumnValues columnsOf(const Record& record, const std::vector<std::string>& fields) {
  ColumnValues values;
  values.reserve(fields.size());
  for (const auto& f : fields)
    values.emplace_back(f, record.get(f));
  return values;
}

}  // namespace server
