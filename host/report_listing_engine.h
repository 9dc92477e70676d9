// ListingReportEngine: the host's report engine for listing reports.
//
// For each output it loads the definition of the report code from the definition folder
// (host/report_definition.h), hands the parameters the definition declares (all empty) to
// OnBeforeGetQueryParams, runs the definition's query on the local database with those values
// bound, and lays the rows out in pages (host/report_layout.h). Then:
//   Preview: a modal ReportPreviewForm, from which the same pages can be printed or saved;
//   Print:   a PDF handed to the print command; without one (or when it fails) the PDF is kept
//            in the output folder and the operator is told where;
//   SaveAs:  a ReportSaveDialog asks the title (proposed by the form) and the file; the pages
//            are laid out again under that title and written as a PDF.
// A query that finds no rows is reported and produces no output.
//
// The host application installs it at start-up with installReportEngine; report forms made
// afterwards get one each (host::makeReportEngine).
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "host/db/database.h"
#include "host/report_engine.h"

namespace host {

struct ReportEngineOptions {
  std::string definitionFolder;
  // Where saved reports are proposed and unprinted ones are kept.
  std::string outputFolder;
  // Program and leading arguments; the PDF's path is added last. Empty: nothing is printed.
  std::vector<std::string> printCommand;
  // The local database the queries read; null: dtmDBGeral::adcGeral().
  std::function<db::Database&()> database;
};

// The definition folder of the running host: $CPS_REPORT_DIR when set, otherwise
// share/clientes-servico/reports beside the executable's bin folder.
std::string defaultDefinitionFolder();
// The operator's report folder: $HOME/Relatórios.
std::string defaultOutputFolder();
// The desktop's options: the default folders and the system's print command.
ReportEngineOptions defaultReportEngineOptions();
// Options for a host that must never print (the script driver): printing keeps the PDF in
// `outputFolder`.
ReportEngineOptions offlineReportEngineOptions(const std::string& outputFolder);

// Makes every report form created from now on get a ListingReportEngine with these options.
void installReportEngine(ReportEngineOptions options = defaultReportEngineOptions());
// Where files the operator saves (reports, exported tables) are proposed: the installed
// engine's output folder, or the default one.
std::string savedFilesFolder();

class ListingReportEngine : public ReportEngine {
 public:
  explicit ListingReportEngine(ReportEngineOptions options);

  void run(const std::string& reportCode, ReportOutput output, const std::string& title) override;

  const ReportEngineOptions& options() const { return options_; }

 private:
  ReportEngineOptions options_;
};

}  // namespace host
