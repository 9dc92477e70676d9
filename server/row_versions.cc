#include "server/row_versions.h"

namespace server {

std::int64_t currentRowVersion(Database& db, const std::string& filial,
                               const std::string& servico) {
  auto statement =
      db.prepare("SELECT NRVERSAO FROM VERSAOSERVICO WHERE CDFILIAL = ? AND CDSERVFILI = ?");
  statement.bind(1, filial).bind(2, servico);
  return statement.step() ? static_cast<std::int64_t>(statement.number(0)) : 0;
}

void touchBinding(Database& db, const BindingKey& key) {
  auto statement = db.prepare(
      "UPDATE SERVCLIE SET NRVERSAO = NRVERSAO WHERE CDFILIAL = ? AND CDSERVFILI = ? AND "
      "CDCLIENTE = ?");
  statement.bind(1, key.filial).bind(2, key.servico).bind(3, key.cliente).run();
}

std::vector<packet::Row> bindingsGone(Database& db, const std::string& filial,
                                      const std::string& servico, std::int64_t since,
                                      std::int64_t upTo) {
  auto statement = db.prepare(
      "SELECT CDFILIAL, CDSERVFILI, CDCLIENTE FROM SERVCLIEEXCLUIDO "
      "WHERE CDFILIAL = ?1 AND CDSERVFILI = ?2 AND NRVERSAO > ?3 AND NRVERSAO <= ?4 "
      "UNION ALL SELECT SC.CDFILIAL, SC.CDSERVFILI, SC.CDCLIENTE FROM SERVCLIE SC "
      "WHERE SC.CDFILIAL = ?1 AND SC.CDSERVFILI = ?2 AND SC.NRVERSAO > ?3 AND SC.NRVERSAO <= ?4 "
      "AND NOT EXISTS (SELECT 1 FROM CLIENTE C WHERE C.CDCLIENTE = SC.CDCLIENTE)");
  statement.bind(1, filial).bind(2, servico);
  // Versions stay far below 2^53: a number holds them exactly.
  statement.bind(3, static_cast<double>(since)).bind(4, static_cast<double>(upTo));
  std::vector<packet::Row> keys;
  while (statement.step())
    keys.push_back({statement.text(0), statement.text(1), statement.text(2)});
  return keys;
}

}  // namespace server
