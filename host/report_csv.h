// A listing report as a spreadsheet (host/csv_file.h): one line per detail row, with the fields
// its grouping headers show first (so the spreadsheet can filter and sum by them), then its
// columns under their titles. Numbers keep every decimal they have, dates read dd/mm/yyyy and
// inscriptions keep their mask; no header, footer or summary lines, which a spreadsheet makes
// itself.
#pragma once

#include <string>

#include "host/csv_file.h"
#include "host/db/data_set.h"
#include "host/report_definition.h"

namespace host {

// Throws ReportDefinitionError when the definition names a field the rows do not have.
void reportCsv(const ReportDefinition& definition, const db::DataSet& rows, CsvRow& header,
               std::vector<CsvRow>& lines);

// Writes the report's spreadsheet file; throws std::runtime_error when it cannot be written.
void writeReportCsv(const ReportDefinition& definition, const db::DataSet& rows,
                    const std::string& path);

}  // namespace host
