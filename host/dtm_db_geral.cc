#include "host/dtm_db_geral.h"

#include <filesystem>
#include <memory>

#include "host/db/data_errors.h"
#include "host/process_state.h"
#include "host/quendra.h"
#include "storage/database.h"

namespace dtmDBGeral {

namespace {

std::unique_ptr<db::Database>& connection() {
  return host::processState().localDatabase;
}

}  // namespace

db::Database& adcGeral() {
  const std::string& path = Quendra::context().databasePath;
  auto& open = connection();
  if (open != nullptr) {
    if (open->path() != path) {
      throw db::DataError("O banco de dados local já está aberto em '" + open->path() +
                          "' e não pode ser trocado por '" + path + "' durante o uso.");
    }
    return *open;
  }
  if (path.empty())
    throw db::DataError("O banco de dados local não foi configurado pela aplicação.");
  std::error_code error;
  if (!storage::isPostgresqlName(path) && !std::filesystem::is_regular_file(path, error))
    throw db::DataError("O banco de dados local '" + path + "' não foi encontrado.");
  open = std::make_unique<db::Database>(path);
  return *open;
}

void reset() {
  connection().reset();
}

}  // namespace dtmDBGeral
