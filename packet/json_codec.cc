#include "packet/json_codec.h"

#include <fmt/format.h>

namespace packet {

using nlohmann::json;

json valueToJson(const Value& value) {
  if (const auto* text = std::get_if<std::string>(&value))
    return *text;
  if (const auto* number = std::get_if<double>(&value))
    return *number;
  return nullptr;
}

Value valueFromJson(const json& j) {
  if (j.is_null())
    return std::monostate{};
  if (j.is_string())
    return j.get<std::string>();
  if (j.is_number())
    return j.get<double>();
  throw PacketError("Valor inválido no pacote: esperado texto, número ou nulo.");
}

namespace {

json fieldsToJson(const std::vector<FieldDef>& fields) {
  json out = json::array();
  for (const auto& f : fields) {
    json def = {{"name", f.name}, {"type", fieldTypeName(f.type)}};
    if (f.type == FieldType::Text)
      def["size"] = f.size;
    out.push_back(std::move(def));
  }
  return out;
}

std::vector<FieldDef> fieldsFromJson(const json& j) {
  if (!j.is_array())
    throw PacketError("Pacote inválido: 'fields' deve ser uma lista.");
  std::vector<FieldDef> fields;
  fields.reserve(j.size());
  for (const auto& def : j) {
    if (!def.is_object() || !def.contains("name") || !def["name"].is_string() ||
        !def.contains("type") || !def["type"].is_string()) {
      throw PacketError("Pacote inválido: definição de campo sem nome ou tipo.");
    }
    FieldDef f;
    f.name = def["name"].get<std::string>();
    f.type = fieldTypeFromName(def["type"].get<std::string>());
    if (def.contains("size")) {
      if (!def["size"].is_number_integer() || def["size"].get<int>() < 0) {
        throw PacketError(fmt::format("Pacote inválido: tamanho do campo {} inválido.", f.name));
      }
      f.size = def["size"].get<int>();
    }
    fields.push_back(std::move(f));
  }
  return fields;
}

json rowToJson(const Row& row) {
  json out = json::array();
  for (const auto& v : row)
    out.push_back(valueToJson(v));
  return out;
}

Row rowFromJson(const json& j, size_t width) {
  if (!j.is_array() || j.size() != width) {
    throw PacketError(fmt::format("Pacote inválido: cada linha deve ter {} valores.", width));
  }
  Row row;
  row.reserve(width);
  for (const auto& v : j)
    row.push_back(valueFromJson(v));
  return row;
}

const json& member(const json& j, const char* name, const char* what) {
  if (!j.is_object() || !j.contains(name)) {
    throw PacketError(fmt::format("{} inválido: falta '{}'.", what, name));
  }
  return j[name];
}

const char* kindName(ChangeKind kind) {
  switch (kind) {
    case ChangeKind::Insert:
      return "insert";
    case ChangeKind::Modify:
      return "modify";
    case ChangeKind::Delete:
      return "delete";
  }
  return "insert";
}

}  // namespace

json toJson(const Packet& packet) {
  json rows = json::array();
  for (const auto& row : packet.rows)
    rows.push_back(rowToJson(row));
  return {{"fields", fieldsToJson(packet.fields)}, {"rows", std::move(rows)}};
}

Packet packetFromJson(const json& j) {
  Packet packet;
  packet.fields = fieldsFromJson(member(j, "fields", "Pacote"));
  const json& rows = member(j, "rows", "Pacote");
  if (!rows.is_array())
    throw PacketError("Pacote inválido: 'rows' deve ser uma lista.");
  packet.rows.reserve(rows.size());
  for (const auto& row : rows)
    packet.rows.push_back(rowFromJson(row, packet.fields.size()));
  return packet;
}

json toJson(const Delta& delta) {
  json changes = json::array();
  for (const auto& c : delta.changes) {
    json change = {{"kind", kindName(c.kind)}};
    if (c.kind != ChangeKind::Insert)
      change["old"] = rowToJson(c.oldValues);
    if (c.kind != ChangeKind::Delete)
      change["new"] = rowToJson(c.newValues);
    changes.push_back(std::move(change));
  }
  return {{"fields", fieldsToJson(delta.fields)}, {"changes", std::move(changes)}};
}

Delta deltaFromJson(const json& j) {
  Delta delta;
  delta.fields = fieldsFromJson(member(j, "fields", "Delta"));
  const json& changes = member(j, "changes", "Delta");
  if (!changes.is_array())
    throw PacketError("Delta inválido: 'changes' deve ser uma lista.");
  const size_t width = delta.fields.size();
  for (const auto& c : changes) {
    const json& kind = member(c, "kind", "Delta");
    if (!kind.is_string())
      throw PacketError("Delta inválido: tipo de alteração deve ser texto.");
    Change change;
    const auto name = kind.get<std::string>();
    if (name == "insert") {
      change.kind = ChangeKind::Insert;
    } else if (name == "modify") {
      change.kind = ChangeKind::Modify;
    } else if (name == "delete") {
      change.kind = ChangeKind::Delete;
    } else {
      throw PacketError("Delta inválido: tipo de alteração desconhecido '" + name + "'.");
    }
    if (change.kind != ChangeKind::Insert) {
      change.oldValues = rowFromJson(member(c, "old", "Delta"), width);
    }
    if (change.kind != ChangeKind::Delete) {
      change.newValues = rowFromJson(member(c, "new", "Delta"), width);
    }
    delta.changes.push_back(std::move(change));
  }
  return delta;
}

}  // namespace packet
