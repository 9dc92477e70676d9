#include "host/controlmenu.h"

#include <algorithm>
#include <stdexcept>

#include "host/db/sql_query.h"
#include "host/dtm_db_geral.h"
#include "host/text.h"
#include "host/ui/utf8.h"

namespace Controlmenu {

void TParamFat::Load(const std::string& text) {
  std::vector<std::pair<std::string, std::string>> loaded;
  std::size_t start = 0;
  while (start <= text.size()) {
    const auto end = std::min(text.find(';', start), text.size());
    const std::string_view entry =
        host::trimBlanks(std::string_view(text).substr(start, end - start));
    start = end + 1;
    if (entry.empty())
      continue;
    const auto equals = entry.find('=');
    const std::string name = equals == std::string_view::npos
                                 ? std::string()
                                 : ui::utf8::toUpper(host::trimBlanks(entry.substr(0, equals)));
    if (name.empty()) {
      throw std::invalid_argument("Parâmetro de faturamento inválido no tipo " + tipoFatur_ +
                                  ": '" + std::string(entry) + "'.");
    }
    loaded.emplace_back(name, std::string(host::trimBlanks(entry.substr(equals + 1))));
  }
  values_ = std::move(loaded);
}

std::string TParamFat::GetAsString(const std::string& name) const {
  const std::string wanted = ui::utf8::toUpper(host::trimBlanks(name));
  for (const auto& [key, value] : values_) {
    if (key == wanted)
      return value;
  }
  return {};
}

void TParamControl::StartParamFat() {
  db::SqlQuery query("qryTipoFatur", &dtmDBGeral::adcGeral());
  query.setSql({"SELECT CDTIPOFATUR", "FROM TIPOFATUR", "ORDER BY CDTIPOFATUR"});
  query.addField("CDTIPOFATUR", packet::FieldType::Text, 3);
  query.open();
  std::map<std::string, std::unique_ptr<TParamFat>> types;
  for (query.first(); !query.eof(); query.next()) {
    std::string code(host::trimBlanks(query.fieldByName("CDTIPOFATUR").asString()));
    if (types.count(code) != 0)
      continue;
    auto known = types_.find(code);
    types[code] =
        known != types_.end() ? std::move(known->second) : std::make_unique<TParamFat>(code);
  }
  types_ = std::move(types);
}

TParamFat* TParamControl::TiposFatur(const std::string& tipoFatur) const {
  const auto it = types_.find(std::string(host::trimBlanks(tipoFatur)));
  return it != types_.end() ? it->second.get() : nullptr;
}

}  // namespace Controlmenu
