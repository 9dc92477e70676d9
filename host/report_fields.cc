#include "host/report_fields.h"

#include <fmt/format.h>

#include "host/consiste.h"
#include "host/ui/edit_mask.h"

namespace host {

const db::Field& reportField(const ReportDefinition& definition, const db::DataSet& rows,
                             const std::string& name) {
  if (const db::Field* field = rows.findField(name))
    return *field;
  throw ReportDefinitionError(
      fmt::format("A definição de relatório '{}' usa o campo {}, que a consulta não traz.",
                  definition.file, name));
}

std::vector<std::string> placeholders(const std::string& text) {
  std::vector<std::string> names;
  for (std::size_t open = text.find('{'); open != std::string::npos;
       open = text.find('{', open + 1)) {
    const std::size_t close = text.find('}', open + 1);
    if (close == std::string::npos)
      break;
    names.push_back(text.substr(open + 1, close - open - 1));
  }
  return names;
}

std::string inscriptionText(const std::string& value, const db::Field& personType) {
  if (value.empty())
    return value;
  return ui::formatMaskText(Consiste::PictPess(personType.asString()), value);
}

}  // namespace host
