#include "data/lookup_queries.h"

#include "data/field_spec.h"

namespace data {

void defineQryFilial(db::SqlQuery& query) {
  query.setSql({
      "SELECT",
      "   CDFILIAL,",
      "   NMFILIAL",
      "FROM",
      "   FILIAL",
      "WHERE",
      "   (CDFILIAL = :P_CDFILIAL OR :P_TCDFILIAL = 'T')",
      "ORDER BY",
      "   CDFILIAL",
  });
  defineFields(query, {
                          {.name = "CDFILIAL",
                           .size = 4,
                           .label = "Código",
                           .mask = kMascaraFilial,
                           .required = true},
                          {.name = "NMFILIAL", .size = 30, .label = "Nome"},
                      });
}

void defineQryServico(db::SqlQuery& query) {
  query.setSql({
      "SELECT",
      "   CDFILIAL,",
      "   CDSERVFILI,",
      "   NMSERVICO",
      "FROM",
      "   SERVICO",
      "WHERE",
      "   (CDFILIAL = :P_CDFILIAL)  AND",
      "   (CDSERVFILI = :P_CDSERVICO OR :P_TCDSERVICO = 'T')",
      "ORDER BY",
      "   CDFILIAL,",
      "   CDSERVFILI",
  });
  defineFields(
      query,
      {
          {.name = "CDSERVFILI", .size = 5, .label = "Código", .required = true, .displayWidth = 5},
          {.name = "NMSERVICO", .size = 40, .label = "Nome"},
          {.name = "CDFILIAL", .size = 4, .mask = kMascaraFilial, .hidden = true, .required = true},
      });
}

void defineQryAuxClie(db::SqlQuery& query) {
  query.setSql({
      "SELECT NMRAZSOCCLIE, NRINSJURCLIE, NMFANTCLIE,   IDTPIJURCLIE",
      "FROM CLIENTE",
      "WHERE (CDCLIENTE  = :P_CDCLIENTE)",
  });
  defineFields(query, {
                          {.name = "NMRAZSOCCLIE", .size = 50},
                          {.name = "NRINSJURCLIE", .size = 20},
                          {.name = "NMFANTCLIE", .size = 50},
                          {.name = "IDTPIJURCLIE", .size = 1},
                      });
}

void defineQryProduto(db::SqlQuery& query) {
  query.setSql({
      "SELECT CDPRODUTO, NMPRODUTO, CDARVPROD",
      "FROM PRODUTO",
      "WHERE (CDNVPRODUTO = :P_NIVEL)",
      "ORDER BY CDARVPROD",
      "",
      " ",
  });
  defineFields(query, {
                          {.name = "CDARVPROD", .size = 20, .label = "Código"},
                          {.name = "NMPRODUTO", .size = 50, .label = "Descrição"},
                          {.name = "CDPRODUTO", .size = 10, .hidden = true, .required = true},
                      });
}

void defineQryValidProd(db::SqlQuery& query) {
  query.setSql({
      "SELECT CDPRODUTO, NMPRODUTO, CDARVPROD",
      "FROM PRODUTO",
      "WHERE (CDARVPROD = :P_CDPRODUTO)",
      " ",
  });
  defineFields(query, {
                          {.name = "CDPRODUTO", .size = 10, .required = true},
                          {.name = "NMPRODUTO", .size = 50},
                          {.name = "CDARVPROD", .size = 20},
                      });
}

}  // namespace data
