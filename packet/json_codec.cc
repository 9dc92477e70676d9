#include "packet/json_codec.h"

#include "packet/json_text.h"

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

json parseOwnText(const std::string& text) {
  return json::parse(text);
}

std::string dumpForReading(const json& j) {
  return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace

json toJson(const Packet& packet) {
  return parseOwnText(packetToJsonText(packet));
}

Packet packetFromJson(const json& j) {
  return packetFromJsonText(dumpForReading(j));
}

json toJson(const Delta& delta) {
  return parseOwnText(deltaToJsonText(delta));
}

Delta deltaFromJson(const json& j) {
  return deltaFromJsonText(dumpForReading(j));
}

}  // namespace packet
