#include "host/report_listing_engine.h"

#include <fmt/format.h>

#include <cstdlib>
#include <filesystem>

#include "host/db/sql_query.h"
#include "host/dtm_db_geral.h"
#include "host/report_csv.h"
#include "host/report_definition.h"
#include "host/report_layout.h"
#include "host/report_output.h"
#include "host/report_pdf.h"
#include "host/report_preview.h"
#include "host/report_save_dialog.h"
#include "host/ui/application.h"
#include "host/ui/regional.h"
#include "host/ui/utf8.h"

namespace host {

namespace fs = std::filesystem;

namespace {

void tell(ui::MessageKind kind, const std::string& text) {
  ui::application().messageBox(kind, text, ui::MessageButtons::Ok);
}

// Removes a temporary file however the printing ends.
class TemporaryFile {
 public:
  explicit TemporaryFile(std::string path) : path_(std::move(path)) {}
  ~TemporaryFile() {
    std::error_code ignored;
    fs::remove(path_, ignored);
  }
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;
  const std::string& path() const { return path_; }

 private:
  std::string path_;
};

// One output of one report: the definition, its rows and the pages made of them.
class ReportRun {
 public:
  ReportRun(const ReportEngineOptions& options, const ReportEngine& engine,
            ReportDefinition definition, db::SqlQuery& rows)
      : options_(options), engine_(engine), definition_(std::move(definition)), rows_(rows) {
    pages_ = layout(definition_.title);
  }

  void preview() {
    ReportPreviewForm::Actions actions{[this] { print(); }, [this] { save(definition_.title); }};
    auto* form =
        ui::application().createForm<ReportPreviewForm>(pages_, definition_.title, actions);
    form->showModal();
  }

  void print() {
    if (!options_.printCommand.empty()) {
      const TemporaryFile file(temporaryReportPath(definition_.code));
      writeReportPdf(pages_, definition_.pageWidth, definition_.pageLines, file.path());
      const std::string problem = runPrintCommand(options_.printCommand, file.path());
      if (problem.empty()) {
        tell(ui::MessageKind::Information, "O relatório foi enviado para a impressora.");
        return;
      }
      const std::string kept = keep();
      tell(ui::MessageKind::Warning,
           fmt::format("Não foi possível imprimir o relatório ({}). Ele foi salvo em '{}'.",
                       problem, kept));
      return;
    }
    const std::string kept = keep();
    tell(ui::MessageKind::Information,
         fmt::format("Não há impressora disponível nesta estação. O relatório foi salvo em '{}'.",
                     kept));
  }

  void save(const std::string& proposedTitle) {
    std::error_code ignored;
    fs::create_directories(options_.outputFolder, ignored);
    auto* dialog = ui::application().createForm<ReportSaveDialog>(
        engine_.saveAsCaption, engine_.saveAsPrompt,
        proposedTitle.empty() ? definition_.title : proposedTitle, options_.outputFolder);
    if (dialog->showModal() != ui::mrOk)
      return;
    if (dialog->format() == SaveFormat::Csv) {
      writeReportCsv(definition_, rows_, dialog->path());
    } else {
      const auto pages = layout(dialog->title());
      writeReportPdf(pages, definition_.pageWidth, definition_.pageLines, dialog->path());
    }
    tell(ui::MessageKind::Information, fmt::format("Relatório salvo em '{}'.", dialog->path()));
  }

 private:
  std::vector<ReportPage> layout(const std::string& title) const {
    return layoutReport(definition_, rows_, {title, definition_.code, ui::regional::today()});
  }

  // Writes the pages into the output folder under a new name and returns it.
  std::string keep() const {
    const std::string path = newReportPath(options_.outputFolder, definition_.code);
    writeReportPdf(pages_, definition_.pageWidth, definition_.pageLines, path);
    return path;
  }

  const ReportEngineOptions& options_;
  const ReportEngine& engine_;
  ReportDefinition definition_;
  db::SqlQuery& rows_;
  std::vector<ReportPage> pages_;
};

bool usesParam(const db::SqlQuery& query, const std::string& name) {
  for (const auto& param : query.params()) {
    if (ui::utf8::toUpper(param.name()) == ui::utf8::toUpper(name))
      return true;
  }
  return false;
}

}  // namespace

std::string defaultDefinitionFolder() {
  if (const char* folder = std::getenv("CPS_REPORT_DIR"); folder != nullptr && *folder != '\0')
    return folder;
  std::error_code error;
  const fs::path exe = fs::read_symlink("/proc/self/exe", error);
  const fs::path bin = error ? fs::current_path() : exe.parent_path();
  return (bin.parent_path() / "share" / "clientes-servico" / "reports").string();
}

std::string defaultOutputFolder() {
  const char* home = std::getenv("HOME");
  return (fs::path(home != nullptr && *home != '\0' ? home : ".") / "Relatórios").string();
}

ReportEngineOptions defaultReportEngineOptions() {
  return {defaultDefinitionFolder(), defaultOutputFolder(), findPrintCommand(), nullptr};
}

ReportEngineOptions offlineReportEngineOptions(const std::string& outputFolder) {
  return {defaultDefinitionFolder(), outputFolder, {}, nullptr};
}

namespace {

std::string& installedFolder() {
  static std::string folder;
  return folder;
}

}  // namespace

void installReportEngine(ReportEngineOptions options) {
  installedFolder() = options.outputFolder;
  setReportEngineFactory([options] { return std::make_unique<ListingReportEngine>(options); });
}

std::string savedFilesFolder() {
  return installedFolder().empty() ? defaultOutputFolder() : installedFolder();
}

ListingReportEngine::ListingReportEngine(ReportEngineOptions options)
    : options_(std::move(options)) {
}

void ListingReportEngine::run(const std::string& reportCode, ReportOutput output,
                              const std::string& title) {
  ReportDefinition definition = loadReportDefinition(options_.definitionFolder, reportCode);
  ReportParams params;
  for (const auto& name : definition.parameters)
    params.push_back({name, {}});
  if (OnBeforeGetQueryParams)
    OnBeforeGetQueryParams(params);

  db::Database& database = options_.database ? options_.database() : dtmDBGeral::adcGeral();
  db::SqlQuery rows("qryRelatorio", &database);
  rows.setSql(definition.sql);
  if (!definition.sqlPostgresql.empty())
    rows.setDialectSql(storage::Engine::Postgresql, definition.sqlPostgresql);
  for (const auto& name : definition.parameters) {
    if (usesParam(rows, name) && ExistParam(params, name))
      rows.setParam(name, ParamByName(params, name).value);
  }
  rows.open();
  if (rows.isEmpty()) {
    tell(ui::MessageKind::Information, "Nenhum registro atende aos filtros informados.");
    return;
  }

  ReportRun run(options_, *this, std::move(definition), rows);
  switch (output) {
    case ReportOutput::Preview:
      run.preview();
      break;
    case ReportOutput::Print:
      run.print();
      break;
    case ReportOutput::SaveAs:
      run.save(title);
      break;
  }
}

}  // namespace host
