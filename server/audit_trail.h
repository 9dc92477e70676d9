// The trail of who changed what (table TRILHAALT), written by every write method in the same
// transaction as its change.
//
// An AuditTrail belongs to one call: it knows the session's operator, the method and the
// instant of the call. Writes to the server's tables go through it (insert, update, remove),
// so each written row leaves one trail row per field it changed, with the old and the new
// value; `record` appends one field's change for writes made in bulk. Columns that only
// say who changed a row and when (CDOPERALT..., DTALT... of the tables that keep them) are not
// trailed: the trail row says that itself. Neither are the branch, service and client, nor
// the row's other key fields, which identify the row in every trail row of it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "server/delta_rows.h"
#include "server/storage.h"
#include "server/table_rows.h"

namespace server {

enum class TrailOperation { Insert, Alter, Delete };

class AuditTrail {
 public:
  AuditTrail(Database& db, std::string operatorCode, std::string method);

  Database& db() { return db_; }
  const std::string& operatorCode() const { return operatorCode_; }

  // Inserts the row and trails each of its fields that holds a value.
  void insert(std::string_view table, const ColumnValues& values);
  // Updates the rows matching `where` with `set` and trails each field of `set` whose value
  // differs from the one in `stored` (the row as it was, key columns included), a key field
  // that moves among them.
  void update(std::string_view table, const Record& stored, const ColumnValues& set,
              const ColumnValues& where);
  // Deletes the rows matching `where`, trailing each field that held a value.
  void remove(std::string_view table, const ColumnValues& where);
  // One field's change of a row (`row` holds at least the row's key columns).
  void record(std::string_view table, TrailOperation operation, const Record& row,
              std::string_view field, const packet::Value& before, const packet::Value& after);

  // A write of many rows: from beginBatch on, trail rows are kept and written many to a
  // statement, in the order recorded; flush() writes the rest and ends the batch, and must
  // come before the transaction commits. Nothing reads the trail meanwhile, so the rows land
  // as they would one by one. beginBatch drops rows kept by an attempt that failed.
  void beginBatch();
  void flush();

 private:
  // What names a row in each of its trail rows: branch, service and client, and the rest of its
  // key as one text. Worked out once per row written, whatever the number of its fields.
  struct RowIdentity {
    packet::Value filial, servico, cliente;
    std::optional<std::string> key;
  };
  template <typename ValueOf>
  static RowIdentity identify(std::string_view table, const ValueOf& valueOf);
  void append(std::string_view table, TrailOperation operation, const RowIdentity& row,
              std::string_view field, const packet::Value& before, const packet::Value& after);

  struct TrailRow {
    std::string table;
    const char* operation;
    packet::Value filial, servico, cliente;
    std::optional<std::string> key;
    std::string field;
    const char* kind;
    std::optional<std::string> before, after;
  };
  void write(const TrailRow* rows, size_t count);

  Database& db_;
  std::string operatorCode_;
  std::string method_;
  double when_;
  bool batching_ = false;
  std::vector<TrailRow> pending_;
};

// A trailed value as it is kept: texts as they are, numbers and day counts with a decimal
// point in their shortest exact form, null for an empty field.
std::optional<std::string> trailText(const packet::Value& value);

}  // namespace server
