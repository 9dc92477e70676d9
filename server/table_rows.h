// Reading and writing rows of the server's tables by column name.
//
// Table and column names always come from this program (the data set definitions and the
// method code), never from a request; every value is a bound parameter.
#pragma once

#include <array>
#include <initializer_list>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "packet/json_text.h"
#include "packet/packet.h"
#include "server/data_sets.h"
#include "server/delta_rows.h"
#include "server/storage.h"

namespace server {

using ColumnValues = std::vector<std::pair<std::string, packet::Value>>;

// An SQL text that names terms of its engine (Database::nameOrder), built the first time each
// engine asks for it. Thread-safe.
class SqlPerEngine {
 public:
  using Build = std::string (*)(const Database& db);
  explicit SqlPerEngine(Build build) : build_(build) {}

  const std::string& operator()(const Database& db) {
    const auto engine = static_cast<size_t>(db.engine());
    std::call_once(built_[engine], [&] { texts_[engine] = build_(db); });
    return texts_[engine];
  }

 private:
  Build build_;
  std::array<std::once_flag, 2> built_;
  std::array<std::string, 2> texts_;
};

// Reads every row of a SELECT into a packet with the data set's fields. The statement's
// columns must carry the field names in the same order; a mismatch throws, so a query and its
// field list cannot drift apart unnoticed. Rows read packed (Packet::packedRows) take one block
// each instead of one value object per value: for an answer that only goes out as text.
packet::Packet readPacket(Statement& statement, const DataSetSpec& spec,
                          packet::RowForm form = packet::RowForm::Values);

// "expression AS FIELD, ..." for every field of the data set, in field order: the field's own
// column of table `alias`, unless `sources` gives another expression for it.
std::string selectList(
    const DataSetSpec& spec, std::string_view alias,
    std::initializer_list<std::pair<std::string_view, std::string_view>> sources = {});

// The current row of a statement by column name.
Record readRecord(const Statement& statement);

// The first row of `table` matching `where`, with the given columns, or nothing.
std::optional<Record> selectRow(Database& db, std::string_view table,
                                const std::vector<std::string>& columns, const ColumnValues& where);

void insertRow(Database& db, std::string_view table, const ColumnValues& values);
// Returns the number of rows changed.
int updateRows(Database& db, std::string_view table, const ColumnValues& set,
               const ColumnValues& where);
int deleteRows(Database& db, std::string_view table, const ColumnValues& where);

// Names of the data set's fields with one of the roles, in field order.
std::vector<std::string> fieldsWithRole(const DataSetSpec& spec,
                                        std::initializer_list<FieldRole> roles);

// The named fields of a record as column values, in the order given.
ColumnValues columnsOf(const Record& record, const std::vector<std::string>& fields);

}  // namespace server
