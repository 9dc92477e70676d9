#include "host/report_definition.h"

#include <fmt/format.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include <nlohmann/json.hpp>

#include "host/db/sql_query.h"
#include "host/report_engine.h"
#include "host/ui/utf8.h"

namespace host {

namespace {

using nlohmann::json;

// Codes name files: only letters, digits and "_" keep a code inside the report directory.
bool isPlainCode(const std::string& code) {
  if (code.empty() || code.size() > 64)
    return false;
  for (char c : code) {
    const bool plain =
        (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '_';
    if (!plain)
      return false;
  }
  return true;
}

bool isName(const std::string& name) {
  if (name.empty() || (name[0] >= '0' && name[0] <= '9'))
    return false;
  return isPlainCode(name);
}

class Checker {
 public:
  explicit Checker(std::string file) : file_(std::move(file)) {}

  [[noreturn]] void fail(const std::string& what) const {
    throw ReportDefinitionError(
        fmt::format("A definição de relatório '{}' não é válida: {}", file_, what));
  }

  void onlyKeys(const json& object, const std::set<std::string>& allowed,
                const std::string& where) const {
    for (const auto& item : object.items()) {
      if (allowed.count(item.key()) == 0)
        fail(fmt::format("{} tem a chave desconhecida \"{}\".", where, item.key()));
    }
  }

  std::string text(const json& object, const char* key, const std::string& where,
                   bool required) const {
    if (!object.contains(key)) {
      if (required)
        fail(fmt::format("{} não tem \"{}\".", where, key));
      return {};
    }
    if (!object[key].is_string())
      fail(fmt::format("\"{}\" de {} deve ser um texto.", key, where));
    return object[key].get<std::string>();
  }

  int number(const json& object, const char* key, const std::string& where, int fallback, int low,
             int high) const {
    if (!object.contains(key))
      return fallback;
    const json& value = object[key];
    if (!value.is_number_integer() || value.get<long long>() < low ||
        value.get<long long>() > high) {
      fail(fmt::format("\"{}\" de {} deve ser um inteiro de {} a {}.", key, where, low, high));
    }
    return value.get<int>();
  }

  bool flag(const json& object, const char* key, const std::string& where) const {
    if (!object.contains(key))
      return false;
    if (!object[key].is_boolean())
      fail(fmt::format("\"{}\" de {} deve ser true ou false.", key, where));
    return object[key].get<bool>();
  }

  std::vector<std::string> texts(const json& object, const char* key) const {
    if (!object.contains(key))
      return {};
    const json& list = object[key];
    std::vector<std::string> out;
    if (!list.is_array())
      fail(fmt::format("\"{}\" deve ser uma lista de textos.", key));
    for (const auto& item : list) {
      if (!item.is_string())
        fail(fmt::format("\"{}\" deve ser uma lista de textos.", key));
      out.push_back(item.get<std::string>());
    }
    return out;
  }

 private:
  std::string file_;
};

ReportColumn readColumn(const Checker& check, const json& item, int position) {
  const std::string where = fmt::format("a coluna {}", position);
  if (!item.is_object())
    check.fail(where + " deve ser um objeto.");
  check.onlyKeys(
      item, {"field", "title", "width", "kind", "format", "personType", "align", "total"}, where);
  ReportColumn column;
  column.field = check.text(item, "field", where, true);
  column.title = check.text(item, "title", where, false);
  column.width = check.number(item, "width", where, 0, 1, 400);
  if (column.width == 0)
    check.fail(where + " não tem \"width\".");
  const std::string kind = check.text(item, "kind", where, false);
  if (kind.empty() || kind == "text")
    column.kind = ColumnKind::Text;
  else if (kind == "number")
    column.kind = ColumnKind::Number;
  else if (kind == "date")
    column.kind = ColumnKind::Date;
  else if (kind == "inscription")
    column.kind = ColumnKind::Inscription;
  else
    check.fail(fmt::format("{} tem o tipo desconhecido \"{}\".", where, kind));
  column.format = check.text(item, "format", where, false);
  column.personType = check.text(item, "personType", where, column.kind == ColumnKind::Inscription);
  const std::string align = check.text(item, "align", where, false);
  if (align.empty())
    column.rightAligned = column.kind == ColumnKind::Number;
  else if (align == "left" || align == "right")
    column.rightAligned = align == "right";
  else
    check.fail(fmt::format("\"align\" de {} deve ser \"left\" ou \"right\".", where));
  column.total = check.flag(item, "total", where);
  if (column.total && column.kind != ColumnKind::Number)
    check.fail(where + " só pode ter total se for numérica.");
  return column;
}

ReportGroup readGroup(const Checker& check, const json& item, int position) {
  const std::string where = fmt::format("o grupo {}", position);
  if (!item.is_object())
    check.fail(where + " deve ser um objeto.");
  check.onlyKeys(item, {"field", "header", "footer"}, where);
  return {check.text(item, "field", where, true), check.text(item, "header", where, true),
          check.text(item, "footer", where, false)};
}

void checkParameters(const Checker& check, const ReportDefinition& definition) {
  std::set<std::string> declared;
  for (const auto& name : definition.parameters) {
    if (!isName(name))
      check.fail(fmt::format("o parâmetro \"{}\" não é um nome válido.", name));
    if (!declared.insert(ui::utf8::toUpper(name)).second)
      check.fail(fmt::format("o parâmetro \"{}\" está declarado duas vezes.", name));
  }
  std::string sql;
  for (const auto& line : definition.sql)
    sql += line + "\n";
  for (const auto& line : definition.sqlPostgresql)
    sql += line + "\n";
  for (const auto& used : db::sqlParamNames(sql)) {
    if (declared.count(ui::utf8::toUpper(used)) == 0)
      check.fail(fmt::format("a consulta usa o parâmetro :{}, que não está declarado.", used));
  }
}

void checkWidth(const Checker& check, const ReportDefinition& definition) {
  int width = definition.detailIndent();
  for (const auto& column : definition.columns)
    width += column.width + 1;
  width -= 1;
  if (width > definition.pageWidth) {
    check.fail(fmt::format("as colunas ocupam {} caracteres e a página tem {}.", width,
                           definition.pageWidth));
  }
  // Each continued page repeats the open group headers before at least one line of its own.
  const int body = definition.pageLines - kReportHeadingLines;
  if (body < static_cast<int>(definition.groups.size()) + 2)
    check.fail("a página não tem linhas para os grupos e ao menos uma linha de detalhe.");
}

}  // namespace

ReportDefinition parseReportDefinition(const std::string& text, const std::string& code,
                                       const std::string& file) {
  const Checker check(file);
  const json root = json::parse(text, nullptr, false);
  if (root.is_discarded())
    check.fail("o arquivo não é um JSON válido.");
  if (!root.is_object())
    check.fail("o arquivo deve conter um objeto.");
  check.onlyKeys(
      root, {"title", "page", "parameters", "sql", "sqlPostgresql", "groups", "columns", "summary"},
      "o relatório");

  ReportDefinition definition;
  definition.code = code;
  definition.file = file;
  definition.title = check.text(root, "title", "o relatório", true);
  if (root.contains("page")) {
    const json& page = root["page"];
    if (!page.is_object())
      check.fail("\"page\" deve ser um objeto.");
    check.onlyKeys(page, {"width", "lines"}, "a página");
    definition.pageWidth = check.number(page, "width", "a página", definition.pageWidth, 40, 400);
    definition.pageLines = check.number(page, "lines", "a página", definition.pageLines, 10, 500);
  }
  definition.parameters = check.texts(root, "parameters");
  definition.sql = check.texts(root, "sql");
  if (definition.sql.empty())
    check.fail("o relatório não tem \"sql\".");
  if (root.contains("sqlPostgresql"))
    definition.sqlPostgresql = check.texts(root, "sqlPostgresql");
  if (root.contains("groups")) {
    if (!root["groups"].is_array())
      check.fail("\"groups\" deve ser uma lista.");
    for (const auto& item : root["groups"])
      definition.groups.push_back(
          readGroup(check, item, static_cast<int>(definition.groups.size()) + 1));
  }
  if (!root.contains("columns") || !root["columns"].is_array() || root["columns"].empty())
    check.fail("o relatório deve ter uma lista \"columns\" com ao menos uma coluna.");
  for (const auto& item : root["columns"])
    definition.columns.push_back(
        readColumn(check, item, static_cast<int>(definition.columns.size()) + 1));
  definition.summary = check.text(root, "summary", "o relatório", false);
  checkParameters(check, definition);
  checkWidth(check, definition);
  return definition;
}

ReportDefinition loadReportDefinition(const std::string& directory, const std::string& code) {
  if (!isPlainCode(code))
    throw ReportDefinitionMissing(code, directory);
  const auto path = std::filesystem::path(directory) / (code + ".json");
  std::error_code error;
  if (!std::filesystem::is_regular_file(path, error))
    throw ReportDefinitionMissing(code, directory);
  std::ifstream in(path, std::ios::binary);
  if (!in) {
    throw ReportDefinitionError(
        fmt::format("Não foi possível ler a definição de relatório '{}'.", path.string()));
  }
  std::ostringstream text;
  text << in.rdbuf();
  return parseReportDefinition(text.str(), code, path.string());
}

}  // namespace host
