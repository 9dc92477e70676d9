#include "host/db/database.h"

#include "host/db/data_errors.h"

namespace db {

Database::Database(const std::string& name) : path_(name) {
  try {
    connection_ = std::make_unique<storage::Database>(name);
  } catch (const storage::DbError& e) {
    throw DataError(e.what());
  }
}

Database::~Database() = default;

}  // namespace db
