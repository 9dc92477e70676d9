// The SQL scripts of db/ (SQLite) and db/postgresql/, compiled into the server so that it can
// create a database without the source tree. The definitions are generated at build time (see
// embed_sql.cmake).
#pragma once

#include <span>

namespace server {

extern const char* const kSchemaSql;  // db/schema.sql: the tables of schema version 1
extern const char* const kDemoSql;    // db/demo.sql

// db/upgrade_<version>_<name>.sql: each takes a database from version - 1 to version.
struct SchemaUpgrade {
  int version;
  const char* sql;
};
extern const std::span<const SchemaUpgrade> kSchemaUpgrades;  // in version order

// The same schema for PostgreSQL, version by version: db/postgresql/schema.sql and its
// upgrades. The demo data (kDemoSql) serves both engines.
extern const char* const kPostgresqlSchemaSql;
extern const std::span<const SchemaUpgrade> kPostgresqlSchemaUpgrades;

}  // namespace server
