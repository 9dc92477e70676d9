// ReportDefinition: a listing report as the report engine reads it from its definition file.
//
// A definition is a JSON file named after the report's code ("ZEV006.json") in the report
// directory. It gives the title, the page size in characters, the query parameters the report
// takes, the SQL of its one query (on the local database, parameters written ":NAME"), the
// grouping levels with their header and footer texts, the detail columns and a closing summary.
// Texts may hold "{FIELD}" (a column of the query) and "{count}" (the rows of the group, or of
// the report in the summary). docs/reports.md describes the format.
//
// loadReportDefinition is called by the report engine for each output; it reads the whole file
// and checks it, so a definition with a mistake is refused before anything is asked or run.
#pragma once

#include <stdexcept>
#include <string>
#include <vector>

namespace host {

// A definition file that cannot be read or does not describe a report.
class ReportDefinitionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

enum class ColumnKind { Text, Number, Date, Inscription };

struct ReportColumn {
  std::string field;
  std::string title;
  int width = 0;
  ColumnKind kind = ColumnKind::Text;
  std::string format;      // number pattern ("#,##0.00000"); empty: general format
  std::string personType;  // Inscription: the field holding the person type
  bool rightAligned = false;
  bool total = false;  // summed in group footers and the summary
};

struct ReportGroup {
  std::string field;
  std::string header;
  std::string footer;  // empty: no footer line
};

struct ReportDefinition {
  std::string code;
  std::string file;
  std::string title;
  int pageWidth = 132;  // characters per line
  int pageLines = 60;   // lines per page, heading included
  std::vector<std::string> parameters;
  std::vector<std::string> sql;
  // The text run on PostgreSQL instead ("sqlPostgresql"), when `sql` cannot run there as
  // written; empty: `sql` everywhere.
  std::vector<std::string> sqlPostgresql;
  std::vector<ReportGroup> groups;
  std::vector<ReportColumn> columns;
  std::string summary;  // empty: no summary line

  // Characters the detail lines are indented by: two per grouping level.
  int detailIndent() const { return 2 * static_cast<int>(groups.size()); }
};

// Lines of the page heading (title, code, rules and column titles) above the body.
inline constexpr int kReportHeadingLines = 5;

// The definition of `code` in `directory`. Throws ReportDefinitionMissing when there is no
// such file (or the code could not name one) and ReportDefinitionError when it is not valid.
ReportDefinition loadReportDefinition(const std::string& directory, const std::string& code);

// Reads and checks a definition from its JSON text; `file` names it in error messages.
ReportDefinition parseReportDefinition(const std::string& text, const std::string& code,
                                       const std::string& file);

}  // namespace host
