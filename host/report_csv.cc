#include "host/report_csv.h"

#include <algorithm>
#include <cmath>

#include "host/report_fields.h"
#include "host/ui/regional.h"

namespace host {

namespace {

// The fields named inside "{...}" of the grouping headers, in order and once each.
std::vector<std::string> groupFields(const ReportDefinition& definition) {
  std::vector<std::string> names;
  for (const auto& group : definition.groups) {
    for (const auto& name : placeholders(group.header)) {
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
    case ColumnKind::Inscription:
      return inscriptionText(field.asString(), *personType);
  }
  return {};
}

}  // namespace

void reportCsv(const ReportDefinition& definition, const db::DataSet& rows, CsvRow& header,
               std::vector<CsvRow>& lines) {
  const std::vector<std::string> grouping = groupFields(definition);
  std::vector<const db::Field*> groupValues;
  for (const auto& name : grouping) {
    groupValues.push_back(&reportField(definition, rows, name));
    header.push_back(name);
  }
  std::vector<std::pair<const db::Field*, const db::Field*>> columns;
  for (const auto& column : definition.columns) {
    const db::Field* personType = column.kind == ColumnKind::Inscription
                                      ? &reportField(definition, rows, column.personType)
                                      : nullptr;
    columns.emplace_back(&reportField(definition, rows, column.field), personType);
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
