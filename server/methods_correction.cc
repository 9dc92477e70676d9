// Price correction table of a binding: percentage intervals, initial bound exclusive and final
// bound inclusive, each with a correction percentage.
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

constexpr std::string_view kTable = "CORRPRECSERV";

BindingKey keyOf(const Record& record) {
  const auto text = [&](const char* field) { return std::get<std::string>(record.get(field)); };
  return {text("CDFILIAL"), text("CDSERVFILI"), text("CDCLIENTE")};
}

// Identity of a stored interval: the binding and both bounds.
ColumnValues intervalOf(const BindingKey& key, const Record& values) {
  return {{"CDFILIAL", key.filial},
          {"CDSERVFILI", key.servico},
          {"CDCLIENTE", key.cliente},
          {"VRPEINICSERV", values.get("VRPEINICSERV")},
          {"VRPEFIMSERV", values.get("VRPEFIMSERV")}};
}

std::string describeInterval(const Record& values) {
  return fmt::format("de {}% a {}%", describeValue(values.get("VRPEINICSERV")),
                     describeValue(values.get("VRPEFIMSERV")));
}

// Bounds and correction given, the final bound above the initial one.
void requireValidInterval(const RowChange& change) {
  const auto& after = change.after;
  for (const char* field : {"VRPEINICSERV", "VRPEFIMSERV", "VRPECORRSERV"}) {
    if (!packet::isNumber(after.get(field))) {
      throw MethodError(fmt::format(
          "Alteração {}: os percentuais inicial, final e de correção devem ser informados.",
          change.number));
    }
  }
  if (std::get<double>(after.get("VRPEFIMSERV")) <= std::get<double>(after.get("VRPEINICSERV"))) {
    throw MethodError(fmt::format(
        "Alteração {}: o intervalo final (inc.) deve ser maior que o intervalo inicial (exc.).",
        change.number));
  }
}

// Intervals run from an exclusive initial bound to an inclusive final one, so (a, b] and (c, d]
// share a percentage exactly when a < d and c < b: (0, 10] and (10, 20] do not. A binding's
// stored intervals never share one, so a volume falls in one interval at most. `own` is the
// stored interval being changed, which is not compared with itself.
void requireFreeInterval(Database& db, const BindingKey& key, const Record& values,
                         const Record* own = nullptr) {
  auto statement = db.prepare(
      "SELECT VRPEINICSERV, VRPEFIMSERV FROM CORRPRECSERV WHERE CDFILIAL = ? AND "
      "CDSERVFILI = ? AND CDCLIENTE = ? AND VRPEINICSERV < ?4 AND ?5 < VRPEFIMSERV AND NOT "
      "COALESCE(VRPEINICSERV = ?6 AND VRPEFIMSERV = ?7, FALSE) "
      "ORDER BY VRPEINICSERV, VRPEFIMSERV LIMIT 1");
  statement.bind(1, key.filial).bind(2, key.servico).bind(3, key.cliente);
  statement.bind(4, values.get("VRPEFIMSERV")).bind(5, values.get("VRPEINICSERV"));
  if (own != nullptr) {
    statement.bind(6, own->get("VRPEINICSERV")).bind(7, own->get("VRPEFIMSERV"));
  } else {
    statement.bindNull(6).bindNull(7);
  }
  if (!statement.step())
    return;
  Record stored;
  stored.set("VRPEINICSERV", statement.value(0));
  stored.set("VRPEFIMSERV", statement.value(1));
  if (sameValue(stored.get("VRPEINICSERV"), values.get("VRPEINICSERV")) &&
      sameValue(stored.get("VRPEFIMSERV"), values.get("VRPEFIMSERV"))) {
    throw MethodError(fmt::format("O intervalo {} já está cadastrado para o cliente {}.",
                                  describeInterval(values), describeClient(db, key.cliente)));
  }
  throw MethodError(fmt::format(
      "O intervalo {} sobrepõe o intervalo {} já cadastrado na tabela de correção do cliente "
      "{}. Os intervalos não podem ter percentuais em comum.",
      describeInterval(values), describeInterval(stored), describeClient(db, key.cliente)));
}

ColumnValues maintained(const std::string& operatorCode) {
  return {{"CDOPERALTCORR", operatorCode}, {"DTALTCORR", nowAsDayCount()}};
}

void applyCorrection(AuditTrail& trail, const RowChange& change) {
  Database& db = trail.db();
  const std::string& operatorCode = trail.operatorCode();
  const auto& spec = datasets::corrPrecServ();
  if (change.kind == packet::ChangeKind::Insert) {
    const BindingKey key = keyOf(change.after);
    requireBound(db, key);
    requireValidInterval(change);
    requireFreeInterval(db, key, change.after);
    ColumnValues values =
        columnsOf(change.after, fieldsWithRole(spec, {FieldRole::Key, FieldRole::Stored}));
    for (auto& column : maintained(operatorCode))
      values.push_back(std::move(column));
    trail.insert(kTable, values);
    return;
  }

  const BindingKey key = keyOf(change.before);
  const ColumnValues where = intervalOf(key, change.before);
  const auto stored =
      selectRow(db, kTable, fieldsWithRole(spec, {FieldRole::Key, FieldRole::Stored}), where);
  const auto stale = [&] {
    return MethodError(fmt::format(
        "O intervalo {} da tabela de correção do cliente {} foi alterado ou excluído por "
        "outro usuário. Atualize os dados.",
        describeInterval(change.before), describeClient(db, key.cliente)));
  };
  if (!stored)
    throw stale();
  if (change.kind == packet::ChangeKind::Delete) {
    if (deletionConflict(change, *stored, spec))
      throw stale();
    trail.remove(kTable, where);
    return;
  }
  const auto altered = alteredFields(change, spec);
  if (modificationConflict(change, *stored, altered))
    throw stale();
  requireValidInterval(change);
  const bool boundsMoved =
      !sameValue(stored->get("VRPEINICSERV"), change.after.get("VRPEINICSERV")) ||
      !sameValue(stored->get("VRPEFIMSERV"), change.after.get("VRPEFIMSERV"));
  if (boundsMoved)
    requireFreeInterval(db, key, change.after, &change.before);
  ColumnValues changed;
  for (const auto& field : altered)
    changed.emplace_back(field, change.after.get(field));
  if (changed.empty())
    return;
  for (auto& column : maintained(operatorCode))
    changed.push_back(std::move(column));
  trail.update(kTable, *stored, changed, where);
}

