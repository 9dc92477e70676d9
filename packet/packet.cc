#include "packet/packet.h"

#include <strings.h>

namespace packet {

namespace {

int indexOf(const std::vector<FieldDef>& fields, const std::string& name) {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (strcasecmp(fields[i].name.c_str(), name.c_str()) == 0)
      return static_cast<int>(i);
  }
  return -1;
}

}  // namespace

int Packet::fieldIndex(const std::string& name) const {
  return indexOf(fields, name);
}
int Delta::fieldIndex(const std::string& name) const {
  return indexOf(fields, name);
}

}  // namespace packet
