// Registers the forms read through the server: the branch's billing parameters and the cost
// types (one by code for the client-service row, all of them for the host's cost-type list).
#include <fmt/format.h>

#include <algorithm>
#include <cctype>

#include "server/data_sets.h"
#include "server/method_groups.h"
#include "server/table_rows.h"

namespace server {

namespace {

// Cost types are two-digit codes; the row stores the number, so "1", " 1" and "01" all name
// cost type "01".
std::string costTypeCode(std::string code) {
  code.erase(0, code.find_first_not_of(' '));
  const bool digits = !code.empty() && std::all_of(code.begin(), code.end(), [](char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
  });
  if (digits && code.size() < 2)
    code.insert(0, 2 - code.size(), '0');
  return code;
}

packet::CallResult getParamFilial(CallContext& context, const MethodArgs& args) {
  auto statement = context.db.prepare(
      "SELECT CDTIPOFATUR, DSPARAMFATFI FROM PARAMFILIAL WHERE CDFILIAL = ? "
      "ORDER BY CDTIPOFATUR");
  statement.bind(1, args.text(0));
  return okResult(readPacket(statement, datasets::paramFilial()));
}

packet::CallResult getTipoCusto(CallContext& context, const MethodArgs& args) {
  auto statement = context.db.prepare(
      "SELECT CDTIPOCUSTO, NMTIPOCUSTO, IDUTTPCUSTO FROM TIPOCUSTO WHERE CDTIPOCUSTO = ?");
  statement.bind(1, costTypeCode(args.text(0)));
  return okResult(readPacket(statement, datasets::tipoCusto()));
}

packet::CallResult getListaTipoCusto(CallContext& context, const MethodArgs&) {
  auto statement = context.db.prepare(
      "SELECT CDTIPOCUSTO, NMTIPOCUSTO, IDUTTPCUSTO FROM TIPOCUSTO ORDER BY CDTIPOCUSTO");
  return okResult(readPacket(statement, datasets::tipoCusto()));
}

}  // namespace

void addLookupMethods(MethodTable& table) {
  const std::string module(kModuleClientesServico);
  table.add({module, "GetParamFilial", {{ArgKind::Code, "CDFILIAL"}}, getParamFilial});
  table.add({module, "GetTipoCusto", {{ArgKind::Code, "CDTIPOCUSTO"}}, getTipoCusto});
  table.add({std::string(kModuleCustProd), "GetListaTipoCusto", {}, getListaTipoCusto});
}

}  // namespace server
