#include "packet/remote_call.h"

#include "packet/json_codec.h"

namespace packet {

using nlohmann::json;

json argToJson(const Arg& arg) {
  struct Visitor {
    json operator()(std::monostate) const { return nullptr; }
    json operator()(const std::string& s) const { return s; }
    json operator()(double d) const { return d; }
    json operator()(const DateArg& d) const { return {{"date", d.days}}; }
    json operator()(const Delta& d) const { return {{"delta", toJson(d)}}; }
  };
  return std::visit(Visitor{}, arg);
}

Arg argFromJson(const json& j) {
  if (j.is_null())
    return std::monostate{};
  if (j.is_string())
    return j.get<std::string>();
  if (j.is_number())
    return j.get<double>();
  if (j.is_object() && j.size() == 1) {
    if (j.contains("date") && j["date"].is_number())
      return DateArg{j["date"].get<double>()};
    if (j.contains("delta"))
      return deltaFromJson(j["delta"]);
  }
  throw PacketError("Argumento inválido: esperado texto, número, nulo, data ou delta.");
}

json argsToJson(const std::vector<Arg>& args) {
  json out = json::array();
  for (const auto& a : args)
    out.push_back(argToJson(a));
  return out;
}

std::vector<Arg> argsFromJson(const json& j) {
  if (!j.is_array())
    throw PacketError("Os argumentos devem vir numa lista JSON.");
  std::vector<Arg> args;
  args.reserve(j.size());
  for (const auto& a : j)
    args.push_back(argFromJson(a));
  return args;
}

json toJson(const CallResult& result) {
  json out = {{"status", result.ok ? "ok" : "error"}, {"message", result.message}};
  if (result.packet)
    out["packet"] = toJson(*result.packet);
  return out;
}

CallResult callResultFromJson(const json& j) {
  if (!j.is_object() || !j.contains("status") || !j["status"].is_string()) {
    throw PacketError("Resposta do servidor inválida: falta o status.");
  }
  CallResult result;
  const auto status = j["status"].get<std::string>();
  if (status != "ok" && status != "error") {
    throw PacketError("Resposta do servidor inválida: status '" + status + "'.");
  }
  result.ok = status == "ok";
  if (j.contains("message")) {
    if (!j["message"].is_string())
      throw PacketError("Resposta do servidor inválida: mensagem.");
    result.message = j["message"].get<std::string>();
  }
  if (j.contains("packet") && !j["packet"].is_null())
    result.packet = packetFromJson(j["packet"]);
  return result;
}

}  // namespace packet
