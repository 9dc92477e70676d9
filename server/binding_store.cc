#include "server/binding_store.h"

#include <fmt/format.h>

#include <cmath>
#include <string_view>

#include "server/day_count.h"
#include "server/method_error.h"

namespace server {

namespace {

Statement& bindKey(Statement& statement, const BindingKey& key) {
  return statement.bind(1, key.filial).bind(2, key.servico).bind(3, key.cliente);
}

}  // namespace

double distinctChangeTime(Statement& latest) {
  const double now = nowAsDayCount();
  if (latest.step() && !latest.isNull(0)) {
    const double last = latest.number(0);
    if (last >= now)
      return last + kMillisecondInDays;
  }
  return now;
}

std::string describeClient(Database& db, const std::string& cliente) {
  auto statement = db.prepare("SELECT NMRAZSOCCLIE FROM CLIENTE WHERE CDCLIENTE = ?");
  statement.bind(1, cliente);
  if (statement.step())
    return fmt::format("'{}' (código {})", statement.text(0), cliente);
  return fmt::format("código {}", cliente);
}

bool isBound(Database& db, const BindingKey& key) {
  auto statement =
      db.prepare("SELECT 1 FROM SERVCLIE WHERE CDFILIAL = ? AND CDSERVFILI = ? AND CDCLIENTE = ?");
  return bindKey(statement, key).step();
}

void requireBound(Database& db, const BindingKey& key) {
  if (!isBound(db, key)) {
    throw MethodError(fmt::format("O cliente {} não está vinculado ao serviço {} da filial {}.",
                                  describeClient(db, key.cliente), key.servico, key.filial));
  }
}

void requireService(Database& db, const std::string& filial, const std::string& servico) {
  auto statement = db.prepare("SELECT 1 FROM SERVICO WHERE CDFILIAL = ? AND CDSERVFILI = ?");
  if (!statement.bind(1, filial).bind(2, servico).step()) {
    throw MethodError(
        fmt::format("O serviço {} não está cadastrado na filial {}.", servico, filial));
  }
}

void appendValueHistory(Database& db, const ValueHistoryEntry& entry) {
  auto latest = db.prepare(
      "SELECT MAX(DTALTEFATHIS) FROM HISTSERVFATU WHERE CDFILIAL = ? AND CDSERVFILI = ? AND "
      "CDCLIENTE = ? AND DTSRVFATUHIS = ?");
  bindKey(latest, entry.key).bind(4, entry.start);
  const double changed = distinctChangeTime(latest);

  auto insert = db.prepare(
      "INSERT INTO HISTSERVFATU (CDFILIAL, CDSERVFILI, CDCLIENTE, DTSRVFATUHIS, DTALTEFATHIS, "
      "VRSERVFATHIS, VRFATUDOMHIS, VRFATUSEGHIS, VRFATUTERHIS, VRFATUQUAHIS, VRFATUQUIHIS, "
      "VRFATUSEXHIS, VRFATUSABHIS, VRFATUFERHIS, DSMOTIVOALTHIS, CDOPERALTHIS) "
      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  bindKey(insert, entry.key).bind(4, entry.start).bind(5, changed).bind(6, entry.value);
  for (size_t i = 0; i < entry.dayValues.size(); ++i) {
    insert.bind(7 + static_cast<int>(i), entry.dayValues[i]);
  }
  insert.bind(15, entry.reason).bind(16, entry.operatorCode).run();
}

void appendShiftHistory(Database& db, const ShiftHistoryEntry& entry) {
  auto latest = db.prepare(
      "SELECT MAX(DTALTSERVCLIETURN) FROM HISTTURNOSERVCLIE WHERE CDFILIAL = ? AND "
      "CDSERVFILI = ? AND CDCLIENTE = ? AND CDTURNO = ? AND DTSERVCLIETURN = ?");
  bindKey(latest, entry.key).bind(4, entry.turno).bind(5, entry.start);
  const double changed = distinctChangeTime(latest);

  auto insert = db.prepare(
      "INSERT INTO HISTTURNOSERVCLIE (CDFILIAL, CDSERVFILI, CDCLIENTE, CDTURNO, DTSERVCLIETURN, "
      "DTALTSERVCLIETURN, VRSERVFATTUR, VRSVFATTUDOM, VRSVFATTUSEG, VRSVFATTUTER, VRSVFATTUQUA, "
      "VRSVFATTUQUI, VRSVFATTUSEX, VRSVFATTUSAB, VRSVFATTUFER, CDOPERALTSERVCLIETURN) "
      "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
  bindKey(insert, entry.key).bind(4, entry.turno).bind(5, entry.start).bind(6, changed);
  insert.bind(7, entry.value);
  for (size_t i = 0; i < entry.dayValues.size(); ++i) {
    insert.bind(8 + static_cast<int>(i), entry.dayValues[i]);
  }
  insert.bind(16, entry.operatorCode).run();
}

void deleteBindingDependents(Database& db, const BindingKey& key) {
  for (const std::string_view table :
       {"HISTSERVFATU", "TURNOSERVCLIE", "HISTTURNOSERVCLIE", "CORRPRECSERV"}) {
    auto statement = db.prepare(fmt::format(
        "DELETE FROM {} WHERE CDFILIAL = ? AND CDSERVFILI = ? AND CDCLIENTE = ?", table));
    bindKey(statement, key).run();
  }
}

double todayAsDayCount() {
  return std::floor(nowAsDayCount());
}

}  // namespace server
