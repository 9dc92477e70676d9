// Shift values of a binding: one row per shift of the service with the client's values, their
// saving (with the fields the form left empty stored as NULL) and their history.
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

constexpr std::string_view kTable = "TURNOSERVCLIE";
// Room for every field name of cdsTurno, each with its bar.
constexpr size_t kEmptyFieldsSize = 2000;

struct ShiftKey {
  BindingKey binding;
  std::string turno;
};

ShiftKey keyOf(const Record& record) {
  const auto text = [&](const char* field) { return std::get<std::string>(record.get(field)); };
  return {{text("CDFILIAL"), text("CDSERVFILI"), text("CDCLIENTE")}, text("CDTURNO")};
}

ColumnValues whereKey(const ShiftKey& key) {
  return {{"CDFILIAL", key.binding.filial},
          {"CDSERVFILI", key.binding.servico},
          {"CDCLIENTE", key.binding.cliente},
          {"CDTURNO", key.turno}};
}

// Field names of "A|B|", each checked against the shift data set.
std::vector<std::string> parseEmptyFields(const std::string& list) {
  std::vector<std::string> names;
  size_t start = 0;
  while (start <= list.size()) {
    const size_t bar = std::min(list.find('|', start), list.size());
    std::string name = list.substr(start, bar - start);
    name.erase(0, name.find_first_not_of(' '));
    name.erase(name.find_last_not_of(' ') + 1);
    if (!name.empty()) {
      const FieldSpec* field = datasets::turno().find(name);
      if (field == nullptr) {
        throw MethodError(fmt::format(
            "SetTurno: o campo '{}' da lista de campos vazios não pertence a cdsTurno.", name));
      }
      if (field->role == FieldRole::Stored)
        names.push_back(field->name);
    }
    start = bar + 1;
  }
  return names;
}

void requireShift(Database& db, const ShiftKey& key) {
  auto statement =
      db.prepare("SELECT 1 FROM TURNO WHERE CDFILIAL = ? AND CDSERVFILI = ? AND CDTURNO = ?");
  statement.bind(1, key.binding.filial).bind(2, key.binding.servico).bind(3, key.turno);
  if (!statement.step()) {
    throw MethodError(fmt::format("O turno {} não está cadastrado para o serviço {} da filial {}.",
                                  key.turno, key.binding.servico, key.binding.filial));
  }
}

std::string staleMessage(Database& db, const ShiftKey& key) {
  return fmt::format(
      "Os valores do turno {} do cliente {} foram alterados por outro usuário. Atualize os "
      "dados e refaça a alteração.",
      key.turno, describeClient(db, key.binding.cliente));
}

bool holdsNoValues(const Record& row) {
  for (const auto& field : fieldsWithRole(datasets::turno(), {FieldRole::Stored})) {
    if (!sameValue(row.get(field), std::monostate{}))
      return false;
  }
  return true;
}

void recordShift(AuditTrail& trail, const ShiftKey& key, const Record& row) {
  ShiftHistoryEntry entry;
  entry.key = key.binding;
  entry.turno = key.turno;
  // Day 0 is "no date", like an empty field.
  const auto* start = std::get_if<double>(&row.get("DTSERVCLIETURN"));
  entry.start = start != nullptr && *start != 0 ? *start : todayAsDayCount();
  entry.value = row.get("VRSERVFATTUR");
  for (size_t i = 0; i < kDaySuffixes.size(); ++i) {
    entry.dayValues[i] = row.get(fmt::format("VRSVFATTU{}", kDaySuffixes[i]));
  }
  entry.operatorCode = trail.operatorCode();
  appendShiftHistory(trail, entry);
}

// Upserts or deletes the client's values of one shift. A shift with no stored values reads as
// a row of nulls, so the form's first change of it (old values null) is not a conflict.
void saveShift(AuditTrail& trail, const RowChange& change) {
  Database& db = trail.db();
  const std::string& operatorCode = trail.operatorCode();
  const auto& spec = datasets::turno();
  const ShiftKey key =
      keyOf(change.kind == packet::ChangeKind::Insert ? change.after : change.before);
  requireBound(db, key.binding);
  requireShift(db, key);
  const auto stored = selectRow(
      db, kTable, fieldsWithRole(spec, {FieldRole::Key, FieldRole::Stored}), whereKey(key));

  if (change.kind == packet::ChangeKind::Delete) {
    if (!stored) {
      // Deleting a shift that never had values leaves nothing to do.
      if (holdsNoValues(change.before))
        return;
      throw MethodError(staleMessage(db, key));
    }
    if (deletionConflict(change, *stored, spec))
      throw MethodError(staleMessage(db, key));
    trail.remove(kTable, whereKey(key));
    return;
  }

  // The session's operator made the change, whatever operator the form wrote into the row.
  const ColumnValues maintained = {{"DTALTSERVCLIETURN", nowAsDayCount()},
                                   {"CDOPERALTSERVCLIETURN", operatorCode}};

  if (!stored) {
    // Old values that are not all null mean another operator removed the shift's values.
    if (change.kind == packet::ChangeKind::Modify && !holdsNoValues(change.before)) {
      throw MethodError(staleMessage(db, key));
    }
    ColumnValues values = whereKey(key);
    for (const auto& field : fieldsWithRole(spec, {FieldRole::Stored})) {
      values.emplace_back(field, change.after.get(field));
    }
    values.insert(values.end(), maintained.begin(), maintained.end());
    trail.insert(kTable, values);
    recordShift(trail, key, change.after);
    return;
  }
  if (change.kind == packet::ChangeKind::Insert) {
    throw MethodError(fmt::format("Os valores do turno {} do cliente {} já estão cadastrados.",
                                  key.turno, describeClient(db, key.binding.cliente)));
  }
  const auto altered = alteredFields(change, spec);
  if (modificationConflict(change, *stored, altered))
    throw MethodError(staleMessage(db, key));
  Record result = *stored;
  ColumnValues changed;
  for (const auto& field : altered) {
    if (sameValue(stored->get(field), change.after.get(field)))
      continue;
    changed.emplace_back(field, change.after.get(field));
    result.set(field, change.after.get(field));
  }
  if (changed.empty())
    return;
  changed.insert(changed.end(), maintained.begin(), maintained.end());
  trail.update(kTable, *stored, changed, whereKey(key));
  recordShift(trail, key, result);
}

