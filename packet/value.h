// Values carried by data packets, deltas and remote-call arguments.
//
// A value is null, a text (UTF-8) or a number. Date-times travel as numbers: the day count
// from 30/12/1899 with the time of day as the fraction. The field definition of a packet says
// whether a number is a double or a date-time.
#pragma once

#include <string>
#include <variant>

namespace packet {

using Value = std::variant<std::monostate, std::string, double>;

inline bool isNull(const Value& v) {
  return std::holds_alternative<std::monostate>(v);
}
inline bool isText(const Value& v) {
  return std::holds_alternative<std::string>(v);
}
inline bool isNumber(const Value& v) {
  return std::holds_alternative<double>(v);
}

enum class FieldType { Text, Double, DateTime };

const char* fieldTypeName(FieldType type);
// Throws PacketError for an unknown name.
FieldType fieldTypeFromName(const std::string& name);

}  // namespace packet
