// Client-service rows: reading the bound and the bindable clients of a service, saving the
// rows' delta, and the column-wide fixed-price flag.
#include <fmt/format.h>

#include <algorithm>
#include <set>
#include <utility>

#include "server/binding_store.h"
#include "server/data_sets.h"
#include "server/day_count.h"
#include "server/delta_rows.h"
#include "server/method_error.h"
#include "server/method_groups.h"
#include "server/row_versions.h"
#include "server/table_rows.h"

namespace server {

namespace {

constexpr std::string_view kTable = "SERVCLIE";

BindingKey keyOf(const Record& record) {
  const auto text = [&](const char* field) {
    const auto* value = std::get_if<std::string>(&record.get(field));
    return value != nullptr ? *value : std::string();
  };
  return {text("CDFILIAL"), text("CDSERVFILI"), text("CDCLIENTE")};
}

ColumnValues whereKey(const BindingKey& key) {
  return {{"CDFILIAL", key.filial}, {"CDSERVFILI", key.servico}, {"CDCLIENTE", key.cliente}};
}

const std::vector<std::string>& storedColumns() {
  static const auto columns =
      fieldsWithRole(datasets::servClie(), {FieldRole::Key, FieldRole::Stored});
  return columns;
}

std::optional<Record> loadStored(Database& db, const BindingKey& key) {
  return selectRow(db, kTable, storedColumns(), whereKey(key));
}

void requireProduct(Database& db, const packet::Value& product, int changeNumber) {
  const auto* code = std::get_if<std::string>(&product);
  if (code == nullptr || code->find_first_not_of(' ') == std::string::npos)
    return;
  auto statement = db.prepare("SELECT 1 FROM PRODUTO WHERE CDPRODUTO = ?");
  if (!statement.bind(1, *code).step()) {
    throw MethodError(
        fmt::format("Alteração {}: o produto '{}' não está cadastrado.", changeNumber, *code));
  }
}

void requireBranchClient(Database& db, const BindingKey& key) {
  auto statement = db.prepare("SELECT 1 FROM CLIENTEFILIAL WHERE CDFILIAL = ? AND CDCLIENTE = ?");
  if (!statement.bind(1, key.filial).bind(2, key.cliente).step()) {
    throw MethodError(fmt::format("O cliente {} não pertence à filial {}.",
                                  describeClient(db, key.cliente), key.filial));
  }
}

// Appends the value history of a row as it now stands.
void recordValue(AuditTrail& trail, const BindingKey& key, const Record& row) {
  ValueHistoryEntry entry;
  entry.key = key;
  // Day 0 is "no date", like an empty field.
  const auto* start = std::get_if<double>(&row.get("DTSERVFATU"));
  entry.start = start != nullptr && *start != 0 ? *start : todayAsDayCount();
  entry.value = row.get("VRSERVFATU");
  for (size_t i = 0; i < kDaySuffixes.size(); ++i) {
    entry.dayValues[i] = row.get(fmt::format("VRSERVFAT{}", kDaySuffixes[i]));
  }
  entry.operatorCode = trail.operatorCode();
  appendValueHistory(trail, entry);
}

ColumnValues maintained(const std::string& operatorCode) {
  return {{"CDOPERALTSERVCLIE", operatorCode}, {"DTALTSERVCLIE", nowAsDayCount()}};
}

// The services a save has found registered: a batch moving many clients into one service looks
// it up once. Nothing in the save removes a service.
class KnownServices {
 public:
  void require(Database& db, const BindingKey& key) {
    auto service = std::make_pair(key.filial, key.servico);
    if (known_.contains(service))
      return;
    requireService(db, key.filial, key.servico);
    known_.insert(std::move(service));
  }

 private:
  std::set<std::pair<std::string, std::string>> known_;
};

// A save of many rows (each client moved in writes 35) writes more pages than the connection's
// usual cache holds; with a larger one while it runs, the pages it writes stay in memory until
// the commit instead of being spilled and read back. The usual cache comes back however the save
// ends, so the memory is held only while such a save runs.
class LargeSaveCache {
 public:
  static constexpr std::size_t kRows = 1000;
  static constexpr int kKibibytes = 64 * 1024;

