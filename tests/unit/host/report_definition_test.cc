// Report definition files: what a definition holds, and the mistakes refused before a report
// runs.
#include "host/report_definition.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>

#include "host/report_engine.h"

namespace host {
namespace {

std::string definitionWith(const std::string& columns, const std::string& extra = {}) {
  return R"({"title": "Teste", "page": {"width": 60, "lines": 20},
             "parameters": ["P_CDFILIAL", "P_TCDFILIAL"],
             "sql": ["SELECT * FROM FILIAL",
                     "WHERE CDFILIAL = :P_CDFILIAL OR :p_tcdfilial = 'T'"],
             "columns": [)" +
         columns + "]" + extra + "}";
}

TEST(ReportDefinitionTest, ReadsTitlePageParametersGroupsAndColumns) {
  const auto definition = parseReportDefinition(
      definitionWith(R"({"field": "CDFILIAL", "title": "Código", "width": 6},
                        {"field": "VALOR", "title": "Valor", "width": 12, "kind": "number",
                         "format": "#,##0.00", "total": true},
                        {"field": "NRINSJURCLIE", "width": 18, "kind": "inscription",
                         "personType": "IDTPIJURCLIE", "align": "right"})",
                     R"(, "groups": [{"field": "CDFILIAL", "header": "Filial {CDFILIAL}"}])"),
      "ZEV900", "ZEV900.json");
  EXPECT_EQ(definition.title, "Teste");
  EXPECT_EQ(definition.pageWidth, 60);
  EXPECT_EQ(definition.pageLines, 20);
  EXPECT_EQ(definition.parameters, (std::vector<std::string>{"P_CDFILIAL", "P_TCDFILIAL"}));
  ASSERT_EQ(definition.columns.size(), 3u);
  EXPECT_FALSE(definition.columns[0].rightAligned);
  EXPECT_TRUE(definition.columns[1].rightAligned);  // numbers align right unless told
  EXPECT_TRUE(definition.columns[1].total);
  EXPECT_EQ(definition.columns[2].kind, ColumnKind::Inscription);
  EXPECT_TRUE(definition.columns[2].rightAligned);
  ASSERT_EQ(definition.groups.size(), 1u);
  EXPECT_EQ(definition.detailIndent(), 2);
  EXPECT_TRUE(definition.summary.empty());
}

TEST(ReportDefinitionTest, RefusesMistakesWithAMessageNamingTheFile) {
  const std::string column = R"({"field": "CDFILIAL", "width": 6})";
  const std::vector<std::pair<std::string, std::string>> cases = {
      {"{", "o arquivo não é um JSON válido."},
      {R"({"title": "T", "sql": ["SELECT 1"]})",
       "o relatório deve ter uma lista \"columns\" com ao menos uma coluna."},
      {R"({"title": "T", "sql": ["SELECT :P_X"], "columns": [)" + column + "]}",
       "a consulta usa o parâmetro :P_X, que não está declarado."},
      {definitionWith(column, R"(, "summry": "x")"),
       "o relatório tem a chave desconhecida \"summry\"."},
      {definitionWith(R"({"field": "A", "width": 30}, {"field": "B", "width": 30})"),
       "as colunas ocupam 61 caracteres e a página tem 60."},
      {definitionWith(R"({"field": "A", "width": 6, "total": true})"),
       "a coluna 1 só pode ter total se for numérica."},
      {definitionWith(R"({"field": "A", "width": 6, "kind": "inscription"})"),
       "a coluna 1 não tem \"personType\"."},
      {definitionWith(R"({"field": "A", "width": 6, "kind": "money"})"),
       "a coluna 1 tem o tipo desconhecido \"money\"."},
      {R"({"title": "T", "parameters": ["P_A", "p_a"], "sql": ["SELECT :P_A"], "columns": [)" +
           column + "]}",
       "o parâmetro \"p_a\" está declarado duas vezes."},
      {R"({"title": "T", "page": {"lines": 7}, "sql": ["SELECT 1"], "columns": [)" + column + "]}",
       "\"lines\" de a página deve ser um inteiro de 10 a 500."},
  };
  for (const auto& [text, reason] : cases) {
    try {
      parseReportDefinition(text, "ZEV900", "/relatorios/ZEV900.json");
      ADD_FAILURE() << "accepted: " << text;
    } catch (const ReportDefinitionError& error) {
      EXPECT_EQ(std::string(error.what()),
                "A definição de relatório '/relatorios/ZEV900.json' não é válida: " + reason)
          << text;
    }
  }
}

TEST(ReportDefinitionTest, AMissingFileOrACodeThatCannotNameOneIsAMissingDefinition) {
  const auto folder = std::filesystem::temp_directory_path() /
                      ("cps-report-definitions-" + std::to_string(::getpid()));
  std::filesystem::create_directories(folder);
  std::ofstream(folder / "ZEV900.json") << definitionWith(R"({"field": "CDFILIAL", "width": 6})");
  std::ofstream(folder / "outro.json") << definitionWith(R"({"field": "CDFILIAL", "width": 6})");

  EXPECT_EQ(loadReportDefinition(folder.string(), "ZEV900").file,
            (folder / "ZEV900.json").string());
  for (const std::string code : {"ZEV901", "", "../outro", "ZEV900.json"}) {
    try {
      loadReportDefinition(folder.string(), code);
      ADD_FAILURE() << "found: " << code;
    } catch (const ReportDefinitionMissing& missing) {
      EXPECT_EQ(missing.code(), code);
      EXPECT_EQ(missing.directory(), folder.string());
    }
  }
  std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace host
