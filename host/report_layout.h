// layoutReport: the pages of a listing report as lines of text.
//
// The report engine runs a definition's query and hands its rows here; the preview shows the
// lines and the PDF writer sets them in a fixed-pitch font, so both show the same pages. Each
// page opens with the heading (title and emission date, report code and "Página n de m", a
// rule, the column titles and a rule). The body lists the rows in query order: a header line
// whenever a grouping level starts, one detail line per row, a footer line with the row count
// and the column totals when a level ends, and the summary at the end. A page that continues a
// group repeats its headers, marked "(continuação)"; a header never ends a page alone, and a
// blank line never opens or ends one.
//
// Values are shown in the regional formats: numbers with their column's pattern (a number too
// wide for its column shows as "#" rather than cut), dates dd/mm/yyyy, inscriptions with the
// mask of their person type. Texts longer than their column are cut.
#pragma once

#include <string>
#include <vector>

#include "host/db/data_set.h"
#include "host/report_definition.h"

namespace host {

struct ReportHeading {
  std::string title;
  std::string code;
  double date = 0;  // emission date (day count)
};

using ReportPage = std::vector<std::string>;

// Throws ReportDefinitionError when the definition names a field the rows do not have.
std::vector<ReportPage> layoutReport(const ReportDefinition& definition, const db::DataSet& rows,
                                     const ReportHeading& heading);

}  // namespace host