packet::CallResult getCorrPrecServ(CallContext& context, const MethodArgs& args) {
  static const std::string sql = fmt::format(
      "SELECT {} FROM CORRPRECSERV CP WHERE CP.CDFILIAL = ? AND CP.CDSERVFILI = ? AND "
      "CP.CDCLIENTE = ? ORDER BY CP.VRPEINICSERV, CP.VRPEFIMSERV",
      selectList(datasets::corrPrecServ(), "CP",
                 {{"QTINISERV", "NULL"}, {"QTFINSERV", "NULL"}, {"VRNOVOPRECOSERV", "NULL"}}));
  const BindingKey key{args.text(0), args.text(1), args.text(2)};
  auto statement = context.db.prepare(sql);
  statement.bind(1, key.filial).bind(2, key.servico).bind(3, key.cliente);
  packet::Packet packet = readPacket(statement, datasets::corrPrecServ());

  // Quantities and price follow from the binding's proposed volume and value (0 when empty).
  auto binding = context.db.prepare(
      "SELECT QTVOLPROSERVCLI, VRSERVFATU FROM SERVCLIE WHERE CDFILIAL = ? AND "
      "CDSERVFILI = ? AND CDCLIENTE = ?");
  binding.bind(1, key.filial).bind(2, key.servico).bind(3, key.cliente);
  const bool bound = binding.step();
  const double volume = bound ? binding.number(0) : 0.0;
  const double price = bound ? binding.number(1) : 0.0;
  const auto column = [&](const char* name) { return packet.fieldIndex(name); };
  const auto numberAt = [](const packet::Row& row, int index) {
    const auto* value = std::get_if<double>(&row[index]);
    return value != nullptr ? *value : 0.0;
  };
  for (auto& row : packet.rows) {
    row[column("QTINISERV")] = volume - numberAt(row, column("VRPEINICSERV")) * volume / 100 - 1;
    row[column("QTFINSERV")] = volume - numberAt(row, column("VRPEFIMSERV")) * volume / 100 - 1;
    row[column("VRNOVOPRECOSERV")] = price + numberAt(row, column("VRPECORRSERV")) * price / 100;
  }
  return okResult(std::move(packet));
}

packet::CallResult updCorrPrecServ(CallContext& context, const MethodArgs& args) {
  const packet::Delta* delta = args.delta(0);
  if (delta == nullptr || delta->changes.empty())
    return okResult();
  const auto changes = readDelta(*delta, datasets::corrPrecServ());
  Transaction transaction(context.db);
  for (const auto& change : changes)
    applyCorrection(context.trail, change);
  transaction.commit();
  return okResult();
}

// The stored intervals that hold the percentage strictly inside: a bound equal to a stored
// interval's bound is no conflict (an interval may start where another ends), while one inside
// a stored interval is. Overlaps no single bound reveals are refused when the table is saved.
packet::CallResult getIntervMaior(CallContext& context, const MethodArgs& args) {
  auto statement = context.db.prepare(
      "SELECT VRPEINICSERV, VRPEFIMSERV FROM CORRPRECSERV WHERE CDFILIAL = ? AND "
      "CDSERVFILI = ? AND CDCLIENTE = ? AND VRPEINICSERV < ?4 AND ?4 < VRPEFIMSERV "
      "ORDER BY VRPEINICSERV, VRPEFIMSERV");
  statement.bind(1, args.text(0)).bind(2, args.text(1)).bind(3, args.text(2));
  statement.bind(4, args.number(3));
  return okResult(readPacket(statement, datasets::intervMaior()));
}

}  // namespace

void addCorrectionMethods(MethodTable& table) {
  const std::string module(kModuleClientesServico);
  const std::vector<ArgSpec> filialServicoCliente = {
      {ArgKind::Code, "CDFILIAL"}, {ArgKind::Code, "CDSERVFILI"}, {ArgKind::Code, "CDCLIENTE"}};
  table.add({module, "GetCorrPrecServ", filialServicoCliente, getCorrPrecServ});
  table.add({module, "UpdCorrPrecServ", {{ArgKind::DeltaOrNull, "delta"}}, updCorrPrecServ, true});
  std::vector<ArgSpec> interv = filialServicoCliente;
  interv.push_back({ArgKind::Number, "percentual"});
  table.add({module, "GetIntervMaior", interv, getIntervMaior});
}

}  // namespace server
