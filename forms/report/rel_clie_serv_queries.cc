#include "forms/report/rel_clie_serv_queries.h"

#include "data/field_spec.h"

namespace Cli_zev00601 {

namespace {

void setTexts(db::SqlQuery& query, const DialectSql& sql) {
  query.setSql(sql.local());
  if (!sql.postgresql.empty())
    query.setDialectSql(storage::Engine::Postgresql, sql.postgresql);
}

}  // namespace

const DialectSql& qryClienteSql() {
  static const DialectSql sql{
      .standard =
          {
              "SELECT",
              "   CDCLIENTE, NRINSJURCLIE, NMRAZSOCCLIE, NMFANTCLIE, IDTPIJURCLIE",
              "FROM",
              "   CLIENTE,",
              "   PARAM(:P_NRINSJURCLIE) P_NRINSJURCLIE",
              "WHERE",
              "   NRINSJURCLIE = NVLSTR(P_NRINSJURCLIE.PARAM, NRINSJURCLIE)",
              "ORDER BY",
              "   NMRAZSOCCLIE",
              " ",
          },
      .oracle =
          {
              "SELECT",
              "   CDCLIENTE, NRINSJURCLIE, NMRAZSOCCLIE, NMFANTCLIE, IDTPIJURCLIE",
              "FROM",
              "   CLIENTE",
              "WHERE",
              "   NRINSJURCLIE = NVL(:P_NRINSJURCLIE, NRINSJURCLIE)",
              "ORDER BY",
              "   NMRAZSOCCLIE",
          },
      .sqlServer =
          {
              "SELECT",
              "   CDCLIENTE, NRINSJURCLIE, NMRAZSOCCLIE, NMFANTCLIE, IDTPIJURCLIE",
              "FROM",
              "   CLIENTE",
              "WHERE",
              "   NRINSJURCLIE = ISNULL(:P_NRINSJURCLIE, NRINSJURCLIE)",
              "ORDER BY",
              "   NMRAZSOCCLIE",
          },
      .interBase =
          {
              "SELECT",
              "   CDCLIENTE, NRINSJURCLIE, NMRAZSOCCLIE, NMFANTCLIE, IDTPIJURCLIE",
              "FROM",
              "   CLIENTE,",
              "   PARAM(:P_NRINSJURCLIE) P_NRINSJURCLIE",
              "WHERE",
              "   NRINSJURCLIE = NVLSTR(P_NRINSJURCLIE.PARAM, NRINSJURCLIE)",
              "ORDER BY",
              "   NMRAZSOCCLIE",
              " ",
              " ",
          },
      .postgresql =
          {
              "SELECT",
              "   CDCLIENTE, NRINSJURCLIE, NMRAZSOCCLIE, NMFANTCLIE, IDTPIJURCLIE",
              "FROM",
              "   CLIENTE",
              "WHERE",
              "   NRINSJURCLIE = COALESCE(NULLIF(:P_NRINSJURCLIE, ''), NRINSJURCLIE)",
              "ORDER BY",
              "   NMRAZSOCCLIE COLLATE \"C\"",
          },
  };
  return sql;
}

const DialectSql& qryFilialSql() {
  static const DialectSql sql{
      .standard = {"SELECT CDFILIAL, NMFILIAL", "FROM FILIAL", "ORDER BY CDFILIAL"},
  };
  return sql;
}

const DialectSql& qryServicoSql() {
  static const DialectSql sql{
      .oracle =
          {
              "SELECT",
              "   CDFILIAL||CDSERVFILI as CHAVE,",
              "   CDFILIAL,",
              "   CDSERVFILI,",
              "   NMSERVICO",
              "FROM",
              "   SERVICO",
              "WHERE",
              "   ((INSTR(:P_CDFILIAL, CDFILIAL) > 0) OR :P_TCDFILIAL = 'T')",
              "ORDER BY",
              "   CDFILIAL,",
              "   CDSERVFILI",
          },
      .sqlServer =
          {
              "SELECT",
              "   CDFILIAL+CDSERVFILI as CHAVE,",
              "   CDFILIAL,",
              "   CDSERVFILI,",
              "   NMSERVICO",
              "FROM",
              "   SERVICO",
              "WHERE",
              "   ((CHARINDEX(CDFILIAL, :P_CDFILIAL)  > 0) OR :P_TCDFILIAL = 'T')",
              "ORDER BY",
              "   CDFILIAL,",
              "   CDSERVFILI ",
          },
      .interBase =
          {
              "SELECT",
              "   CDFILIAL||CDSERVFILI as CHAVE,",
              "   CDFILIAL,",
              "   CDSERVFILI,",
              "   NMSERVICO",
              "FROM",
              "   SERVICO,",
              "   PARAM(:P_CDFILIAL) P_CDFILIAL",
              "WHERE",
              "   ((INSTR(P_CDFILIAL.PARAM, CDFILIAL) > 0) OR :P_TCDFILIAL = 'T')",
              "ORDER BY",
              "   CDFILIAL,",
              "   CDSERVFILI ",
          },
      .postgresql =
          {
              "SELECT",
              "   CDFILIAL||CDSERVFILI as CHAVE,",
              "   CDFILIAL,",
              "   CDSERVFILI,",
              "   NMSERVICO",
              "FROM",
              "   SERVICO",
              "WHERE",
              "   ((POSITION(CDFILIAL IN :P_CDFILIAL) > 0) OR :P_TCDFILIAL = 'T')",
              "ORDER BY",
              "   CDFILIAL,",
              "   CDSERVFILI",
          },
  };
  return sql;
}

void defineQryCliente(db::SqlQuery& query) {
  setTexts(query, qryClienteSql());
  data::defineFields(query, {
                                {.name = "NRINSJURCLIE", .size = 25, .label = "Inscrição"},
                                {.name = "NMRAZSOCCLIE", .size = 50, .label = "Razão Social"},
                                {.name = "NMFANTCLIE", .size = 50, .label = "Nome Fantasia"},
                                {.name = "IDTPIJURCLIE", .size = 1, .hidden = true},
                                {.name = "CDCLIENTE", .size = 21, .hidden = true},
                            });
}

void defineQryFilial(db::SqlQuery& query) {
  setTexts(query, qryFilialSql());
  data::defineFields(query,
                     {
                         {.name = "CDFILIAL", .size = 4, .label = "Código", .required = true},
                         {.name = "NMFILIAL", .size = 30, .label = "Nome"},
                     });
}

void defineQryServico(db::SqlQuery& query) {
  setTexts(query, qryServicoSql());
  data::defineFields(query,
                     {
                         {.name = "CHAVE", .size = 9, .hidden = true},
                         {.name = "CDFILIAL", .size = 4, .label = "Filial", .required = true},
                         {.name = "CDSERVFILI", .size = 5, .label = "Código", .required = true},
                         {.name = "NMSERVICO", .size = 40, .label = "Nome"},
                     });
}

}  // namespace Cli_zev00601