  LargeSaveCache(Database& db, std::size_t rows) : db_(rows >= kRows ? &db : nullptr) {
    if (db_ != nullptr)
      db_->setPageCache(kKibibytes);
  }
  ~LargeSaveCache() {
    if (db_ == nullptr)
      return;
    try {
      db_->setPageCache(0);
    } catch (const DbError&) {
      // The connection keeps the larger cache; it is still a working connection.
    }
  }
  LargeSaveCache(const LargeSaveCache&) = delete;
  LargeSaveCache& operator=(const LargeSaveCache&) = delete;

 private:
  Database* db_;
};

void insertBinding(AuditTrail& trail, const RowChange& change, KnownServices& services) {
  Database& db = trail.db();
  const BindingKey key = keyOf(change.after);
  services.require(db, key);
  requireBranchClient(db, key);
  if (isBound(db, key)) {
    throw MethodError(fmt::format("O cliente {} já está vinculado ao serviço {} da filial {}.",
                                  describeClient(db, key.cliente), key.servico, key.filial));
  }
  requireProduct(db, change.after.get("CDPRODUTO"), change.number);
  ColumnValues values = columnsOf(change.after, storedColumns());
  for (auto& column : maintained(trail.operatorCode()))
    values.push_back(std::move(column));
  trail.insert(kTable, values);
  recordValue(trail, key, change.after);
}

void modifyBinding(AuditTrail& trail, const RowChange& change) {
  Database& db = trail.db();
  const BindingKey key = keyOf(change.before);
  const auto stored = loadStored(db, key);
  if (!stored) {
    throw MethodError(fmt::format(
        "O cliente {} não está mais vinculado ao serviço {} da filial {}: outro usuário o "
        "retirou. Atualize os dados.",
        describeClient(db, key.cliente), key.servico, key.filial));
  }
  const auto altered = alteredFields(change, datasets::servClie());
  if (const auto field = modificationConflict(change, *stored, altered)) {
    throw MethodError(fmt::format(
        "O cliente {} foi alterado por outro usuário (campo {}). Atualize os dados e refaça "
        "a alteração.",
        describeClient(db, key.cliente), *field));
  }
  ColumnValues changed;
  Record result = *stored;
  for (const auto& field : altered) {
    if (sameValue(stored->get(field), change.after.get(field)))
      continue;
    changed.emplace_back(field, change.after.get(field));
    result.set(field, change.after.get(field));
  }
  if (changed.empty()) {
    touchBinding(db, key);
    return;
  }
  const bool valueChanged = std::any_of(changed.begin(), changed.end(), [](const auto& c) {
    return c.first == "VRSERVFATU" || c.first == "DTSERVFATU";
  });
  if (std::any_of(changed.begin(), changed.end(),
                  [](const auto& c) { return c.first == "CDPRODUTO"; })) {
    requireProduct(db, change.after.get("CDPRODUTO"), change.number);
  }
  for (auto& column : maintained(trail.operatorCode()))
    changed.push_back(std::move(column));
  trail.update(kTable, *stored, changed, whereKey(key));
  if (valueChanged)
    recordValue(trail, key, result);
}

void deleteBinding(AuditTrail& trail, const RowChange& change) {
  Database& db = trail.db();
  const BindingKey key = keyOf(change.before);
  const auto stored = loadStored(db, key);
  if (!stored) {
    throw MethodError(
        fmt::format("O cliente {} já não está vinculado ao serviço {} da filial {}: outro "
                    "usuário o retirou. Atualize os dados.",
                    describeClient(db, key.cliente), key.servico, key.filial));
  }
  if (const auto field = deletionConflict(change, *stored, datasets::servClie())) {
    throw MethodError(
        fmt::format("O cliente {} foi alterado por outro usuário (campo {}) e não foi retirado do "
                    "serviço. Atualize os dados e refaça a operação.",
                    describeClient(db, key.cliente), *field));
  }
  deleteBindingDependents(trail, key);
  trail.remove(kTable, whereKey(key));
}

std::string servClieSelect() {
  return fmt::format(
      "SELECT {} FROM SERVCLIE SC "
      "JOIN CLIENTE C ON C.CDCLIENTE = SC.CDCLIENTE "
      "LEFT JOIN PRODUTO P ON P.CDPRODUTO = SC.CDPRODUTO "
      "LEFT JOIN CLIENTEFILIAL CF ON CF.CDFILIAL = SC.CDFILIAL AND CF.CDCLIENTE = SC.CDCLIENTE "
      "WHERE SC.CDFILIAL = ?1 AND SC.CDSERVFILI = ?2 ",
      selectList(datasets::servClie(), "SC",
                 {{"NMRAZSOCCLIE", "C.NMRAZSOCCLIE"},
                  {"CDARVPROD", "P.CDARVPROD"},
                  {"NMPRODUTO", "P.NMPRODUTO"},
                  {"NRINSJURCLIE", "C.NRINSJURCLIE"},
                  {"IDTPIJURCLIE", "C.IDTPIJURCLIE"},
                  {"NMFANTCLIE", "C.NMFANTCLIE"},
                  {"IDCOREFECLIFILI", "CF.IDCOREFECLIFILI"}}));
}

std::string servClieOrder(const Database& db) {
  return fmt::format("ORDER BY {}, SC.CDCLIENTE", db.nameOrder("C.NMRAZSOCCLIE"));
}

// The bindings' read: the whole service, or (asked with the version the caller holds) only the
// bindings changed since and the keys gone since, stamped with the version answered from. The
// version is read first: a change written meanwhile has a higher number and comes next time.
packet::CallResult getServClie(CallContext& context, const MethodArgs& args) {
  static SqlPerEngine whole(
      [](const Database& db) { return servClieSelect() + servClieOrder(db); });
  static SqlPerEngine changed([](const Database& db) {
    return servClieSelect() + "AND SC.NRVERSAO > ?3 AND SC.NRVERSAO <= ?4 " + servClieOrder(db);
  });
  const std::int64_t version = currentRowVersion(context.db, args.text(0), args.text(1));
  const std::int64_t since = context.knownVersion;
  const bool partial = since > 0 && since <= version;
  auto statement = context.db.prepare(partial ? changed(context.db) : whole(context.db));
  statement.bind(1, args.text(0)).bind(2, args.text(1));
  if (partial)
    statement.bind(3, static_cast<double>(since)).bind(4, static_cast<double>(version));
  packet::Packet packet = readPacket(statement, datasets::servClie(), context.rows);
  packet.version = version;
  if (partial) {
    packet.changes =
        packet::PacketChanges{since,
                              {"CDFILIAL", "CDSERVFILI", "CDCLIENTE"},
                              bindingsGone(context.db, args.text(0), args.text(1), since, version),
                              {{"NMRAZSOCCLIE", true}, {"CDCLIENTE", false}}};
  }
  return okResult(std::move(packet));
}

packet::CallResult getClientesFilial(CallContext& context, const MethodArgs& args) {
  static SqlPerEngine sql([](const Database& db) {
    return fmt::format(
        "SELECT {} FROM CLIENTEFILIAL CF JOIN CLIENTE C ON C.CDCLIENTE = CF.CDCLIENTE "
        "WHERE CF.CDFILIAL = ? AND NOT EXISTS (SELECT 1 FROM SERVCLIE SC WHERE "
        "SC.CDFILIAL = CF.CDFILIAL AND SC.CDSERVFILI = ? AND SC.CDCLIENTE = CF.CDCLIENTE) "
        "ORDER BY {}, C.CDCLIENTE",
        selectList(datasets::clientesFilial(), "C"), db.nameOrder("C.NMRAZSOCCLIE"));
  });
  auto statement = context.db.prepare(sql(context.db));
  statement.bind(1, args.text(0)).bind(2, args.text(1));
  return okResult(readPacket(statement, datasets::clientesFilial(), context.rows));
}

packet::CallResult updServClie(CallContext& context, const MethodArgs& args) {
  const packet::Delta* delta = args.delta(0);
  if (delta == nullptr || delta->changes.empty())
    return okResult();
  const auto changes = readDelta(*delta, datasets::servClie());
  const LargeSaveCache cache(context.db, changes.size());
  Transaction transaction(context.db);
  context.trail.beginBatch();
  KnownServices services;
  for (const auto& change : changes) {
    switch (change.kind) {
      case packet::ChangeKind::Insert:
        insertBinding(context.trail, change, services);
        break;
      case packet::ChangeKind::Modify:
        modifyBinding(context.trail, change);
        break;
      case packet::ChangeKind::Delete:
        deleteBinding(context.trail, change);
        break;
    }
  }
  context.trail.flush();
  transaction.commit();
  return okResult();
}

// The grid's column title sets the flag on every client of the service; the client argument
// only names the row the click came from.
packet::CallResult proUpVrPrFixAut(CallContext& context, const MethodArgs& args) {
  const std::string& flag = args.text(3);
  if (flag != "S" && flag != "N") {
    throw MethodError(fmt::format(
        "ProUpVrPrFixAut: o indicador de venda a preço fixo deve ser 'S' ou 'N', não '{}'.", flag));
  }
  Transaction transaction(context.db);
  requireService(context.db, args.text(0), args.text(1));
  // The rows that change, read before the one UPDATE that changes them all, for the trail.
  auto changing = context.db.prepare(
      "SELECT CDFILIAL, CDSERVFILI, CDCLIENTE, IDVRPRFIXAUT FROM SERVCLIE "
      "WHERE CDFILIAL = ? AND CDSERVFILI = ? AND IDVRPRFIXAUT IS DISTINCT FROM ?");
  changing.bind(1, args.text(0)).bind(2, args.text(1)).bind(3, flag);
  std::vector<Record> rows;
  while (changing.step())
    rows.push_back(readRecord(changing));
  auto statement = context.db.prepare(
      "UPDATE SERVCLIE SET IDVRPRFIXAUT = ?, CDOPERALTSERVCLIE = ?, DTALTSERVCLIE = ? "
      "WHERE CDFILIAL = ? AND CDSERVFILI = ? AND IDVRPRFIXAUT IS DISTINCT FROM ?");
  statement.bind(1, flag).bind(2, context.operatorCode).bind(3, nowAsDayCount());
  statement.bind(4, args.text(0)).bind(5, args.text(1)).bind(6, flag).run();
  for (const Record& row : rows) {
    context.trail.record(kTable, TrailOperation::Alter, row, "IDVRPRFIXAUT",
                         row.get("IDVRPRFIXAUT"), flag);
  }
  transaction.commit();
  return okResult();
}

}  // namespace

void addServClieMethods(MethodTable& table) {
  const std::string module(kModuleClientesServico);
  table.add({module,
             "GetServClie",
             {{ArgKind::Code, "CDFILIAL"},
              {ArgKind::Code, "CDSERVFILI"},
              {ArgKind::Text, "operador", kOperadorSize}},
             getServClie});
  table.add({module,
             "GetClientesFilial",
             {{ArgKind::Code, "CDFILIAL"}, {ArgKind::Code, "CDSERVFILI"}},
             getClientesFilial});
  table.add({module,
             "UpdServClie",
             {{ArgKind::DeltaOrNull, "delta"}, {ArgKind::Operator, "operador", kOperadorSize}},
             updServClie,
             true});
  table.add({module,
             "ProUpVrPrFixAut",
             {{ArgKind::Code, "CDFILIAL", kFilialSize},
              {ArgKind::Code, "CDSERVFILI", kServicoSize},
              {ArgKind::Code, "CDCLIENTE", kClienteSize},
              {ArgKind::Code, "indicador", 1}},
             proUpVrPrFixAut,
             true});
}

}  // namespace server
