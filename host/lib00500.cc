#include "host/lib00500.h"

#include <charconv>
#include <stdexcept>

#include "host/process_state.h"
#include "host/server_call.h"
#include "host/text.h"

namespace Lib00500 {

namespace {

std::vector<int>& numbers() {
  return host::processState().costTypeNumbers;
}

int requireField(const packet::Packet& packet, const std::string& name) {
  const int index = packet.fieldIndex(name);
  if (index < 0)
    throw std::runtime_error("A lista de tipos de custo veio sem o campo " + name + ".");
  return index;
}

// The row's text at `index`, blanks around it removed; "" for a null or a number.
std::string textAt(const packet::Row& row, int index) {
  const auto& value = row.at(static_cast<std::size_t>(index));
  return packet::isText(value) ? std::string(host::trimBlanks(std::get<std::string>(value)))
                               : std::string();
}

}  // namespace

std::vector<std::string> ListaTipoCusto(host::TNetConnection& connection,
                                        void* /*costProductModule*/) {
  const packet::Packet list = host::callServer(connection, "GetListaTipoCusto", {});
  const int code = requireField(list, "CDTIPOCUSTO");
  const int name = requireField(list, "NMTIPOCUSTO");
  const int inUse = requireField(list, "IDUTTPCUSTO");

  std::vector<std::string> names;
  std::vector<int> codes;
  for (const auto& row : list.rows) {
    if (textAt(row, inUse) != "S")
      continue;
    // The row stores the number, so only a numeric code can be chosen.
    const std::string text = textAt(row, code);
    int number = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), number);
    if (text.empty() || error != std::errc() || end != text.data() + text.size())
      continue;
    names.push_back(textAt(row, name));
    codes.push_back(number);
  }
  numbers() = std::move(codes);
  return names;
}

int NumeroTipoCusto(int index) {
  const auto& list = numbers();
  if (index < 0 || index >= static_cast<int>(list.size()))
    throw std::out_of_range("Tipo de custo inexistente na lista (item " + std::to_string(index) +
                            ").");
  return list[static_cast<std::size_t>(index)];
}

}  // namespace Lib00500
