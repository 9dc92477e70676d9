// The report engine behind the report-parameter forms.
//
// A report form asks the engine to run a report definition (by its code) to the printer, to a
// preview or to a saved file. Before the engine opens the definition's queries it hands the
// parameters the definition declares to OnBeforeGetQueryParams, where the form fills them.
// The host installs the engine with setReportEngineFactory; until a real engine is installed
// every form gets NoReportEngine, which refuses every output with a clear message.
#pragma once

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

namespace host {

struct ReportParam {
  std::string name;
  std::string value;
};

using ReportParams = std::vector<ReportParam>;

enum class ReportOutput { Print, Preview, SaveAs };

// A report definition that is not where the engine looks for it.
class ReportDefinitionMissing : public std::runtime_error {
 public:
  ReportDefinitionMissing(std::string code, std::string directory);
  const std::string& code() const { return code_; }
  const std::string& directory() const { return directory_; }

 private:
  std::string code_;
  std::string directory_;
};

class ReportEngine {
 public:
  virtual ~ReportEngine() = default;

  // Runs the definition `reportCode` to `output`; for SaveAs `title` names the saved report.
  // Throws ReportDefinitionMissing when there is no such definition.
  virtual void run(const std::string& reportCode, ReportOutput output,
                   const std::string& title) = 0;

  // True when `params` holds a parameter of that name (letter case ignored).
  static bool ExistParam(const ReportParams& params, const std::string& name);
  // The parameter of that name; throws std::out_of_range when there is none.
  static ReportParam& ParamByName(ReportParams& params, const std::string& name);

  std::function<void(ReportParams& params)> OnBeforeGetQueryParams;
  // Caption and prompt of the title question of SaveAs; the report form sets them from its
  // catalogue before each output.
  std::string saveAsCaption = "Título do relatório";
  std::string saveAsPrompt = "Informe o título do relatório:";
};

// The engine of a host without a report engine: every output raises std::runtime_error.
class NoReportEngine : public ReportEngine {
 public:
  void run(const std::string& reportCode, ReportOutput output, const std::string& title) override;
};

using ReportEngineFactory = std::function<std::unique_ptr<ReportEngine>()>;
// Installs the engine that new report forms get; null restores NoReportEngine.
void setReportEngineFactory(ReportEngineFactory factory);
std::unique_ptr<ReportEngine> makeReportEngine();

}  // namespace host
