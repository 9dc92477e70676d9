// The server's names for the storage interface it runs on (storage/database.h): one set of
// method code over an SQLite file or a PostgreSQL database.
#pragma once

#include "storage/database.h"

namespace server {

using storage::Database;
using storage::DbError;
using storage::Statement;
using storage::Transaction;

}  // namespace server
