// Test support for the application server: a fresh database, filled with a small known data
// set, and helpers to read packets and build deltas from them.
//
// The engine is chosen by the environment: CPS_TEST_ENGINE=postgresql makes every database a
// fresh PostgreSQL database on the server CPS_TEST_POSTGRESQL names (a URI of a database on it
// whose role may create databases), dropped afterwards; without that server the tests are
// skipped. Otherwise each database is an SQLite file in a temporary directory.
#pragma once

#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "packet/remote_call.h"
#include "server/service.h"

namespace server::testing {

enum class Contents { Fixture, SchemaOnly, Demo };

// True when the tests run on PostgreSQL.
bool onPostgresql();

// Stops `db` enforcing foreign keys, as another program writing the database might: SQLite's
// pragma, or on PostgreSQL a replica session (which the role of the tests may start).
void withoutForeignKeys(Database& db);

// A database of its own, removed afterwards: an SQLite file in its own temporary directory, or
// a PostgreSQL database.
class TempDatabase {
 public:
  explicit TempDatabase(Contents contents = Contents::Fixture);
  ~TempDatabase();
  TempDatabase(const TempDatabase&) = delete;
  TempDatabase& operator=(const TempDatabase&) = delete;

  // The database's name for storage::Database: the file, or the PostgreSQL URI.
  const std::string& path() const { return path_; }
  // A temporary directory of the test's own, on either engine.
  const std::string& directory() const { return directory_; }

 private:
  std::string directory_;
  std::string path_;
  std::string postgresqlDatabase_;
};

// The named field of a packet row; fails the test when the field is missing.
packet::Value field(const packet::Packet& packet, size_t row, std::string_view name);
std::string text(const packet::Value& value);
double number(const packet::Value& value);
// Index of the first row whose field holds the text, or -1.
int findRow(const packet::Packet& packet, std::string_view fieldName, std::string_view value);

using Changes = std::initializer_list<std::pair<std::string_view, packet::Value>>;

// Deltas over the fields of a packet, as a client data set builds them.
class DeltaBuilder {
 public:
  explicit DeltaBuilder(const packet::Packet& source);
  DeltaBuilder& modify(size_t row, Changes changes);
  DeltaBuilder& remove(size_t row);
  // A row of the source's fields with the given values (others null).
  DeltaBuilder& insert(Changes values);
  packet::Delta build() const { return delta_; }

 private:
  packet::Row withChanges(packet::Row row, Changes changes) const;

  const packet::Packet& source_;
  packet::Delta delta_;
};

// Service options whose password hashing is as cheap as it can be, for tests that sign in.
ServiceOptions cheapSignIn();

// A Service on a fresh fixture database, with call helpers.
class ServiceTest : public ::testing::Test {
 protected:
  explicit ServiceTest(Contents contents = Contents::Fixture)
      : database_(contents), service_(database_.path()) {}

  packet::CallResult call(std::string_view method, std::vector<packet::Arg> args,
                          const std::string& operatorCode = "TESTE");
  // Calls a Get method and returns its packet, failing the test on a failed status.
  packet::Packet get(std::string_view method, std::vector<packet::Arg> args);

  // The binding rows of branch 0001, service 00001.
  packet::Packet servClie() { return get("GetServClie", {"0001", "00001", "TESTE"}); }

  TempDatabase database_;
  Service service_;
};

}  // namespace server::testing