packet::CallResult getTurno(CallContext& context, const MethodArgs& args) {
  static const std::string sql = fmt::format(
      "SELECT {} FROM SERVCLIE SC "
      "JOIN TURNO T ON T.CDFILIAL = SC.CDFILIAL AND T.CDSERVFILI = SC.CDSERVFILI "
      "LEFT JOIN TURNOSERVCLIE TS ON TS.CDFILIAL = SC.CDFILIAL AND "
      "TS.CDSERVFILI = SC.CDSERVFILI AND TS.CDCLIENTE = SC.CDCLIENTE AND TS.CDTURNO = T.CDTURNO "
      "WHERE SC.CDFILIAL = ? AND SC.CDCLIENTE = ? AND SC.CDSERVFILI = ? ORDER BY T.CDTURNO",
      selectList(datasets::turno(), "TS",
                 {{"CDTURNO", "T.CDTURNO"},
                  {"NMTURNO", "T.NMTURNO"},
                  {"CDCLIENTE", "SC.CDCLIENTE"},
                  {"CDFILIAL", "SC.CDFILIAL"},
                  {"CDSERVFILI", "SC.CDSERVFILI"}}));
  auto statement = context.db.prepare(sql);
  statement.bind(1, args.text(0)).bind(2, args.text(1)).bind(3, args.text(2));
  return okResult(readPacket(statement, datasets::turno()));
}

packet::CallResult setTurno(CallContext& context, const MethodArgs& args) {
  const packet::Delta* delta = args.delta(0);
  const auto emptyFields = parseEmptyFields(args.text(1));
  if (delta == nullptr || delta->changes.empty())
    return okResult();
  auto changes = readDelta(*delta, datasets::turno());
  for (auto& change : changes) {
    if (change.kind == packet::ChangeKind::Delete)
      continue;
    for (const auto& field : emptyFields)
      change.after.set(field, std::monostate{});
  }
  Transaction transaction(context.db);
  for (const auto& change : changes)
    saveShift(context.trail, change);
  transaction.commit();
  return okResult();
}

packet::CallResult getHistoricoTurno(CallContext& context, const MethodArgs& args) {
  static const std::string sql = fmt::format(
      "SELECT {} FROM HISTTURNOSERVCLIE H WHERE H.CDFILIAL = ? AND H.CDCLIENTE = ? AND "
      "H.CDSERVFILI = ? AND H.CDTURNO = ? "
      "ORDER BY H.DTSERVCLIETURN DESC, H.DTALTSERVCLIETURN DESC",
      selectList(datasets::historicoTurno(), "H"));
  auto statement = context.db.prepare(sql);
  statement.bind(1, args.text(0)).bind(2, args.text(1)).bind(3, args.text(2));
  statement.bind(4, args.text(3));
  return okResult(readPacket(statement, datasets::historicoTurno()));
}

}  // namespace

void addShiftMethods(MethodTable& table) {
  const std::string module(kModuleClientesServico);
  table.add(
      {module,
       "GetTurno",
       {{ArgKind::Code, "CDFILIAL"}, {ArgKind::Code, "CDCLIENTE"}, {ArgKind::Code, "CDSERVFILI"}},
       getTurno});
  table.add({module,
             "SetTurno",
             {{ArgKind::DeltaOrNull, "delta"}, {ArgKind::Text, "campos vazios", kEmptyFieldsSize}},
             setTurno,
             true});
  table.add({module,
             "GetHistoricoTurno",
             {{ArgKind::Code, "CDFILIAL"},
              {ArgKind::Code, "CDCLIENTE"},
              {ArgKind::Code, "CDSERVFILI"},
              {ArgKind::Code, "CDTURNO"}},
             getHistoricoTurno});
}

}  // namespace server
