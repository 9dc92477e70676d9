#include "server/binding_store.h"

#include <fmt/format.h>

#include <cmath>
#include <string_view>

#include "server/data_sets.h"
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

void appendValueHistory(AuditTrail& trail, const ValueHistoryEntry& entry) {
  auto latest = trail.db().prepare(
      "SELECT MAX(DTALTEFATHIS) FROM HISTSERVFATU WHERE CDFILIAL = ? AND CDSERVFILI = ? AND "
      "CDCLIENTE = ? AND DTSRVFATUHIS = ?");
  bindKey(latest, entry.key).bind(4, entry.start);
  ColumnValues values = {{"CDFILIAL", entry.key.filial},
                         {"CDSERVFILI", entry.key.servico},
                         {"CDCLIENTE", entry.key.cliente},
                         {"DTSRVFATUHIS", entry.start},
                         {"DTALTEFATHIS", distinctChangeTime(latest)},
                         {"VRSERVFATHIS", entry.value}};
  for (size_t i = 0; i < kDaySuffixes.size(); ++i)
    values.emplace_back(fmt::format("VRFATU{}HIS", kDaySuffixes[i]), entry.dayValues[i]);
  values.emplace_back("DSMOTIVOALTHIS", entry.reason);
  values.emplace_back("CDOPERALTHIS", entry.operatorCode);
  trail.insert("HISTSERVFATU", values);
}

void appendShiftHistory(AuditTrail& trail, const ShiftHistoryEntry& entry) {
  auto latest = trail.db().prepare(
      "SELECT MAX(DTALTSERVCLIETURN) FROM HISTTURNOSERVCLIE WHERE CDFILIAL = ? AND "
      "CDSERVFILI = ? AND CDCLIENTE = ? AND CDTURNO = ? AND DTSERVCLIETURN = ?");
  bindKey(latest, entry.key).bind(4, entry.turno).bind(5, entry.start);
  ColumnValues values = {
      {"CDFILIAL", entry.key.filial},   {"CDSERVFILI", entry.key.servico},
      {"CDCLIENTE", entry.key.cliente}, {"CDTURNO", entry.turno},
      {"DTSERVCLIETURN", entry.start},  {"DTALTSERVCLIETURN", distinctChangeTime(latest)},
      {"VRSERVFATTUR", entry.value}};
  for (size_t i = 0; i < kDaySuffixes.size(); ++i)
    values.emplace_back(fmt::format("VRSVFATTU{}", kDaySuffixes[i]), entry.dayValues[i]);
  values.emplace_back("CDOPERALTSERVCLIETURN", entry.operatorCode);
  trail.insert("HISTTURNOSERVCLIE", values);
}

void deleteBindingDependents(AuditTrail& trail, const BindingKey& key) {
  const ColumnValues where = {
      {"CDFILIAL", key.filial}, {"CDSERVFILI", key.servico}, {"CDCLIENTE", key.cliente}};
  for (const std::string_view table :
       {"HISTSERVFATU", "TURNOSERVCLIE", "HISTTURNOSERVCLIE", "CORRPRECSERV"}) {
    trail.remove(table, where);
  }
}

double todayAsDayCount() {
  return std::floor(nowAsDayCount());
}

}  // namespace server
