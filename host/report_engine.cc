#include "host/report_engine.h"

#include "host/process_state.h"
#include "host/ui/utf8.h"

namespace host {

namespace {

ReportEngineFactory& factory() {
  return processState().reportEngines;
}

bool sameName(const std::string& a, const std::string& b) {
  return ui::utf8::toUpper(a) == ui::utf8::toUpper(b);
}

}  // namespace

ReportDefinitionMissing::ReportDefinitionMissing(std::string code, std::string directory)
    : std::runtime_error("Definição do relatório '" + code + "' não encontrada em '" + directory +
                         "'."),
      code_(std::move(code)),
      directory_(std::move(directory)) {
}

bool ReportEngine::ExistParam(const ReportParams& params, const std::string& name) {
  for (const auto& param : params) {
    if (sameName(param.name, name))
      return true;
  }
  return false;
}

ReportParam& ReportEngine::ParamByName(ReportParams& params, const std::string& name) {
  for (auto& param : params) {
    if (sameName(param.name, name))
      return param;
  }
  throw std::out_of_range("O relatório não tem o parâmetro " + name + ".");
}

void NoReportEngine::run(const std::string& reportCode, ReportOutput /*output*/,
                         const std::string& /*title*/) {
  throw std::runtime_error(
      "Nenhum gerador de relatórios está instalado nesta estação; o "
      "relatório " +
      reportCode + " não pode ser emitido.");
}

void setReportEngineFactory(ReportEngineFactory newFactory) {
  factory() = std::move(newFactory);
}

std::unique_ptr<ReportEngine> makeReportEngine() {
  if (factory())
    return factory()();
  return std::make_unique<NoReportEngine>();
}

}  // namespace host
