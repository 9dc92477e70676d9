#include "packet/remote_call.h"

#include "packet/json_codec.h"
#include "packet/json_text.h"

namespace packet {

using nlohmann::json;

namespace {

std::string dumpForReading(const json& j) {
  return j.dump(-1, ' ', false, json::error_handler_t::replace);
}

}  // namespace

json argToJson(const Arg& arg) {
  return json::parse(argsToJsonText({arg})).at(0);
}

Arg argFromJson(const json& j) {
  return argsFromJsonText("[" + dumpForReading(j) + "]").at(0);
}

json argsToJson(const std::vector<Arg>& args) {
  return json::parse(argsToJsonText(args));
}

std::vector<Arg> argsFromJson(const json& j) {
  return argsFromJsonText(dumpForReading(j));
}

json toJson(const CallResult& result) {
  return json::parse(callResultToJsonText(result));
}

CallResult callResultFromJson(const json& j) {
  return callResultFromJsonText(dumpForReading(j));
}

}  // namespace packet
