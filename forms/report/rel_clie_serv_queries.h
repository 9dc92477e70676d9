// The lookup queries of the clients-per-service report form: clients by registration number,
// branches, and the services of the chosen branches.
//
// Each query keeps its SQL for every database the host may run on; an SQLite database, whose
// connection speaks the Oracle dialect (with NVL), is given the Oracle text, and a PostgreSQL
// one its own text where the Oracle text cannot run there. The others stay here as data, line
// by line, for a host on another database.
#pragma once

#include <string>
#include <vector>

#include "host/db/sql_query.h"

namespace Cli_zev00601 {

struct DialectSql {
  std::vector<std::string> standard{};  // any database without a text of its own
  std::vector<std::string> oracle{};
  std::vector<std::string> sqlServer{};
  std::vector<std::string> interBase{};
  std::vector<std::string> postgresql{};  // run on a PostgreSQL database when not empty

  // The text for the local database.
  const std::vector<std::string>& local() const { return oracle.empty() ? standard : oracle; }
};

const DialectSql& qryClienteSql();
const DialectSql& qryFilialSql();
const DialectSql& qryServicoSql();

// Clients by P_NRINSJURCLIE (null or empty: every client), by company name.
void defineQryCliente(db::SqlQuery& query);
// Every branch, by code.
void defineQryFilial(db::SqlQuery& query);
// Services whose branch code is in the list P_CDFILIAL, or every service when P_TCDFILIAL is
// "T"; CHAVE is the branch code followed by the service code.
void defineQryServico(db::SqlQuery& query);

}  // namespace Cli_zev00601
