// Reading the trail of changes: who changed what, filtered by branch, service, client,
// operator and period, newest first, at most kTrailRows rows.
#include <fmt/format.h>

#include <cmath>

#include "server/data_sets.h"
#include "server/method_error.h"
#include "server/method_groups.h"
#include "server/operators.h"
#include "server/table_rows.h"

namespace server {

namespace {

// A listing larger than this says so and asks for a narrower filter.
constexpr int kTrailRows = 10'000;

// GetTrilha(CDFILIAL, CDSERVFILI, CDCLIENTE, operator, first day, last day): an empty code
// filters nothing; the period takes whole days. The answer's message tells when the rows were
// cut at kTrailRows.
packet::CallResult getTrilha(CallContext& context, const MethodArgs& args) {
  const double first = std::floor(args.date(4));
  const double last = std::floor(args.date(5));
  if (last < first)
    throw MethodError("GetTrilha: o fim do período é anterior ao início.");
  std::string operatorCode = args.text(3);
  if (!operatorCode.empty()) {
    try {
      operatorCode = normalizeOperatorCode(operatorCode);
    } catch (const OperatorError& e) {
      throw MethodError(e.what());
    }
  }

  // The conditions are this program's text; only values are bound.
  std::string where = "T.DTALTERACAO >= ? AND T.DTALTERACAO < ?";
  std::vector<std::string> values;
  const char* columns[] = {"T.CDFILIAL", "T.CDSERVFILI", "T.CDCLIENTE", "T.CDOPERADOR"};
  for (size_t i = 0; i < 4; ++i) {
    const std::string value = i == 3 ? operatorCode : args.text(i);
    if (value.empty())
      continue;
    where += fmt::format(" AND {} = ?", columns[i]);
    values.push_back(value);
  }
  auto statement = context.db.prepare(fmt::format(
      "SELECT T.DTALTERACAO, T.CDOPERADOR, T.NMMETODO, T.NMTABELA, T.IDOPERACAO, T.CDFILIAL, "
      "T.CDSERVFILI, T.CDCLIENTE, C.NMRAZSOCCLIE, T.DSCHAVE, T.NMCAMPO, T.IDTIPOVALOR, "
      "T.DSVALORANT, T.DSVALORNOVO FROM TRILHAALT T "
      "LEFT JOIN CLIENTE C ON C.CDCLIENTE = T.CDCLIENTE WHERE {} "
      "ORDER BY T.NRTRILHA DESC LIMIT ?",
      where));
  statement.bind(1, first).bind(2, last + 1);
  int index = 3;
  for (const auto& value : values)
    statement.bind(index++, value);
  statement.bind(index, static_cast<double>(kTrailRows + 1));
  packet::Packet packet = readPacket(statement, datasets::trilha());
  packet::CallResult result = okResult(std::move(packet));
  if (result.packet->rows.size() > static_cast<size_t>(kTrailRows)) {
    result.packet->rows.pop_back();
    result.message = fmt::format(
        "Mostrando as {} alterações mais recentes; restrinja o filtro para ver as demais.",
        kTrailRows);
  }
  return result;
}

}  // namespace

void addTrailMethods(MethodTable& table) {
  table.add({std::string(kModuleTrilha),
             "GetTrilha",
             {{ArgKind::Code, "CDFILIAL", kFilialSize},
              {ArgKind::Code, "CDSERVFILI", kServicoSize},
              {ArgKind::Code, "CDCLIENTE", kClienteSize},
              {ArgKind::Code, "operador", kOperadorSize},
              {ArgKind::Date, "início do período"},
              {ArgKind::Date, "fim do período"}},
             getTrilha});
}

}  // namespace server
