#include "host/report_csv.h"

#include <fmt/format.h>

#include <algorithm>
#include <cmath>

#include "host/consiste.h"
#include "host/ui/edit_mask.h"
#include "host/ui/regional.h"

namespace host {

namespace {

const db::Field& requireField(const ReportDefinition& definition, const db::DataSet& rows,
                              const std::string& name) {
  if (const db::Field* field = rows.findField(name))
    return *field;
  throw ReportDefinitionError(
      fmt::format("A definição de relatório '{}' usa o campo {}, que a consulta não traz.",
                  definition.file, name));
}

// The fields named inside "{...}" of the grouping headers, in order and once each.
std::vector<std::string> groupFields(const ReportDefinition& definition) {
  std::vector<std::string> names;
  for (const auto& group : definition.groups) {
    for (std::size_t open = group.header.find('{'); open != std::string::npos;
         open = group.header.find('{', open + 1)) {
      const std::size_t close = group.header.find('}', open + 1);
      if (close == std::string::npos)
        break;
      const std::string name = group.header.substr(open + 1, close - open - 1);
      if (std::find(names.begin(), names.end(), name) == names.end())
        names.push_back(name);
    }
  }
  return names;
}

std::string cell(const ReportColumn& column, const db::Field& field, const db::Field* personType) {
  if (field.isNull())
    return {};
  switch (column.kind) {
    case ColumnKind::Text:
      return field.asString();
    case ColumnKind::Number:
      return csvNumber(field.asFloat());
    case ColumnKind::Date:
      return field.asFloat() == 0 ? std::string()
                                  : ui::regional::formatDate(std::floor(field.asFloat()));
    case ColumnKind::Inscription: {
      const std::string value = field.asString();
      return value.empty() || personType == nullptr
                 ? value
                 : ui::formatMaskText(Consiste::PictPess(personType->asString()), value);
    }
  }
  return {};
}

}  // namespace

void reportCsv(const ReportDefinition& definition, const db::DataSet& rows, CsvRow& header,
               std::vector<CsvRow>& lines) {
  const std::vector<std::string> grouping = groupFields(definition);
  std::vector<const db::Field*> groupValues;
  for (const auto& name : grouping) {
    groupValues.push_back(&requireField(definition, rows, name));
    header.push_back(name);
  }
  std::vector<std::pair<const db::Field*, const db::Field*>> columns;
  for (const auto& column : definition.columns) {
    const db::Field* personType = column.kind == ColumnKind::Inscription
                                      ? &requireField(definition, rows, column.personType)
                                      : nullptr;
    columns.emplace_back(&requireField(definition, rows, column.field), personType);
    header.push_back(column.title);
  }
  for (int row = 0; row < rows.viewRowCount(); ++row) {
    rows.readRow(row, [&] {
      CsvRow line;
      for (const db::Field* field : groupValues)
        line.push_back(field->asString());
      for (std::size_t i = 0; i < columns.size(); ++i)
        line.push_back(cell(definition.columns[i], *columns[i].first, columns[i].second));
      lines.push_back(std::move(line));
    });
  }
}

void writeReportCsv(const ReportDefinition& definition, const db::DataSet& rows,
                    const std::string& path) {
  CsvRow header;
  std::vector<CsvRow> lines;
  reportCsv(definition, rows, header, lines);
  writeCsvFile(path, header, lines);
}

}  // namespace host
