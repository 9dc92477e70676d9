// Definitions of the main form's lookup queries on the local database: their SQL text line by
// line, their parameters (all text) and their persistent fields. Each function defines one
// closed query; the forms close it, set its parameters by name, open it and read its fields.
#pragma once

#include "host/db/sql_query.h"

namespace data {

// Branches: P_CDFILIAL a code, P_TCDFILIAL "T" for every branch (the code is then ignored).
void defineQryFilial(db::SqlQuery& query);
// Services of the branch P_CDFILIAL: P_CDSERVICO a code, P_TCDSERVICO "T" for every service of
// that branch.
void defineQryServico(db::SqlQuery& query);
// One client by P_CDCLIENTE.
void defineQryAuxClie(db::SqlQuery& query);
// Products of the product-tree level P_NIVEL, in tree-code order.
void defineQryProduto(db::SqlQuery& query);
// One product by its tree code P_CDPRODUTO (matched against CDARVPROD).
void defineQryValidProd(db::SqlQuery& query);

}  // namespace data
