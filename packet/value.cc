#include "packet/value.h"

#include "packet/packet.h"

namespace packet {

const char* fieldTypeName(FieldType type) {
  switch (type) {
    case FieldType::Text:
      return "text";
    case FieldType::Double:
      return "double";
    case FieldType::DateTime:
      return "datetime";
  }
  return "text";
}

FieldType fieldTypeFromName(const std::string& name) {
  if (name == "text")
    return FieldType::Text;
  if (name == "double")
    return FieldType::Double;
  if (name == "datetime")
    return FieldType::DateTime;
  throw PacketError("Tipo de campo desconhecido: '" + name + "'.");
}

}  // namespace packet
