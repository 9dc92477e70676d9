#include "data/data_sets.h"

#include "data/field_spec.h"

namespace data {

namespace {

using packet::FieldType;

const FieldSpec kValorOculto{.type = FieldType::Double,
                             .displayFormat = kFormatoValor,
                             .editFormat = kEdicaoValor,
                             .hidden = true};
const FieldSpec kNumeroOculto{.type = FieldType::Double, .hidden = true};
const FieldSpec kDescricaoOculta{.type = FieldType::Text, .size = 400, .hidden = true};
const FieldSpec kHistoricoOculto{
    .type = FieldType::Double, .displayFormat = kFormatoValor, .hidden = true};

}  // namespace

void defineCdsServClie(db::DataSet& dataSet) {
  defineFields(
      dataSet,
      join({
          {
              {.name = "CDFILIAL", .size = 4, .mask = kMascaraFilial, .hidden = true},
              {.name = "CDCLIENTE", .size = 21, .hidden = true},
              {.name = "NMRAZSOCCLIE", .size = 50, .label = "Razão Social"},
              {.name = "CDGRSERVFAT", .size = 3, .hidden = true},
              {.name = "CDPRODUTO", .size = 10, .hidden = true},
              {.name = "CDARVPROD", .size = 20, .hidden = true},
              {.name = "NMPRODUTO", .size = 50, .hidden = true},
              {.name = "VRTAXAPRVAR",
               .type = FieldType::Double,
               .displayFormat = "#,##0.00",
               .hidden = true},
              {.name = "IDTCUSPRVAR", .type = FieldType::Double, .hidden = true},
              {.name = "DTSERVFATU", .type = FieldType::DateTime, .label = "Validade Inicial"},
              {.name = "VRSERVFATU",
               .type = FieldType::Double,
               .label = "Valor Serviço",
               .displayFormat = kFormatoValor,
               .editFormat = kEdicaoValor},
          },
          dayFamily("VRSERVFAT", "", kValorOculto),
          {{.name = "QTEFETMINI", .type = FieldType::Double, .label = "Mín. Efetivos Período"}},
          dayFamily("QTEFETMIN", "", kNumeroOculto),
          {
              // Shown formatted: a CNPJ takes 18 characters (00.000.000/0000-00).
              {.name = "NRINSJURCLIE", .size = 20, .label = "Inscrição", .displayWidth = 18},
              {.name = "IDTPIJURCLIE", .size = 1, .hidden = true},
              {.name = "IDEXVLRVENDA", .size = 1, .label = "Exibição Vr. Venda"},
              {.name = "IDVRPRFIXAUT", .size = 1, .label = "Venda Pr. Fixo Automática"},
              {.name = "NMFANTCLIE", .size = 50, .label = "Nome Fantasia"},
              {.name = "CDSERVFILI", .size = 5, .hidden = true},
              {.name = "DSEMISSERCLI", .size = 40, .hidden = true, .displayWidth = 40},
          },
          dayFamily("DSPRODEMIS", "", kDescricaoOculta),
          {
              {.name = "QTVOLPROSERVCLI",
               .type = FieldType::Double,
               .label = "Volume Proposto",
               .displayFormat = "#,##0.00",
               .hidden = true},
              {.name = "IDATIVATABCOR",
               .size = 1,
               .label = "Ativa Tabela de Correção",
               .hidden = true},
              {.name = "IDCOREFECLIFILI", .size = 1, .hidden = true},
          },
      }));
}

void defineCdsClientesFilial(db::DataSet& dataSet) {
  defineFields(dataSet, {
                            {.name = "NMRAZSOCCLIE", .size = 50, .label = "Razão Social"},
                            {.name = "NRINSJURCLIE", .size = 20, .label = "Inscrição"},
                            {.name = "IDTPIJURCLIE", .size = 1, .hidden = true},
                            {.name = "CDCLIENTE", .size = 21, .label = "Código", .hidden = true},
                            {.name = "NMFANTCLIE", .size = 50, .label = "Nome Fantasia"},
                        });
}

void defineCdsParamFilial(db::DataSet& dataSet) {
  defineFields(dataSet, {
                            {.name = "CDTIPOFATUR", .size = 3},
                            {.name = "DSPARAMFATFI", .size = 200},
                        });
}

void defineCdsCorrPrecServ(db::DataSet& dataSet) {
  const FieldSpec percentual{
      .type = FieldType::Double, .displayFormat = "0.00", .editFormat = "0.00"};
  FieldSpec inicial = percentual;
  inicial.name = "VRPEINICSERV";
  inicial.label = "Intervalo Inicial (Exc.)";
  FieldSpec final = percentual;
  final.name = "VRPEFIMSERV";
  final.label = "Intervalo Final (Inc.)";
  FieldSpec correcao = percentual;
  correcao.name = "VRPECORRSERV";
  correcao.label = "Percentual de Correção";
  defineFields(dataSet, {
                            {.name = "CDFILIAL", .size = 4, .mask = kMascaraFilial, .hidden = true},
                            {.name = "CDCLIENTE", .size = 21, .hidden = true},
                            inicial,
                            final,
                            correcao,
                            {.name = "CDSERVFILI", .size = 5, .hidden = true},
                            {.name = "QTINISERV",
                             .type = FieldType::Double,
                             .label = "Quant. de",
                             .displayFormat = "#,##0.00",
                             .hidden = true},
                            {.name = "QTFINSERV",
                             .type = FieldType::Double,
                             .label = "Quant. até",
                             .displayFormat = "#,##0.00",
                             .hidden = true},
                            {.name = "VRNOVOPRECOSERV",
                             .type = FieldType::Double,
                             .label = "Novo Preço",
                             .displayFormat = "#,###0.00000",
                             .hidden = true},
                        });
}

void defineCdsIntervMaior(db::DataSet& dataSet) {
  defineFields(dataSet, {
                            {.name = "VRPEINICSERV", .type = FieldType::Double},
                            {.name = "VRPEFIMSERV", .type = FieldType::Double},
                        });
}

void defineCdsHistServFatu(db::DataSet& dataSet) {
  const FieldSpec valor{.type = FieldType::Double, .displayFormat = kFormatoValor};
  defineFields(
      dataSet,
      join({
          {
              {.name = "CDCLIENTE", .size = 21, .hidden = true},
              {.name = "CDFILIAL", .size = 4, .mask = kMascaraFilial, .hidden = true},
              {.name = "CDSERVFILI", .size = 5, .hidden = true},
              {.name = "DTSRVFATUHIS", .type = FieldType::DateTime, .label = "Alteração"},
              {.name = "VRSERVFATHIS",
               .type = FieldType::Double,
               .label = "Valor do Serviço",
               .displayFormat = kFormatoValor},
          },
          dayFamily("VRFATU", "HIS", valor,
                    {"Vr.Serv.Domingo", "Vr.Serv.Segunda", "Vr.Serv.Terça", "Vr.Serv.Quarta",
                     "Vr.Serv.Quinta", "Vr.Serv.Sexta", "Vr.Serv.Sábado", "Vr.Serv.Feriados"}),
          // The date of a change carries its time of day.
          {{.name = "DTALTEFATHIS", .type = FieldType::DateTime, .displayWidth = 19}},
      }));
  dataSet.addIndex("idxVigenciaAlteracao", "DTSRVFATUHIS;DTALTEFATHIS", true);
  dataSet.setIndexName("idxVigenciaAlteracao");
}

void defineCdsTurno(db::DataSet& dataSet) {
  defineFields(dataSet,
               join({
                   {
                       {.name = "CDTURNO", .size = 1, .label = "Código"},
                       {.name = "NMTURNO", .size = 10, .label = "Nome"},
                       {.name = "DSEMISTURCLI", .size = 400, .label = "Descrição"},
                       {.name = "VRSERVFATTUR",
                        .type = FieldType::Double,
                        .label = "Valor",
                        .displayFormat = kFormatoValor,
                        .editFormat = kEdicaoValor},
                       {.name = "CDCLIENTE", .size = 21},
                       {.name = "CDFILIAL", .size = 4, .mask = kMascaraFilial},
                       {.name = "CDSERVFILI", .size = 5},
                       {.name = "DTSERVCLIETURN", .type = FieldType::DateTime, .hidden = true},
                       {.name = "DTALTSERVCLIETURN", .type = FieldType::DateTime, .hidden = true},
                       {.name = "CDOPERALTSERVCLIETURN", .size = 12, .hidden = true},
                   },
                   dayFamily("VRSVFATTU", "", kValorOculto),
                   dayFamily("DSPREMISTU", "", kDescricaoOculta),
               }));
}

void defineCdsTipoCusto(db::DataSet& dataSet) {
  defineFields(dataSet,
               {
                   {.name = "CDTIPOCUSTO", .size = 2},
                   {.name = "NMTIPOCUSTO", .size = 50},
                   {.name = "IDUTTPCUSTO", .size = 1, .origin = "DBQUENDRA.TIPOCUSTO.IDUTTPCUSTO"},
               });
}

void defineCdsHistoricoTurno(db::DataSet& dataSet) {
  defineFields(dataSet,
               join({
                   {
                       {.name = "DTSERVCLIETURN", .type = FieldType::DateTime, .hidden = true},
                       {.name = "DTALTSERVCLIETURN",
                        .type = FieldType::DateTime,
                        .hidden = true,
                        .displayWidth = 19},
                       {.name = "VRSERVFATTUR",
                        .type = FieldType::Double,
                        .displayFormat = kFormatoValor,
                        .hidden = true},
                   },
                   dayFamily("VRSVFATTU", "", kHistoricoOculto),
               }));
  dataSet.addIndex("idxVigencia", "DTSERVCLIETURN;DTALTSERVCLIETURN", true);
  dataSet.setIndexName("idxVigencia");
}

void defineCdsDtReplicaValor(db::DataSet& dataSet) {
  defineFields(dataSet, {{.name = "DTSERVFATU", .type = FieldType::DateTime}});
}

void defineCdsMaiorVigencia(db::DataSet& dataSet) {
  defineFields(dataSet, {{.name = "DTSRVFATUHIS", .type = FieldType::DateTime}});
}

}  // namespace data
