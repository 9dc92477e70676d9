// The SQL scripts of db/, compiled into the server so that it can create a database without
// the source tree. The definitions are generated at build time (see embed_sql.cmake).
#pragma once

namespace server {

extern const char* const kSchemaSql;  // db/schema.sql
extern const char* const kDemoSql;    // db/demo.sql

}  // namespace server
