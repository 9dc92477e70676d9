// Service values with their starts of validity: the value history of a binding, a new value
// for one client or replicated to every client of a service, and the dates the validity dialog
// checks against.
#include <fmt/format.h>

#include "server/binding_store.h"
#include "server/data_sets.h"
#include "server/day_count.h"
#include "server/delta_rows.h"
#include "server/method_error.h"
#include "server/method_groups.h"
#include "server/table_rows.h"

namespace server {

namespace {

constexpr std::string_view kHistory = "HISTSERVFATU";
constexpr size_t kReasonSize = 4000;

BindingKey keyOf(const Record& record) {
  const auto text = [&](const char* field) { return std::get<std::string>(record.get(field)); };
  return {text("CDFILIAL"), text("CDSERVFILI"), text("CDCLIENTE")};
}

// Identity of a stored history row: the binding, the start and the change date-time.
ColumnValues historyRowOf(const RowChange& change) {
  const auto& changed = change.before.get("DTALTEFATHIS");
  if (!packet::isNumber(changed)) {
    throw MethodError(fmt::format(
        "Alteração {}: a linha do histórico não traz a data da alteração (DTALTEFATHIS).",
        change.number));
  }
  const BindingKey key = keyOf(change.before);
  return {{"CDFILIAL", key.filial},
          {"CDSERVFILI", key.servico},
          {"CDCLIENTE", key.cliente},
          {"DTSRVFATUHIS", change.before.get("DTSRVFATUHIS")},
          {"DTALTEFATHIS", changed}};
}

std::string staleHistoryMessage(Database& db, const RowChange& change) {
  const BindingKey key = keyOf(change.before);
  return fmt::format(
      "A vigência de {} do histórico do cliente {} foi alterada ou excluída por outro "
      "usuário. Atualize os dados.",
      formatDate(std::get<double>(change.before.get("DTSRVFATUHIS"))),
      describeClient(db, key.cliente));
}

void applyHistoryChange(AuditTrail& trail, const RowChange& change) {
  Database& db = trail.db();
  const auto& spec = datasets::histServFatu();
  if (change.kind == packet::ChangeKind::Insert) {
    ValueHistoryEntry entry;
    entry.key = keyOf(change.after);
    requireBound(db, entry.key);
    entry.start = std::get<double>(change.after.get("DTSRVFATUHIS"));
    entry.value = change.after.get("VRSERVFATHIS");
    for (size_t i = 0; i < kDaySuffixes.size(); ++i) {
      entry.dayValues[i] = change.after.get(fmt::format("VRFATU{}HIS", kDaySuffixes[i]));
    }
    entry.operatorCode = trail.operatorCode();
    appendValueHistory(trail, entry);
    return;
  }
  const ColumnValues row = historyRowOf(change);
  const auto stored =
      selectRow(db, kHistory, fieldsWithRole(spec, {FieldRole::Key, FieldRole::Stored}), row);
  if (!stored)
    throw MethodError(staleHistoryMessage(db, change));
  if (change.kind == packet::ChangeKind::Delete) {
    if (deletionConflict(change, *stored, spec))
      throw MethodError(staleHistoryMessage(db, change));
    trail.remove(kHistory, row);
    return;
  }
  const auto altered = alteredFields(change, spec);
  if (modificationConflict(change, *stored, altered)) {
    throw MethodError(staleHistoryMessage(db, change));
  }
  ColumnValues changed;
  for (const auto& field : altered)
    changed.emplace_back(field, change.after.get(field));
  changed.emplace_back("CDOPERALTHIS", trail.operatorCode());
  trail.update(kHistory, *stored, changed, row);
}

packet::CallResult getHistServFatu(CallContext& context, const MethodArgs& args) {
  static const std::string sql = fmt::format(
      "SELECT {} FROM HISTSERVFATU H WHERE H.CDFILIAL = ? AND H.CDCLIENTE = ? AND "
      "H.CDSERVFILI = ? ORDER BY H.DTSRVFATUHIS DESC, H.DTALTEFATHIS DESC",
      selectList(datasets::histServFatu(), "H"));
  auto statement = context.db.prepare(sql);
  statement.bind(1, args.text(0)).bind(2, args.text(1)).bind(3, args.text(2));
  return okResult(readPacket(statement, datasets::histServFatu()));
}

packet::CallResult updHistServFatu(CallContext& context, const MethodArgs& args) {
  const packet::Delta* delta = args.delta(0);
  if (delta == nullptr || delta->changes.empty())
    return okResult();
  const auto changes = readDelta(*delta, datasets::histServFatu());
  Transaction transaction(context.db);
  for (const auto& change : changes)
    applyHistoryChange(context.trail, change);
  transaction.commit();
  return okResult();
}

packet::CallResult delHistServFatu(CallContext& context, const MethodArgs& args) {
  Transaction transaction(context.db);
  context.trail.remove(
      kHistory,
      {{"CDFILIAL", args.text(0)}, {"CDSERVFILI", args.text(1)}, {"CDCLIENTE", args.text(2)}});
  transaction.commit();
  return okResult();
}

// Writes the value and start into one binding and appends its history row.
void writeValue(AuditTrail& trail, const ValueHistoryEntry& entry) {
  const ColumnValues where = {{"CDFILIAL", entry.key.filial},
                              {"CDSERVFILI", entry.key.servico},
                              {"CDCLIENTE", entry.key.cliente}};
  const auto stored = selectRow(trail.db(), "SERVCLIE", {"VRSERVFATU", "DTSERVFATU"}, where);
  trail.update("SERVCLIE", stored.value_or(Record{}),
               {{"VRSERVFATU", entry.value},
                {"DTSERVFATU", entry.start},
                {"CDOPERALTSERVCLIE", entry.operatorCode},
                {"DTALTSERVCLIE", nowAsDayCount()}},
               where);
  appendValueHistory(trail, entry);
}

// A replication keeps each client's own day values: the ones the dialog sends belong to the
// row it was opened on.
void replicateValue(AuditTrail& trail, ValueHistoryEntry entry) {
  Database& db = trail.db();
  static const std::string sql = [] {
    std::string days;
    for (const auto day : kDaySuffixes)
      days += fmt::format(", VRSERVFAT{}", day);
    return fmt::format(
        "SELECT CDCLIENTE{} FROM SERVCLIE WHERE CDFILIAL = ? AND CDSERVFILI = ? "
        "ORDER BY CDCLIENTE",
        days);
  }();
  auto clients = db.prepare(sql);
  clients.bind(1, entry.key.filial).bind(2, entry.key.servico);
  std::vector<ValueHistoryEntry> entries;
  while (clients.step()) {
    entry.key.cliente = clients.text(0);
    for (size_t i = 0; i < kDaySuffixes.size(); ++i) {
      entry.dayValues[i] = clients.value(1 + static_cast<int>(i));
    }
    entries.push_back(entry);
  }
  if (entries.empty()) {
    throw MethodError(fmt::format("Não há clientes vinculados ao serviço {} da filial {}.",
                                  entry.key.servico, entry.key.filial));
  }
  for (const auto& e : entries)
    writeValue(trail, e);
  auto latest = db.prepare(
      "SELECT MAX(DTALTREPLICA) FROM DTREPLICAVALOR WHERE CDFILIAL = ? AND CDSERVFILI = ?");
  latest.bind(1, entry.key.filial).bind(2, entry.key.servico);
  trail.insert("DTREPLICAVALOR", {{"CDFILIAL", entry.key.filial},
                                  {"CDSERVFILI", entry.key.servico},
                                  {"DTALTREPLICA", distinctChangeTime(latest)},
                                  {"DTSERVFATU", entry.start},
                                  {"VRSERVFATU", entry.value},
                                  {"DSMOTIVO", entry.reason},
                                  {"CDOPERALT", entry.operatorCode}});
}

packet::CallResult alterarVrServico(CallContext& context, const MethodArgs& args) {
  ValueHistoryEntry entry;
  entry.key = {args.text(0), args.text(1), args.text(2)};
  entry.start = args.date(3);
  if (args.number(4) < 0)
    throw MethodError("O valor do serviço não pode ser negativo.");
  entry.value = args.number(4);
  entry.reason = args.text(5);
  for (size_t i = 0; i < kDaySuffixes.size(); ++i)
    entry.dayValues[i] = args.number(6 + i);
  entry.operatorCode = context.operatorCode;

  Transaction transaction(context.db);
  requireService(context.db, entry.key.filial, entry.key.servico);
  if (entry.key.cliente.empty()) {
    replicateValue(context.trail, entry);
  } else {
    requireBound(context.db, entry.key);
    writeValue(context.trail, entry);
  }
  transaction.commit();
  return okResult();
}

packet::CallResult getMaiorVigencia(CallContext& context, const MethodArgs& args) {
  auto statement = context.db.prepare(
      "SELECT DTSRVFATUHIS FROM HISTSERVFATU WHERE CDFILIAL = ? AND CDCLIENTE = ? AND "
      "CDSERVFILI = ? ORDER BY DTSRVFATUHIS DESC LIMIT 1");
  statement.bind(1, args.text(0)).bind(2, args.text(1)).bind(3, args.text(2));
  return okResult(readPacket(statement, datasets::maiorVigencia()));
}

packet::CallResult getDtReplicaValor(CallContext& context, const MethodArgs& args) {
  auto statement = context.db.prepare(
      "SELECT DTSERVFATU FROM DTREPLICAVALOR WHERE CDFILIAL = ? AND CDSERVFILI = ? "
      "ORDER BY DTALTREPLICA DESC LIMIT 1");
  statement.bind(1, args.text(0)).bind(2, args.text(1));
  return okResult(readPacket(statement, datasets::dtReplicaValor()));
}

}  // namespace

void addValueHistoryMethods(MethodTable& table) {
  const std::string module(kModuleClientesServico);
  const std::vector<ArgSpec> filialClienteServico = {
      {ArgKind::Code, "CDFILIAL"}, {ArgKind::Code, "CDCLIENTE"}, {ArgKind::Code, "CDSERVFILI"}};
  const std::vector<ArgSpec> filialServicoCliente = {{ArgKind::Code, "CDFILIAL", kFilialSize},
                                                     {ArgKind::Code, "CDSERVFILI", kServicoSize},
                                                     {ArgKind::Code, "CDCLIENTE", kClienteSize}};

  table.add({module, "GetHistServFatu", filialClienteServico, getHistServFatu});
  table.add({module, "UpdHistServFatu", {{ArgKind::DeltaOrNull, "delta"}}, updHistServFatu, true});
  table.add({module, "DelHistServFatu", filialServicoCliente, delHistServFatu, true});

  std::vector<ArgSpec> alterar = filialServicoCliente;
  alterar.push_back({ArgKind::Date, "início de vigência"});
  alterar.push_back({ArgKind::Number, "valor"});
  alterar.push_back({ArgKind::Text, "motivo", kReasonSize});
  for (const auto day : kDaySuffixes) {
    alterar.push_back({ArgKind::Number, fmt::format("valor de {}", day)});
  }
  alterar.push_back({ArgKind::Operator, "operador", kOperadorSize});
  table.add({module, "AlterarVrServico", alterar, alterarVrServico, true});

  table.add({module, "GetMaiorVigencia", filialClienteServico, getMaiorVigencia});
  table.add({module,
             "GetDtReplicaValor",
             {{ArgKind::Code, "CDFILIAL"}, {ArgKind::Code, "CDSERVFILI"}},
             getDtReplicaValor});
}

}  // namespace server
