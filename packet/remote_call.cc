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

std::size_t deltaRows(const std::vector<Arg>& args) {
  std::size_t rows = 0;
  for (const Arg& arg : args) {
    if (const auto* delta = std::get_if<Delta>(&arg))
      rows += delta->changes.size();
  }
  return rows;
}

std::chrono::milliseconds timeForDeltaRows(std::chrono::milliseconds base, std::size_t rows) {
  return base + kTimePerDeltaRow * static_cast<std::chrono::milliseconds::rep>(rows);
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
