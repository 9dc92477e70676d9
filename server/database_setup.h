// Creating a database from the embedded schema (and demo data), an SQLite file or a PostgreSQL
// database, checking that a database is one the server can serve from, and upgrading it.
#pragma once

#include <stdexcept>
#include <string>

#include "server/storage.h"

namespace server {

// The version this server creates and serves: db/schema.sql brought up by every upgrade.
inline constexpr int kSchemaVersion = 6;

// A database file that cannot be created or served from; the message says why.
class SetupError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Creates the database `name` names (storage/database.h) with the schema, and the demo data
// when asked, in one transaction. Refuses (SetupError) a file that exists and is not empty, or
// a PostgreSQL database that already has tables; a failure leaves no file behind.
void createDatabase(const std::string& name, bool withDemoData);

// True when `name` is a file that does not exist or holds nothing (never for PostgreSQL, whose
// databases this program does not create on its own).
bool isMissingOrEmpty(const std::string& name);

// The schema version of a database: 0 when it has none of this system.
int schemaVersion(Database& db);

struct SchemaUpgradeResult {
  int from = 0;
  int to = 0;
};

// Brings an older schema up to kSchemaVersion in one transaction (nothing to do when it is
// current). Throws SetupError for a database without the schema or newer than this server.
SchemaUpgradeResult upgradeDatabase(Database& db);

// Writes a consistent copy of the live SQLite database `name` into the new file `target`
// (owner-only, as the database), while servers go on using the database. Refuses a target that
// exists and is not empty, and a PostgreSQL database (whose copies pg_dump makes); a failure
// leaves no target behind. Throws SetupError.
void backupDatabase(const std::string& name, const std::string& target);

// Checks that the server can serve the database: its schema present and not newer than this
// server's. An older SQLite file is upgraded (one transaction) and switched to WAL, so that
// several server processes can share it; an older PostgreSQL database is refused, its upgrade
// being the administrator's step (upgradeDatabase) for every server of the deployment at once.
// Throws SetupError.
void prepareForServing(Database& db);

}  // namespace server
